// Files written whole or not at all: under a temporary name beside the target, then renamed, so
// that a file of the target's name is never half written (a full disk leaves the old file, or
// none) and a reader never meets a partial one.
#pragma once

#include <filesystem>
#include <string>
#include <system_error>

// False, with `error` saying why, when `bytes` could not be written; nothing is left behind then.
bool WriteWholeFile(const std::filesystem::path& target, const std::string& bytes,
                    std::error_code& error);
