#include "platform/linux/volume_identity.h"

#include <cctype>

namespace volumetra {
namespace {

constexpr const char* kByLabel = "/dev/disk/by-label";
constexpr const char* kByUuid = "/dev/disk/by-uuid";
constexpr std::size_t kSerialDigits = 8;
constexpr std::size_t kNtfsSerialDigits = 16;

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (lower >= 'a' && lower <= 'f') return lower - 'a' + 10;
  return -1;
}

// The name of the link in `directory` that points to the block device `number`.
std::optional<std::string> FindDiskLink(LinuxSystemCalls& system, const std::string& directory,
                                        DeviceNumber number) {
  for (const std::string& name : system.ListDirectory(directory)) {
    if (system.BlockDeviceAt(directory + "/" + name) == number) return DecodeUdevEscapes(name);
  }
  return std::nullopt;
}

// The 32-bit form the kernel gives device numbers (new_encode_dev).
std::uint32_t EncodeDevice(DeviceNumber device) {
  return (device.minor & 0xffu) | (device.major << 8) | ((device.minor & ~0xffu) << 12);
}

}  // namespace

std::string DecodeUdevEscapes(std::string_view name) {
  std::string decoded;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x' && HexValue(name[i + 2]) >= 0 &&
        HexValue(name[i + 3]) >= 0) {
      decoded += static_cast<char>(HexValue(name[i + 2]) * 16 + HexValue(name[i + 3]));
      i += 3;
    } else {
      decoded += name[i];
    }
  }
  return decoded;
}

std::optional<std::uint32_t> SerialFromUuid(std::string_view uuid) {
  std::string digits;
  for (char c : uuid)
    if (HexValue(c) >= 0) digits += c;
  if (digits.size() < kSerialDigits) return std::nullopt;
  const std::size_t first = digits.size() == kNtfsSerialDigits ? digits.size() - kSerialDigits : 0;
  std::uint32_t serial = 0;
  for (std::size_t i = first; i < first + kSerialDigits; ++i)
    serial = serial << 4 | static_cast<std::uint32_t>(HexValue(digits[i]));
  return serial;
}

std::optional<BlockIdentity> UdevIdentity(LinuxSystemCalls& system, const DriveMount& drive) {
  if (!drive.device) return BlockIdentity{};
  const auto uuid = FindDiskLink(system, kByUuid, drive.device->number);
  const auto label = FindDiskLink(system, kByLabel, drive.device->number);
  // udev knows the device: it makes a link for each of the two the volume has.
  if (uuid || label) return BlockIdentity{label.value_or(""), uuid.value_or("")};
  if (drive.device->path.empty()) return BlockIdentity{};
  return std::nullopt;
}

VolumeIdentity IdentityOf(const DriveMount& drive, const BlockIdentity& found, const FileSystemStats& stats) {
  VolumeIdentity identity;
  identity.label = found.label;
  if (auto serial = SerialFromUuid(found.uuid)) {
    identity.serialNumber = *serial;
  } else if (stats.fileSystemId != 0) {
    identity.serialNumber = static_cast<std::uint32_t>(stats.fileSystemId ^ (stats.fileSystemId >> 32));
  } else {
    identity.serialNumber = EncodeDevice(drive.entry.device);
  }
  return identity;
}

KnownVolume KnownVolumeOf(LinuxSystemCalls& system, const DriveMount& drive) {
  KnownVolume volume;
  if (drive.device) volume.uuid = FindDiskLink(system, kByUuid, drive.device->number).value_or("");
  const bool loop = drive.device && !drive.device->backingFile.empty();
  volume.source = loop ? drive.device->backingFile : drive.entry.source;
  volume.root = drive.entry.root;
  volume.mountPoint = drive.entry.mountPoint;
  return volume;
}

}  // namespace volumetra
