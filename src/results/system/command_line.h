// What drives-tesk-results needs from the operating system, one file per platform: the command
// line in UTF-8 and the wildcards that Windows shells leave to the program.
#pragma once

#include <string>
#include <vector>

// The program's arguments (without the program name) in UTF-8. POSIX passes the bytes as they
// came; Windows takes the wide command line, so every file name arrives whole.
std::vector<std::string> Utf8Arguments(int argc, char** argv);

// FILE arguments with * or ? expanded to the matching names, sorted, where the shell leaves that
// to the program (cmd and PowerShell on Windows); an argument that matches nothing stays as it
// is, so its error names it. POSIX shells expand them already: unchanged there.
std::vector<std::string> ExpandWildcards(const std::vector<std::string>& arguments);
