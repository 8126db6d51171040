#include "single/scratch_names.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/scratch_directory.h"

namespace {

namespace fs = std::filesystem;

TEST(ClassifyName, LetsTheProgramUseOnlyNothingARegularFileOrADirectory) {
  ScratchDirectory directory;
  EXPECT_EQ(ClassifyName("absent"), NameKind::Usable);
  std::ofstream("plain") << "x";
  EXPECT_EQ(ClassifyName("plain"), NameKind::Usable);
  fs::create_directory("folder");
  EXPECT_EQ(ClassifyName("folder"), NameKind::Usable);

  // Writing a file with a second name would change it under that name too.
  fs::create_hard_link("plain", "second-name");
  EXPECT_EQ(ClassifyName("plain"), NameKind::LinkedFile);

  std::error_code noLinks;
  fs::create_symlink("plain", "link", noLinks);
  if (noLinks) {
    GTEST_SKIP() << "no symbolic links here: " << noLinks.message();
  }
  EXPECT_EQ(ClassifyName("link"), NameKind::SymbolicLink);
}

TEST(NameUsable, NotesARefusalWithTheNameAndWhatStandsThere) {
  ScratchDirectory directory;
  std::ofstream("plain") << "x";
  fs::create_hard_link("plain", "second-name");
  OperationFailures failures;
  EXPECT_TRUE(NameUsable("absent", failures));
  EXPECT_FALSE(failures.Any());
  EXPECT_FALSE(NameUsable("plain", failures));
  EXPECT_EQ(DescribeFailures(failures), "plain not used: it is a file with other hard links");
}

}  // namespace
