// The JSON output as a document, for the writers that carry it: all of it, or what the HTML page
// keeps of it (without the per-worker tables and what the benchmark wrote on standard error).
#pragma once

#include <nlohmann/json.hpp>

#include "results/output/comparison.h"

enum class JsonDetails { All, ForPage };

nlohmann::ordered_json JsonDocument(const Comparison& comparison, JsonDetails details);
