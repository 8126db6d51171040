#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "platform/platform.h"

const char* CurrentDirectory() {
  return getcwd(nullptr, 0);
}

int OpenSharedDescriptor(const char* name) {
  // POSIX has no share modes: every opener shares the file already. A symbolic link is never
  // followed, and a FIFO at the name cannot block the open.
  constexpr mode_t EveryPermission = 0777;
  return open(name, O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK, EveryPermission);
}

int CloseDescriptor(int descriptor) {
  return close(descriptor);
}

NameKind ClassifyName(const char* name) {
  struct stat info {};
  if (lstat(name, &info) != 0) {
    return NameKind::Usable;
  }
  if (S_ISREG(info.st_mode)) {
    return info.st_nlink > 1 ? NameKind::LinkedFile : NameKind::Usable;
  }
  if (S_ISDIR(info.st_mode)) {
    return NameKind::Usable;
  }
  if (S_ISLNK(info.st_mode)) {
    return NameKind::SymbolicLink;
  }
  if (S_ISFIFO(info.st_mode)) {
    return NameKind::Fifo;
  }
  if (S_ISSOCK(info.st_mode)) {
    return NameKind::Socket;
  }
  if (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode)) {
    return NameKind::Device;
  }
  return NameKind::Other;
}

void PrepareProcess() {
  // A console that goes away (a closed pipe, a hung-up terminal) must not end the run: its lines
  // are then dropped, and the results file is still written to the end.
  std::signal(SIGPIPE, SIG_IGN);
  std::signal(SIGHUP, SIG_IGN);
  // Under a file-size limit (ulimit -f) a write past it would end the process; ignored, the write
  // fails with EFBIG instead, and the measurement says so.
  std::signal(SIGXFSZ, SIG_IGN);
  // With standard input, output or error closed, the next file opened would take its number, and
  // console lines would land in a results or scratch file. /dev/null fills any such gap.
  for (int descriptor = STDIN_FILENO; descriptor <= STDERR_FILENO; ++descriptor) {
    if (fcntl(descriptor, F_GETFD) == -1 && errno == EBADF) {
      const int filler = open("/dev/null", O_RDWR);
      if (filler != -1 && filler != descriptor) {
        dup2(filler, descriptor);
        close(filler);
      }
    }
  }
}
