#include <direct.h>
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <windows.h>

#include "platform/platform.h"
#include "platform/windows_name_kind.h"

static_assert(WindowsDirectoryAttribute == FILE_ATTRIBUTE_DIRECTORY);
static_assert(WindowsDeviceAttribute == FILE_ATTRIBUTE_DEVICE);
static_assert(WindowsReparsePointAttribute == FILE_ATTRIBUTE_REPARSE_POINT);
static_assert(WindowsSymbolicLinkTag == IO_REPARSE_TAG_SYMLINK);
static_assert(WindowsMountPointTag == IO_REPARSE_TAG_MOUNT_POINT);

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
  // The directory entry carries the attributes and, for a reparse point, its tag.
  WIN32_FIND_DATAA entry{};
  const HANDLE search = FindFirstFileA(name, &entry);
  if (search == INVALID_HANDLE_VALUE) {
    return NameKind::Usable;
  }
  FindClose(search);
  const DWORD attributes = entry.dwFileAttributes;
  const DWORD tag = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 ? entry.dwReserved0 : 0;
  DWORD links = 1;
  if ((attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0) {
    // No access asked: only the file's information is read, from the name itself.
    const HANDLE file = CreateFileA(name, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      BY_HANDLE_FILE_INFORMATION information{};
      if (GetFileInformationByHandle(file, &information)) {
        links = information.nNumberOfLinks;
      }
      CloseHandle(file);
    }
  }
  return KindOfWindowsName(attributes, tag, links);
}

void PrepareProcess() {
  // Nothing to do: Windows has no SIGPIPE, SIGHUP or SIGXFSZ, and its C run-time keeps the
  // descriptors 0 to 2 reserved for the standard streams, so a later open never takes them.
}
