#include <direct.h>
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <windows.h>

#include "platform/platform.h"

const char* CurrentDirectory() {
  return _getcwd(nullptr, 0);
}

int OpenSharedDescriptor(const char* name) {
  // Read-write and create (0x102), no text or binary flag, deny-none sharing (0x40) and the
  // permission 511 (octal 777). The run-time's "secure" variant rejects that permission, so the
  // plain shared open is used.
  constexpr int EveryPermission = 0777;
  return _sopen(name, _O_RDWR | _O_CREAT, _SH_DENYNO, EveryPermission);
}

int CloseDescriptor(int descriptor) {
  return _close(descriptor);
}

NameKind ClassifyName(const char* name) {
  const DWORD attributes = GetFileAttributesA(name);
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    return NameKind::Usable;
  }
  // Symbolic links and junctions are reparse points; opening one would open what it points to.
  if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
    return NameKind::SymbolicLink;
  }
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return NameKind::Usable;
  }
  if ((attributes & FILE_ATTRIBUTE_DEVICE) != 0) {
    return NameKind::Device;
  }
  // No access asked: only the file's information is read.
  const HANDLE file = CreateFileA(name, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return NameKind::Usable;
  }
  BY_HANDLE_FILE_INFORMATION information{};
  const bool linked =
      GetFileInformationByHandle(file, &information) && information.nNumberOfLinks > 1;
  CloseHandle(file);
  return linked ? NameKind::LinkedFile : NameKind::Usable;
}

void PrepareProcess() {
  // Nothing to do: Windows has no SIGPIPE, SIGHUP or SIGXFSZ, and its C run-time keeps the
  // descriptors 0 to 2 reserved for the standard streams, so a later open never takes them.
}
