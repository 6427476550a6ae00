#include "platform/linux/letter_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <filesystem>

#include "platform/linux/safe_save.h"
#include "platform/linux/user_directories.h"

namespace volumetra {
namespace {

constexpr const char* kHeader = "# Volumetra: the drive letters of the volumes it has seen\n";
constexpr const char* kStateDirectory = "volumetra";
constexpr const char* kFileName = "drive-letters";
constexpr std::size_t kFields = 5;
constexpr mode_t kFileMode = 0600;

void AppendEscaped(std::string& out, const std::string& field) {
  for (char c : field) {
    switch (c) {
      case '\t':
        out += "\\t";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\\':
        out += "\\\\";
        break;
      default:
        out += c;
    }
  }
}

std::optional<std::string> Unescaped(std::string_view field) {
  std::string text;
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] != '\\') {
      text += field[i];
      continue;
    }
    if (++i == field.size()) return std::nullopt;
    switch (field[i]) {
      case 't':
        text += '\t';
        break;
      case 'n':
        text += '\n';
        break;
      case '\\':
        text += '\\';
        break;
      default:
        return std::nullopt;
    }
  }
  return text;
}

bool Fits(const KnownVolume& volume) {
  for (const std::string* field : {&volume.uuid, &volume.source, &volume.root, &volume.mountPoint})
    if (field->size() > kMaxLetterFileField) return false;
  return true;
}

std::optional<std::pair<char, KnownVolume>> ParseLine(std::string_view line) {
  std::array<std::string, kFields> fields;
  std::size_t count = 0;
  for (std::size_t start = 0;; ++count) {
    const std::size_t tab = line.find('\t', start);
    if (count == kFields) return std::nullopt;
    std::optional<std::string> field = Unescaped(line.substr(start, tab - start));
    if (!field) return std::nullopt;
    fields[count] = std::move(*field);
    if (tab == std::string_view::npos) break;
    start = tab + 1;
  }
  if (count + 1 != kFields || fields[0].size() != 1 || fields[0][0] < 'D' || fields[0][0] > 'Z')
    return std::nullopt;
  KnownVolume volume{fields[1], fields[2], fields[3], fields[4]};
  if (!Fits(volume) || volume.mountPoint.empty()) return std::nullopt;
  return std::pair{fields[0][0], std::move(volume)};
}

}  // namespace

std::string DefaultLetterFile() {
  return XdgDirectory("XDG_STATE_HOME", ".local/state") + "/" + kStateDirectory + "/" + kFileName;
}

std::string FormatLetterFile(const KnownLetters& letters) {
  std::string text = kHeader;
  for (const auto& [letter, volume] : letters) {
    if (!Fits(volume)) continue;
    text += letter;
    for (const std::string* field : {&volume.uuid, &volume.source, &volume.root, &volume.mountPoint}) {
      text += '\t';
      AppendEscaped(text, *field);
    }
    text += '\n';
  }
  return text;
}

std::optional<KnownLetters> ParseLetterFile(std::string_view text) {
  KnownLetters letters;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    if (end == std::string_view::npos) return std::nullopt;  // cut off
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(end + 1);
    if (line.empty() || line.starts_with('#')) continue;
    std::optional<std::pair<char, KnownVolume>> entry = ParseLine(line);
    if (!entry || !letters.insert(std::move(*entry)).second) return std::nullopt;
  }
  return letters;
}

std::optional<KnownLetters> ReadLetterFile(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  std::string text;
  char chunk[4096];
  ssize_t n = 0;
  while ((n = read(fd, chunk, sizeof chunk)) != 0) {
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 || text.size() + static_cast<std::size_t>(n) > kMaxLetterFileBytes) {
      close(fd);
      return std::nullopt;
    }
    text.append(chunk, static_cast<std::size_t>(n));
  }
  close(fd);
  return ParseLetterFile(text);
}

bool WriteLetterFile(const std::string& path, const KnownLetters& letters) {
  CreatePrivateDirectories(std::filesystem::path(path).parent_path());
  return SaveSafely(path, FormatLetterFile(letters), {.newFileMode = kFileMode});
}

}  // namespace volumetra
