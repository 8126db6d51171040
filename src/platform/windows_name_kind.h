// What a name on Windows is to the program, decided from what the file system says of it: its
// attributes, its reparse tag (for a reparse point) and its link count. Kept apart from the system
// calls, with the values Windows defines, so the decision is the same on every platform and can
// be checked anywhere.
#pragma once

#include <cstdint>

#include "platform/platform.h"

inline constexpr std::uint32_t WindowsDirectoryAttribute = 0x10;
inline constexpr std::uint32_t WindowsDeviceAttribute = 0x40;
inline constexpr std::uint32_t WindowsReparsePointAttribute = 0x400;
// The reparse tags that redirect an open to another place: symbolic links, junctions (mount
// points), and the links that WSL makes.
inline constexpr std::uint32_t WindowsSymbolicLinkTag = 0xA000000C;
inline constexpr std::uint32_t WindowsMountPointTag = 0xA0000003;
inline constexpr std::uint32_t WindowsLinuxSymbolicLinkTag = 0xA000001D;

// Only a reparse point whose tag redirects is a link. Every other tag (cloud-file placeholders of
// synced folders, deduplicated or compressed files) marks an ordinary file that opens in place.
// `reparseTag` is read only when the reparse-point attribute is set; `links` only for files.
NameKind KindOfWindowsName(std::uint32_t attributes, std::uint32_t reparseTag, std::uint32_t links);
