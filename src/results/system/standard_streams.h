// This program's standard output and error as the commands write to them: UTF-8 text. A file or
// a pipe gets the bytes as they are (on Windows with the CR LF line ends of text there); a
// Windows console gets the characters (as UTF-16, through WriteConsoleW), since it would show
// the bytes in its own code page ("â‰ˆ" for "≈"). This is the one place that knows about
// consoles (standard_streams_posix.cpp, standard_streams_windows.cpp).
#pragma once

#include <ostream>

std::ostream& StandardOutput();
// Written through at once, as standard error is.
std::ostream& StandardError();
