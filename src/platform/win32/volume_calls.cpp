#include "platform/win32/volume_calls.h"

#include "platform/win32/windows_api.h"

namespace volumetra {
namespace {

constexpr DWORD kBufferSize = 255;

class SystemVolumeCalls final : public VolumeCalls {
 public:
  std::optional<VolumeInformation> VolumeInformationOf(const std::string& rootPath) override {
    char name[kBufferSize] = {};
    char fileSystem[kBufferSize] = {};
    DWORD serial = 0, maxLength = 0, flags = 0;
    if (!GetVolumeInformationA(rootPath.c_str(), name, kBufferSize, &serial, &maxLength, &flags, fileSystem,
                               kBufferSize))
      return std::nullopt;
    return VolumeInformation{name, serial, maxLength, flags, fileSystem};
  }

  std::optional<DiskGeometry> DiskFreeSpace(const std::string& rootPath) override {
    DWORD sectors = 0, bytes = 0, freeClusters = 0, totalClusters = 0;
    if (!GetDiskFreeSpaceA(rootPath.c_str(), &sectors, &bytes, &freeClusters, &totalClusters))
      return std::nullopt;
    return DiskGeometry{sectors, bytes, freeClusters, totalClusters};
  }

  std::optional<DiskBytes> DiskFreeSpaceEx(const std::string& rootPath) override {
    ULARGE_INTEGER available{}, total{}, totalFree{};
    if (!GetDiskFreeSpaceExA(rootPath.c_str(), &available, &total, &totalFree)) return std::nullopt;
    return DiskBytes{available.QuadPart, total.QuadPart};
  }

  std::uint32_t DriveType(const std::string& rootPath) override { return GetDriveTypeA(rootPath.c_str()); }

  std::uint32_t LogicalDrives() override { return GetLogicalDrives(); }

  DriveListing FirstEntry(const std::string& pattern) override {
    WIN32_FIND_DATAA data{};
    HANDLE search = FindFirstFileA(pattern.c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) return DriveListing{false, {}, GetLastError()};
    FindClose(search);
    return DriveListing{true, data.cFileName, 0};
  }

  std::string RemoteName(char letter) override {
    const GetConnection getConnection = NetworkNames();
    if (!getConnection) return {};
    const char local[] = {letter, ':', '\0'};
    char remote[MAX_PATH + 1] = {};
    DWORD size = sizeof remote;
    if (getConnection(local, remote, &size) != NO_ERROR) return {};
    return remote;
  }

 private:
  using GetConnection = DWORD(WINAPI*)(LPCSTR, LPSTR, LPDWORD);

  // WNetGetConnectionA of mpr.dll, loaded when a network drive is first asked about: a run without
  // network drives never needs the library.
  static GetConnection NetworkNames() {
    static const GetConnection getConnection = []() -> GetConnection {
      HMODULE mpr = LoadLibraryA("mpr.dll");
      if (!mpr) return nullptr;
      return reinterpret_cast<GetConnection>(
          reinterpret_cast<void*>(GetProcAddress(mpr, "WNetGetConnectionA")));
    }();
    return getConnection;
  }
};

}  // namespace

std::shared_ptr<VolumeCalls> MakeSystemVolumeCalls() {
  return std::make_shared<SystemVolumeCalls>();
}

}  // namespace volumetra
