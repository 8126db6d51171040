#include "platform/windows_name_kind.h"

NameKind KindOfWindowsName(std::uint32_t attributes, std::uint32_t reparseTag,
                           std::uint32_t links) {
  if ((attributes & WindowsReparsePointAttribute) != 0 &&
      (reparseTag == WindowsSymbolicLinkTag || reparseTag == WindowsMountPointTag ||
       reparseTag == WindowsLinuxSymbolicLinkTag)) {
    return NameKind::SymbolicLink;
  }
  if ((attributes & WindowsDirectoryAttribute) != 0) {
    return NameKind::Usable;
  }
  if ((attributes & WindowsDeviceAttribute) != 0) {
    return NameKind::Device;
  }
  return links > 1 ? NameKind::LinkedFile : NameKind::Usable;
}
