#include "platform/linux/mount_info.h"

#include <charconv>
#include <optional>

namespace volumetra {
namespace {

// Fields are separated by single spaces; an empty field (a file system without a source name)
// stays in its place.
std::vector<std::string_view> SplitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = line.find(' ', start);
    fields.push_back(line.substr(start, end - start));
    if (end == std::string_view::npos) return fields;
    start = end + 1;
  }
}

bool IsOctalDigit(char c) {
  return c >= '0' && c <= '7';
}

// The kernel writes space, tab, newline and backslash in paths as \ooo.
std::string DecodeOctalEscapes(std::string_view field) {
  std::string decoded;
  decoded.reserve(field.size());
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size() && IsOctalDigit(field[i + 1]) &&
        IsOctalDigit(field[i + 2]) && IsOctalDigit(field[i + 3])) {
      decoded +=
          static_cast<char>(((field[i + 1] - '0') << 6) | ((field[i + 2] - '0') << 3) | (field[i + 3] - '0'));
      i += 3;
    } else {
      decoded += field[i];
    }
  }
  return decoded;
}

template <typename Number>
std::optional<Number> ParseNumber(std::string_view text) {
  Number value{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<DeviceNumber> ParseDevice(std::string_view text) {
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos) return std::nullopt;
  const auto major = ParseNumber<unsigned>(text.substr(0, colon));
  const auto minor = ParseNumber<unsigned>(text.substr(colon + 1));
  if (!major || !minor) return std::nullopt;
  return DeviceNumber{*major, *minor};
}

// Fields: id parent major:minor root mount-point options [optional fields...] - type source super-options
std::optional<MountEntry> ParseLine(std::string_view line) {
  const std::vector<std::string_view> fields = SplitFields(line);
  std::size_t separator = 6;
  while (separator < fields.size() && fields[separator] != "-") ++separator;
  if (separator + 2 >= fields.size()) return std::nullopt;
  const auto mountId = ParseNumber<int>(fields[0]);
  const auto parentId = ParseNumber<int>(fields[1]);
  const auto device = ParseDevice(fields[2]);
  if (!mountId || !parentId || !device) return std::nullopt;
  MountEntry entry;
  entry.mountId = *mountId;
  entry.parentId = *parentId;
  entry.device = *device;
  entry.root = DecodeOctalEscapes(fields[3]);
  entry.mountPoint = DecodeOctalEscapes(fields[4]);
  entry.fileSystemType = DecodeOctalEscapes(fields[separator + 1]);
  entry.source = DecodeOctalEscapes(fields[separator + 2]);
  return entry;
}

}  // namespace

std::vector<MountEntry> ParseMountInfo(std::string_view text) {
  std::vector<MountEntry> entries;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    if (auto entry = ParseLine(text.substr(start, end - start))) entries.push_back(std::move(*entry));
    start = end + 1;
  }
  return entries;
}

}  // namespace volumetra
