// Linux: the mount from /proc/self/mountinfo by the directory's device number, the block device
// and its flags from sysfs, the machine from /proc, uname and sysconf.
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "contract/string_ends.h"
#include "results/record/context_fields.h"
#include "results/system/system_context.h"
#include "results/system/trimmed.h"

namespace fs = std::filesystem;

namespace {

using Json = nlohmann::ordered_json;

// The first line of a small file, trimmed; empty when it cannot be read.
std::string FirstLine(const fs::path& path) {
  std::ifstream in(path);
  std::string line;
  std::getline(in, line);
  return Trimmed(line);
}

Json TextOrNull(const std::string& text) {
  return text.empty() ? Json(nullptr) : Json(text);
}

Json FlagOrNull(const std::string& text) {
  return text == "0" ? Json(false) : text == "1" ? Json(true) : Json(nullptr);
}

// mountinfo writes space, tab, newline and backslash in names as \ooo.
std::string Unescaped(const std::string& field) {
  auto octal = [&field](std::size_t i) { return field[i] >= '0' && field[i] <= '7'; };
  std::string text;
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size() && octal(i + 1) && octal(i + 2) && octal(i + 3)) {
      text += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                (field[i + 3] - '0'));
      i += 3;
    } else {
      text += field[i];
    }
  }
  return text;
}

struct Mount {
  std::string point, options, type, source;
};

// The mount of `directory`: of the lines with its device number, the one with the longest mount
// point that contains it (bind mounts share a device number).
bool FindMount(const std::string& directory, dev_t device, Mount& found) {
  std::ifstream in("/proc/self/mountinfo");
  const std::string wanted = std::to_string(major(device)) + ":" + std::to_string(minor(device));
  std::string line;
  bool any = false;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string id, parent, numbers, root, point, options, field;
    fields >> id >> parent >> numbers >> root >> point >> options;
    if (numbers != wanted) {
      continue;
    }
    while (fields >> field && field != "-") {
    }
    Mount mount{Unescaped(point), options, "", ""};
    fields >> mount.type >> mount.source;
    mount.source = Unescaped(mount.source);
    const bool inside =
        directory == mount.point || mount.point == "/" || StartsWith(directory, mount.point + "/");
    if (inside && (!any || mount.point.size() >= found.point.size())) {
      found = mount;
      any = true;
    }
  }
  return any;
}

// The whole disk under /sys/class/block for a device number: a partition's parent.
std::string DiskOf(dev_t device) {
  std::error_code error;
  const fs::path node = fs::canonical(
      "/sys/dev/block/" + std::to_string(major(device)) + ":" + std::to_string(minor(device)),
      error);
  if (error) {
    return {};
  }
  return fs::exists(node / "partition", error) ? node.parent_path().u8string() : node.u8string();
}

std::string BusOf(const std::string& disk) {
  for (const char* bus : {"usb", "nvme", "virtio", "mmc", "ata", "scsi"}) {
    if (disk.find(std::string("/") + bus) != std::string::npos) {
      return bus;
    }
  }
  return {};
}

// The text after `separator` on the first line of `path` that starts with `key`, trimmed and
// unquoted; empty when there is none.
std::string ValueOf(const char* path, const std::string& key, char separator) {
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    const std::size_t at = line.find(separator);
    if (!StartsWith(line, key) || at == std::string::npos) {
      continue;
    }
    std::string value = Trimmed(line.substr(at + 1));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
      value = value.substr(1, value.size() - 2);
    }
    return value;
  }
  return {};
}

}  // namespace

void AddSystemContext(const std::string& directory, Json& context) {
  std::error_code error;
  const std::string absolute = fs::canonical(fs::u8path(directory), error).u8string();
  context[KeyText(ContextKey::Directory)] = error ? Json(directory) : Json(absolute);
  struct stat status {};
  if (stat(directory.c_str(), &status) == 0) {
    Mount mount;
    if (FindMount(error ? directory : absolute, status.st_dev, mount)) {
      context[KeyText(ContextKey::MountPoint)] = mount.point;
      context[KeyText(ContextKey::FileSystem)] = mount.type;
      context[KeyText(ContextKey::Fuse)] = StartsWith(mount.type, "fuse");
      context[KeyText(ContextKey::MountOptions)] = mount.options;
      context[KeyText(ContextKey::MountSource)] = mount.source;
    }
    // A FUSE or other virtual file system has a device number of its own; the device it reads
    // is its mount source.
    dev_t device = status.st_dev;
    struct stat source {};
    if (major(device) == 0 && context[KeyText(ContextKey::MountSource)].is_string() &&
        stat(context[KeyText(ContextKey::MountSource)].get<std::string>().c_str(), &source) == 0 &&
        S_ISBLK(source.st_mode)) {
      device = source.st_rdev;
    }
    const std::string disk = major(device) == 0 ? std::string() : DiskOf(device);
    if (!disk.empty()) {
      const fs::path sys(disk);
      context[KeyText(ContextKey::BlockDevice)] = sys.filename().u8string();
      context[KeyText(ContextKey::BusType)] = TextOrNull(BusOf(disk));
      context[KeyText(ContextKey::Vendor)] = TextOrNull(FirstLine(sys / "device" / "vendor"));
      context[KeyText(ContextKey::Model)] = TextOrNull(FirstLine(sys / "device" / "model"));
      context[KeyText(ContextKey::Rotational)] =
          FlagOrNull(FirstLine(sys / "queue" / "rotational"));
      context[KeyText(ContextKey::Removable)] = FlagOrNull(FirstLine(sys / "removable"));
    }
  }
  struct statvfs space {};
  if (statvfs(directory.c_str(), &space) == 0) {
    context[KeyText(ContextKey::SizeBytes)] =
        static_cast<unsigned long long>(space.f_blocks) * space.f_frsize;
    context[KeyText(ContextKey::FreeBytes)] =
        static_cast<unsigned long long>(space.f_bavail) * space.f_frsize;
  }
  context[KeyText(ContextKey::Os)] = TextOrNull(ValueOf("/etc/os-release", "PRETTY_NAME=", '='));
  utsname system{};
  if (uname(&system) == 0) {
    context[KeyText(ContextKey::Kernel)] = std::string(system.sysname) + " " + system.release;
    context[KeyText(ContextKey::Host)] = TextOrNull(system.nodename);
  }
  context[KeyText(ContextKey::CpuModel)] = TextOrNull(ValueOf("/proc/cpuinfo", "model name", ':'));
  const long cpus = sysconf(_SC_NPROCESSORS_ONLN);
  context[KeyText(ContextKey::LogicalCpus)] = cpus > 0 ? Json(cpus) : Json(nullptr);
  const long pages = sysconf(_SC_PHYS_PAGES);
  const long pageSize = sysconf(_SC_PAGESIZE);
  if (pages > 0 && pageSize > 0) {
    context[KeyText(ContextKey::MemoryBytes)] =
        static_cast<unsigned long long>(pages) * static_cast<unsigned long long>(pageSize);
  }
  context[KeyText(ContextKey::Privileged)] = geteuid() == 0;
}
