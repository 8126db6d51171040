// Which directories share a file system, so that the room they need is added up.
#pragma once

#include <string>

// What tells file systems apart: directories with the same text share one. Empty when unknown.
std::string FileSystemOf(const std::string& directory);
