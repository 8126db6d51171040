// A fresh temporary directory for one test, made the working directory while the object lives.
#pragma once

#include <string>

class ScratchDirectory {
 public:
  ScratchDirectory();
  ~ScratchDirectory();
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;

  const std::string& path() const { return path_; }

 private:
  std::string path_;
  std::string previous_;
};

// A temporary directory that is created and removed but never entered. The path is in the
// platform's own form (backslashes on Windows), as the program's working directory shows it.
std::string MakeTemporaryDirectory();

// A working directory in which the single-thread tests cannot create their scratch files. On POSIX
// it is entered and then removed while in use, so nothing at all can be created in it (permission
// bits would not stop root). Windows cannot remove a directory in use, so there every scratch name
// is taken by a directory that is not empty; the opens then fail with DirectoryOpenError.
class UnwritableDirectory {
 public:
  UnwritableDirectory();
  // A path outside the directory, where files can still be written.
  std::string outside(const std::string& name) const { return scratch_.path() + "/" + name; }
  // Why an open of a scratch name fails here.
  static const char* OpenError();

 private:
  ScratchDirectory scratch_;
};
