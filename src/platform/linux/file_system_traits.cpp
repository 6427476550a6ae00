#include "platform/linux/file_system_traits.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

namespace volumetra {
namespace {

using namespace std::string_view_literals;

constexpr std::array<std::pair<std::string_view, std::string_view>, 5> kWindowsNames = {{
    {"msdos"sv, "FAT"sv},
    {"exfat"sv, "exFAT"sv},
    {"ntfs"sv, "NTFS"sv},
    {"ntfs3"sv, "NTFS"sv},
    {"iso9660"sv, "CDFS"sv},
}};

constexpr std::string_view kVfat = "vfat";
// A FAT volume with at least this many clusters is FAT32.
constexpr std::uint64_t kMinFat32Clusters = 65525;
constexpr std::string_view kFusePrefix = "fuse.";

constexpr std::array kCaseInsensitiveTypes = {"vfat"sv, "msdos"sv, "exfat"sv};

constexpr std::int32_t kCaseSensitiveSearch = 0x00000001;
constexpr std::int32_t kCasePreservedNames = 0x00000002;
constexpr std::int32_t kReadOnlyVolume = 0x00080000;

}  // namespace

std::string FileSystemDisplayName(std::string_view type, std::uint64_t totalBlocks) {
  if (type == kVfat) return totalBlocks >= kMinFat32Clusters ? "FAT32" : "FAT";
  for (const auto& [linuxName, windowsName] : kWindowsNames)
    if (type == linuxName) return std::string(windowsName);
  if (type.starts_with(kFusePrefix)) type.remove_prefix(kFusePrefix.size());
  std::string name(type);
  std::transform(name.begin(), name.end(), name.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return name;
}

std::int32_t FileSystemFlags(std::string_view type, bool readOnly) {
  const bool caseInsensitive = std::find(kCaseInsensitiveTypes.begin(), kCaseInsensitiveTypes.end(), type) !=
                               kCaseInsensitiveTypes.end();
  std::int32_t flags = kCasePreservedNames;
  if (!caseInsensitive) flags |= kCaseSensitiveSearch;
  if (readOnly) flags |= kReadOnlyVolume;
  return flags;
}

}  // namespace volumetra
