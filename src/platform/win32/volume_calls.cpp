#include "platform/win32/volume_calls.h"

#include <map>
#include <mutex>
#include <string_view>

#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"

namespace volumetra {
namespace {

constexpr DWORD kBufferSize = 255;

bool RunsUnderWine() {
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

class SystemVolumeCalls final : public VolumeCalls {
 public:
  std::optional<VolumeInformation> VolumeInformationOf(const std::string& rootPath) override {
    wchar_t name[kBufferSize] = {};
    wchar_t fileSystem[kBufferSize] = {};
    DWORD serial = 0, maxLength = 0, flags = 0;
    if (!GetVolumeInformationW(Wide(rootPath).c_str(), name, kBufferSize, &serial, &maxLength, &flags,
                               fileSystem, kBufferSize))
      return std::nullopt;
    return VolumeInformation{Utf8(name), serial, maxLength, flags, Utf8(fileSystem)};
  }

  std::optional<DiskGeometry> DiskFreeSpace(const std::string& rootPath) override {
    DWORD sectors = 0, bytes = 0, freeClusters = 0, totalClusters = 0;
    if (!GetDiskFreeSpaceW(Wide(rootPath).c_str(), &sectors, &bytes, &freeClusters, &totalClusters))
      return std::nullopt;
    return DiskGeometry{sectors, bytes, freeClusters, totalClusters};
  }

  std::optional<DiskBytes> DiskFreeSpaceEx(const std::string& rootPath) override {
    ULARGE_INTEGER available{}, total{}, totalFree{};
    if (!GetDiskFreeSpaceExW(Wide(rootPath).c_str(), &available, &total, &totalFree)) return std::nullopt;
    return DiskBytes{available.QuadPart, total.QuadPart};
  }

  std::uint32_t DriveType(const std::string& rootPath) override {
    return GetDriveTypeW(Wide(rootPath).c_str());
  }

  std::uint32_t LogicalDrives() override { return GetLogicalDrives(); }

  DriveListing FirstEntry(const std::string& pattern) override {
    WIN32_FIND_DATAW data{};
    HANDLE search = FindFirstFileW(Wide(pattern).c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) return DriveListing{false, {}, GetLastError()};
    FindClose(search);
    return DriveListing{true, Utf8(data.cFileName), 0};
  }

  bool IsLocalDisk(char letter) override {
    const wchar_t name[] = {static_cast<wchar_t>(letter), L':', L'\0'};
    wchar_t device[MAX_PATH] = {};
    if (QueryDosDeviceW(name, device, MAX_PATH) == 0) return false;
    return std::wstring_view(device).starts_with(L"\\Device\\HarddiskVolume");
  }

  std::string RemoteName(char letter) override {
    const GetConnection getConnection = NetworkNames();
    if (!getConnection) return {};
    const wchar_t local[] = {static_cast<wchar_t>(letter), L':', L'\0'};
    wchar_t remote[MAX_PATH + 1] = {};
    DWORD size = MAX_PATH + 1;
    if (getConnection(local, remote, &size) != NO_ERROR) return {};
    return Utf8(remote);
  }

  void HoldRoot(char letter) override {
    if (!underWine_) return;
    {
      std::lock_guard lock(mutex_);
      if (heldRoots_.contains(letter)) return;
    }
    // Opened outside the lock: on a dead server the call waits.
    const wchar_t root[] = {static_cast<wchar_t>(letter), L':', L'\\', L'\0'};
    HANDLE handle =
        CreateFileW(root, FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return;
    std::lock_guard lock(mutex_);
    if (!heldRoots_.emplace(letter, handle).second) CloseHandle(handle);
  }

  void ReleaseRoot(char letter) override {
    HANDLE handle = nullptr;
    {
      std::lock_guard lock(mutex_);
      const auto held = heldRoots_.find(letter);
      if (held == heldRoots_.end()) return;
      handle = held->second;
      heldRoots_.erase(held);
    }
    CloseHandle(handle);
  }

 private:
  using GetConnection = DWORD(WINAPI*)(LPCWSTR, LPWSTR, LPDWORD);

  // WNetGetConnectionW of mpr.dll, loaded when a network drive is first asked about: a run without
  // network drives never needs the library.
  static GetConnection NetworkNames() {
    static const GetConnection getConnection = []() -> GetConnection {
      HMODULE mpr = LoadLibraryW(L"mpr.dll");
      if (!mpr) return nullptr;
      return reinterpret_cast<GetConnection>(
          reinterpret_cast<void*>(GetProcAddress(mpr, "WNetGetConnectionW")));
    }();
    return getConnection;
  }

  const bool underWine_ = RunsUnderWine();
  std::mutex mutex_;
  std::map<char, HANDLE> heldRoots_;
};

}  // namespace

std::shared_ptr<VolumeCalls> MakeSystemVolumeCalls() {
  return std::make_shared<SystemVolumeCalls>();
}

}  // namespace volumetra
