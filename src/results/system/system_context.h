// Where a run is measured, as the operating system tells it: the directory's file system and
// device, and the machine. One file per platform (system_context_linux.cpp,
// system_context_windows.cpp).
#pragma once

#include <nlohmann/json.hpp>
#include <string>

// The directory's file system and device and the machine, as the platform tells them, filled in
// `context`: directory and later keys up to privileged.
void AddSystemContext(const std::string& directory, nlohmann::ordered_json& context);
