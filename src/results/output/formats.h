// The formats `show` and `run` write, by name, each a writer over one prepared comparison; the
// command line takes its allowed values from here. Text, the default, comes first. With nothing
// read, text and Markdown are empty, CSV is its header line, JSON an empty list of files and the
// page says that nothing was read, so scripts still parse what they get.
#pragma once

#include <string>
#include <vector>

#include "results/output/comparison.h"

// One writer per file: aligned text for a terminal, Markdown, CSV and JSON for documents and
// scripts (the README documents the CSV columns and the JSON keys), an HTML page that carries
// the whole comparison, and the SVG of `chart`.
std::string WriteText(const Comparison& comparison);
std::string WriteMarkdown(const Comparison& comparison);
std::string WriteCsv(const Comparison& comparison);
std::string WriteJson(const Comparison& comparison);
std::string WriteSvg(const Comparison& comparison);
// One self-contained page: no script, nothing loaded, well-formed XML.
std::string WriteHtml(const Comparison& comparison);

// The JSON output says what it is and which version of its keys it follows: a new key keeps the
// version, a key removed or changed in meaning raises it.
inline constexpr const char* JsonFormatName = "drives-tesk-results comparison";
inline constexpr int JsonFormatVersion = 1;

using FormatWriter = std::string (*)(const Comparison& comparison);
struct NamedFormat {
  const char* name;
  FormatWriter write;
};
const std::vector<NamedFormat>& OutputFormats();
// Their names, in order.
std::vector<std::string> FormatNames();
// nullptr for a name that is no format.
const NamedFormat* FindFormat(const std::string& name);
