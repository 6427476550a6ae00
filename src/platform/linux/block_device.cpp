#include "platform/linux/block_device.h"

#include <algorithm>
#include <string_view>

namespace volumetra {
namespace {

constexpr unsigned kScsiCdromMajor = 11;
constexpr std::string_view kDeviceDirectory = "/dev/";

// The value of `key` in a sysfs uevent file ("KEY=value" lines).
std::string UeventValue(const std::string& uevent, std::string_view key) {
  std::size_t start = 0;
  while (start < uevent.size()) {
    const std::size_t end = std::min(uevent.find('\n', start), uevent.size());
    const std::string_view line = std::string_view(uevent).substr(start, end - start);
    if (line.size() > key.size() && line.starts_with(key) && line[key.size()] == '=')
      return std::string(line.substr(key.size() + 1));
    start = end + 1;
  }
  return {};
}

std::optional<DeviceNumber> DeviceNumberOf(LinuxSystemCalls& system, const MountEntry& entry) {
  if (entry.device.major != 0) return entry.device;
  if (entry.source.starts_with(kDeviceDirectory)) return system.BlockDeviceAt(entry.source);
  return std::nullopt;
}

}  // namespace

std::optional<BlockDevice> ResolveBlockDevice(LinuxSystemCalls& system, const MountEntry& entry) {
  const std::optional<DeviceNumber> number = DeviceNumberOf(system, entry);
  if (!number) return std::nullopt;
  BlockDevice device;
  device.number = *number;
  const std::string sysfsDevice =
      "/sys/dev/block/" + std::to_string(number->major) + ":" + std::to_string(number->minor);
  const std::string name = UeventValue(system.ReadTextFile(sysfsDevice + "/uevent").value_or(""), "DEVNAME");
  if (!name.empty()) {
    device.path = std::string(kDeviceDirectory) + name;
  } else if (entry.source.starts_with(kDeviceDirectory)) {
    device.path = entry.source;
  }
  // A partition's removable flag is its disk's, one directory up in sysfs.
  const bool partition = system.ReadTextFile(sysfsDevice + "/partition").has_value();
  const std::string disk = partition ? sysfsDevice + "/.." : sysfsDevice;
  device.removable = system.ReadTextFile(disk + "/removable").value_or("").starts_with('1');
  device.optical = name.starts_with("sr") || number->major == kScsiCdromMajor;
  device.backingFile = system.ReadTextFile(sysfsDevice + "/loop/backing_file").value_or("");
  if (device.backingFile.ends_with('\n')) device.backingFile.pop_back();
  return device;
}

}  // namespace volumetra
