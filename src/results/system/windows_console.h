// Windows: how the standard streams write to an output handle, for the streams and their tests.
#pragma once

#include <windows.h>

#include <memory>
#include <streambuf>

// Whether `handle` is a console's screen buffer: GetConsoleMode succeeds on it. Files, pipes and
// the NUL device are not.
bool IsConsole(HANDLE handle);

// A buffer writing UTF-8 text to `handle`: to a console as UTF-16 characters (a character split
// between two writes is held back until it is whole), elsewhere as the bytes with CR LF line
// ends. A failed write fails the stream.
std::unique_ptr<std::streambuf> TextBufferFor(HANDLE handle);
