// Windows: the volume of the directory and its file system, the disk behind it as
// IOCTL_STORAGE_QUERY_PROPERTY describes it, and the machine. Wine answers few of these.
#include <windows.h>

#include <winioctl.h>

#include <filesystem>
#include <vector>

#include "results/record/context_fields.h"
#include "results/system/system_context.h"
#include "results/system/trimmed.h"
#include "results/system/windows_text.h"

namespace fs = std::filesystem;

namespace {

using Json = nlohmann::ordered_json;

// A text of the descriptor at `offset`, trimmed; empty when there is none.
std::string DescriptorText(const std::vector<char>& buffer, DWORD offset) {
  if (offset == 0 || offset >= buffer.size()) {
    return {};
  }
  std::string text;
  for (std::size_t i = offset; i < buffer.size() && buffer[i] != '\0'; ++i) {
    text += buffer[i];
  }
  return Trimmed(text, " ");
}

const char* BusName(STORAGE_BUS_TYPE bus) {
  switch (bus) {
    case BusTypeScsi:
      return "scsi";
    case BusTypeAtapi:
      return "atapi";
    case BusTypeAta:
      return "ata";
    case BusType1394:
      return "1394";
    case BusTypeSsa:
      return "ssa";
    case BusTypeFibre:
      return "fibre";
    case BusTypeUsb:
      return "usb";
    case BusTypeRAID:
      return "raid";
    case BusTypeiScsi:
      return "iscsi";
    case BusTypeSas:
      return "sas";
    case BusTypeSata:
      return "sata";
    case BusTypeSd:
      return "sd";
    case BusTypeMmc:
      return "mmc";
    case BusTypeVirtual:
      return "virtual";
    case BusTypeFileBackedVirtual:
      return "file-backed virtual";
    case BusTypeNvme:
      return "nvme";
    default:
      return nullptr;
  }
}

const char* DriveTypeName(UINT type) {
  switch (type) {
    case DRIVE_REMOVABLE:
      return "removable";
    case DRIVE_FIXED:
      return "fixed";
    case DRIVE_REMOTE:
      return "remote";
    case DRIVE_CDROM:
      return "cdrom";
    case DRIVE_RAMDISK:
      return "ramdisk";
    default:
      return nullptr;
  }
}

// The disk's description and seek penalty, through the volume's device ("\\.\C:").
void AddDevice(const std::wstring& volume, Json& context) {
  if (volume.size() < 2 || volume[1] != L':') {
    return;  // a share or a mounted folder: no device to ask
  }
  const std::wstring device = L"\\\\.\\" + volume.substr(0, 2);
  HANDLE handle = CreateFileW(device.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    return;
  }
  STORAGE_PROPERTY_QUERY query{};
  query.PropertyId = StorageDeviceProperty;
  query.QueryType = PropertyStandardQuery;
  std::vector<char> buffer(4096, '\0');
  DWORD returned = 0;
  if (DeviceIoControl(handle, IOCTL_STORAGE_QUERY_PROPERTY, &query, sizeof query, buffer.data(),
                      static_cast<DWORD>(buffer.size()), &returned, nullptr) &&
      returned >= sizeof(STORAGE_DEVICE_DESCRIPTOR)) {
    buffer.resize(returned);
    const auto* descriptor = reinterpret_cast<const STORAGE_DEVICE_DESCRIPTOR*>(buffer.data());
    const char* bus = BusName(descriptor->BusType);
    context[KeyText(ContextKey::BusType)] = bus != nullptr ? Json(bus) : Json(nullptr);
    context[KeyText(ContextKey::Removable)] = descriptor->RemovableMedia != FALSE;
    const std::string vendor = DescriptorText(buffer, descriptor->VendorIdOffset);
    const std::string product = DescriptorText(buffer, descriptor->ProductIdOffset);
    context[KeyText(ContextKey::Vendor)] = vendor.empty() ? Json(nullptr) : Json(vendor);
    context[KeyText(ContextKey::Model)] = product.empty() ? Json(nullptr) : Json(product);
  }
  query.PropertyId = StorageDeviceSeekPenaltyProperty;
  DEVICE_SEEK_PENALTY_DESCRIPTOR penalty{};
  if (DeviceIoControl(handle, IOCTL_STORAGE_QUERY_PROPERTY, &query, sizeof query, &penalty,
                      sizeof penalty, &returned, nullptr) &&
      returned >= sizeof penalty) {
    context[KeyText(ContextKey::Rotational)] = penalty.IncursSeekPenalty != FALSE;
  }
  CloseHandle(handle);
}

std::string OsVersion() {
  using RtlGetVersionType = LONG(WINAPI*)(OSVERSIONINFOW*);
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  const auto get = ntdll == nullptr ? nullptr
                                    : reinterpret_cast<RtlGetVersionType>(reinterpret_cast<void*>(
                                          GetProcAddress(ntdll, "RtlGetVersion")));
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof version;
  if (get == nullptr || get(&version) != 0) {
    return {};
  }
  return "Windows " + std::to_string(version.dwMajorVersion) + "." +
         std::to_string(version.dwMinorVersion) + "." + std::to_string(version.dwBuildNumber);
}

std::string CpuModel() {
  wchar_t name[256] = {};
  DWORD size = sizeof name;
  if (RegGetValueW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0",
                   L"ProcessorNameString", RRF_RT_REG_SZ, nullptr, name, &size) != ERROR_SUCCESS) {
    return {};
  }
  const std::string text = Utf8FromWide(name);
  return Trimmed(text, " ");
}

bool Administrator() {
  SID_IDENTIFIER_AUTHORITY authority = SECURITY_NT_AUTHORITY;
  PSID administrators = nullptr;
  BOOL member = FALSE;
  if (AllocateAndInitializeSid(&authority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS,
                               0, 0, 0, 0, 0, 0, &administrators)) {
    CheckTokenMembership(nullptr, administrators, &member);
    FreeSid(administrators);
  }
  return member != FALSE;
}

}  // namespace

void AddSystemContext(const std::string& directory, Json& context) {
  std::error_code error;
  const fs::path absolute = fs::absolute(fs::u8path(directory), error);
  const std::wstring path = (error ? fs::u8path(directory) : absolute).wstring();
  context[KeyText(ContextKey::Directory)] = Utf8FromWide(path);
  wchar_t volume[MAX_PATH + 1] = {};
  if (GetVolumePathNameW(path.c_str(), volume, MAX_PATH + 1)) {
    context[KeyText(ContextKey::MountPoint)] = Utf8FromWide(volume);
    wchar_t fileSystem[MAX_PATH + 1] = {};
    if (GetVolumeInformationW(volume, nullptr, 0, nullptr, nullptr, nullptr, fileSystem,
                              MAX_PATH + 1)) {
      context[KeyText(ContextKey::FileSystem)] = Utf8FromWide(fileSystem);
    }
    const char* type = DriveTypeName(GetDriveTypeW(volume));
    context[KeyText(ContextKey::DriveType)] = type != nullptr ? Json(type) : Json(nullptr);
    AddDevice(volume, context);
  }
  ULARGE_INTEGER available{};
  ULARGE_INTEGER total{};
  if (GetDiskFreeSpaceExW(path.c_str(), &available, &total, nullptr)) {
    context[KeyText(ContextKey::SizeBytes)] = total.QuadPart;
    context[KeyText(ContextKey::FreeBytes)] = available.QuadPart;
  }
  wchar_t host[256];
  DWORD hostSize = sizeof host / sizeof host[0];
  if (GetComputerNameExW(ComputerNameDnsHostname, host, &hostSize)) {
    context[KeyText(ContextKey::Host)] = Utf8FromWide(std::wstring(host, hostSize));
  }
  const std::string os = OsVersion();
  context[KeyText(ContextKey::Os)] = os.empty() ? Json(nullptr) : Json(os);
  const std::string cpu = CpuModel();
  context[KeyText(ContextKey::CpuModel)] = cpu.empty() ? Json(nullptr) : Json(cpu);
  context[KeyText(ContextKey::LogicalCpus)] = GetActiveProcessorCount(ALL_PROCESSOR_GROUPS);
  MEMORYSTATUSEX memory{};
  memory.dwLength = sizeof memory;
  if (GlobalMemoryStatusEx(&memory)) {
    context[KeyText(ContextKey::MemoryBytes)] = memory.ullTotalPhys;
  }
  context[KeyText(ContextKey::Privileged)] = Administrator();
}
