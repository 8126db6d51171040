// Windows: what the standard streams write to each kind of output handle. A console shows the
// characters (read back from its screen buffer); a file and a pipe get the UTF-8 bytes as they
// are, with the CR LF line ends of Windows text; the NUL device takes anything.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <string>

#include "results/system/windows_console.h"
#include "support/line_patterns.h"
#include "support/scratch_directory.h"

namespace {

// "≈ Dossier été", the noise mark and a name with accents, and a character of four bytes.
const std::string Text = "\xe2\x89\x88 Dossier \xc3\xa9t\xc3\xa9 \xf0\x9f\x98\x80\n";
const std::string Bytes = "\xe2\x89\x88 Dossier \xc3\xa9t\xc3\xa9 \xf0\x9f\x98\x80\r\n";
const std::wstring Shown = L"\x2248 Dossier \x00e9t\x00e9 \xd83d\xde00";

// `text` through the handle's buffer, split inside a character: a console must still show it
// whole.
bool WriteThrough(HANDLE handle, const std::string& text) {
  const std::unique_ptr<std::streambuf> buffer = TextBufferFor(handle);
  std::ostream stream(buffer.get());
  stream << text.substr(0, 2) << std::flush << text.substr(2) << std::flush;
  return stream.good();
}

TEST(StandardStreams, FilesPipesAndNulGetTheBytes) {
  ScratchDirectory directory;
  HANDLE file = CreateFileW(L"out.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  HANDLE null = CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  HANDLE pipeIn = nullptr;
  HANDLE pipeOut = nullptr;
  ASSERT_TRUE(CreatePipe(&pipeOut, &pipeIn, nullptr, 0));
  for (HANDLE handle : {file, null, pipeIn}) {
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(IsConsole(handle));
    EXPECT_TRUE(WriteThrough(handle, Text));
    CloseHandle(handle);
  }
  EXPECT_EQ(ReadWholeFile("out.txt"), Bytes);
  std::string piped(256, '\0');
  DWORD read = 0;
  ReadFile(pipeOut, piped.data(), static_cast<DWORD>(piped.size()), &read, nullptr);
  piped.resize(read);
  EXPECT_EQ(piped, Bytes);
  CloseHandle(pipeOut);
}

// A screen buffer of this process's console, read back character by character. Wine gives a
// console to a program started on a terminal (CTest runs this test once more under one); a
// console allocated without one has no working screen.
TEST(StandardStreams, AConsoleShowsTheCharacters) {
  const HANDLE console =
      CreateConsoleScreenBuffer(GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, CONSOLE_TEXTMODE_BUFFER, nullptr);
  if (console == INVALID_HANDLE_VALUE || !IsConsole(console)) {
    if (std::getenv("DRIVES_TESK_CONSOLE_REQUIRED") != nullptr) {
      FAIL() << "no console, though started on a terminal";
    }
    GTEST_SKIP() << "no console here";
  }
  EXPECT_TRUE(WriteThrough(console, Text));
  std::wstring screen(Shown.size(), L'\0');
  DWORD read = 0;
  ReadConsoleOutputCharacterW(console, screen.data(), static_cast<DWORD>(screen.size()), {0, 0},
                              &read);
  screen.resize(read);
  EXPECT_TRUE(screen == Shown) << "the screen shows " << screen.size() << " other characters";
  CloseHandle(console);
}

}  // namespace
