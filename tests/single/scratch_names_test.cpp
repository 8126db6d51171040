#include "single/scratch_names.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

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

// The file-handling tests remove their file in every iteration; a leftover that is not a plain
// file goes by its name before the loop, and what it points to or its other name stays as it was.
TEST(ClearedForCycles, RemovesALeftoverByItsNameAndNothingElse) {
  ScratchDirectory directory;
  std::ofstream("target") << "the user's file";
  fs::create_hard_link("target", "second-name");
  fs::create_directory("folder");
  std::error_code noLinks;
  fs::create_symlink("target", "link", noLinks);
  OperationFailures failures;
  for (const char* name : {"absent", "second-name", "link", "folder"}) {
    if (noLinks && std::string(name) == "link") {
      continue;
    }
    EXPECT_TRUE(ClearedForCycles(name, failures)) << name;
  }
  EXPECT_FALSE(failures.Any()) << DescribeFailures(failures);
  EXPECT_FALSE(fs::exists(fs::symlink_status("second-name")));
  EXPECT_FALSE(fs::exists(fs::symlink_status("link")));
  EXPECT_TRUE(fs::is_directory("folder"));
  EXPECT_EQ(fs::hard_link_count("target"), 1u);
  std::string contents;
  std::getline(std::ifstream("target"), contents);
  EXPECT_EQ(contents, "the user's file");
}

}  // namespace
