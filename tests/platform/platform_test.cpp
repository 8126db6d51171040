#include "platform/platform.h"
#include "contract/file_names.h"

#include <gtest/gtest.h>
#include <omp.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <ios>

#include "contract/constants.h"
#include "platform/wall_clock.h"
#include "platform/windows_name_kind.h"
#include "support/scratch_directory.h"

namespace {

TEST(WallClock, TimesWithTheRuntimesClockOnlyWhereItTicksInAMicrosecondOrLess) {
  EXPECT_TRUE(TickIsFineEnough(1e-9));
  EXPECT_TRUE(TickIsFineEnough(FinestUsableTick));
  EXPECT_FALSE(TickIsFineEnough(0.001));  // MinGW's OpenMP runtime
  EXPECT_FALSE(TickIsFineEnough(0.0));

  EXPECT_EQ(TimedWithRuntimeClock(), TickIsFineEnough(omp_get_wtick()));
  EXPECT_LE(WallTick(), FinestUsableTick);
}

// The smallest step the chosen clock shows: far below a millisecond on every platform, so a span
// of a few hundred microseconds is measured, not rounded to 0 or to a whole tick.
TEST(WallClock, ShowsStepsFarBelowAMillisecond) {
  double smallest = 1.0;
  for (int sample = 0; sample < 100; ++sample) {
    const double first = WallSeconds();
    double next = WallSeconds();
    while (next == first) {
      next = WallSeconds();
    }
    smallest = std::min(smallest, next - first);
  }
  EXPECT_GT(smallest, 0.0);
  EXPECT_LT(smallest, 1e-4);
}

// The byte-wise and block tests read a file while an output stream holds it, and see every byte
// that stream flushed. Windows opens the streams deny-none; POSIX shares every file anyway.
TEST(FileSharing, AnInputStreamAndADescriptorOpenAFileThatAnOutputStreamHolds) {
  ScratchDirectory directory;
  std::ofstream out(ScratchFileName, std::ios::out | std::ios::binary);
  out.put(FillByte);
  out.flush();
  std::ifstream in(ScratchFileName, std::ios::in | std::ios::binary);
  ASSERT_TRUE(in.is_open());
  EXPECT_EQ(in.get(), FillByte);

  const int descriptor = OpenSharedDescriptor(ScratchFileName);
  ASSERT_NE(descriptor, -1);
  EXPECT_EQ(CloseDescriptor(descriptor), 0);
}

// Only reparse points that redirect are links; synced placeholders, deduplicated and compressed
// files carry the attribute too and are ordinary files.
TEST(KindOfWindowsName, RefusesOnlyWhatRedirectsOrHasOtherNames) {
  constexpr std::uint32_t Reparse = WindowsReparsePointAttribute;
  constexpr std::uint32_t Directory = WindowsDirectoryAttribute;
  constexpr std::uint32_t Archive = 0x20;
  constexpr std::uint32_t Offline = 0x1000;
  struct Case {
    std::uint32_t attributes, tag, links;
    NameKind kind;
  } const cases[] = {
      {Archive, 0, 1, NameKind::Usable},
      {Archive, 0, 2, NameKind::LinkedFile},
      {Directory, 0, 1, NameKind::Usable},
      {WindowsDeviceAttribute, 0, 1, NameKind::Device},
      {Reparse | Archive, WindowsSymbolicLinkTag, 1, NameKind::SymbolicLink},
      {Reparse | Directory, WindowsSymbolicLinkTag, 1, NameKind::SymbolicLink},
      {Reparse | Directory, WindowsMountPointTag, 1, NameKind::SymbolicLink},
      {Reparse | Archive, WindowsLinuxSymbolicLinkTag, 1, NameKind::SymbolicLink},
      {Reparse | Archive | Offline, 0x9000001A, 1, NameKind::Usable},  // a cloud-file placeholder
      {Reparse | Archive, 0x80000013, 1, NameKind::Usable},            // deduplicated
      {Reparse | Archive, 0x80000017, 1, NameKind::Usable},            // compressed (WOF)
      {Reparse | Archive, 0x80000017, 3, NameKind::LinkedFile},
      {Reparse | Directory, 0x9000601A, 1, NameKind::Usable},  // a synced folder
      // A tag without the attribute is not read.
      {Archive, WindowsSymbolicLinkTag, 1, NameKind::Usable},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(KindOfWindowsName(c.attributes, c.tag, c.links), c.kind)
        << std::hex << c.attributes << " " << c.tag << " " << std::dec << c.links;
  }
}

TEST(CurrentDirectory, IsTheWorkingDirectoryInThePlatformsOwnForm) {
  ScratchDirectory directory;
  const char* current = CurrentDirectory();
  ASSERT_NE(current, nullptr);
  EXPECT_EQ(current, directory.path());
  std::free(const_cast<char*>(current));
}

}  // namespace
