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

// A temporary directory that is created and removed but never entered.
std::string MakeTemporaryDirectory();

// A working directory in which no file can be created: a subdirectory of a scratch directory that
// is entered and then removed while in use (permission bits would not stop root).
class RemovedDirectory {
 public:
  RemovedDirectory();
  // A path outside the removed directory, where files can still be written.
  std::string outside(const std::string& name) const { return scratch_.path() + "/" + name; }

 private:
  ScratchDirectory scratch_;
};
