#include <direct.h>
#include <fcntl.h>
#include <io.h>
#include <share.h>

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

void PrepareProcess() {
  // Nothing to do: Windows has no SIGPIPE, SIGHUP or SIGXFSZ, and its C run-time keeps the
  // descriptors 0 to 2 reserved for the standard streams, so a later open never takes them.
}
