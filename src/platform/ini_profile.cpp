#include "platform/ini_profile.h"

#include "platform/ini_encoding.h"
#include "platform/ini_file_access.h"

namespace volumetra {

int IniProfile::GetPrivateProfileString(const std::string& section, const std::string& key,
                                        const std::string& defaultValue, std::string& buffer, int size,
                                        const std::string& path) {
  std::optional<std::string> value;
  const std::string target = ini_file::WriteTarget(path);
  sweepOnce(target);
  const auto held = pending_.find(target);
  if (held != pending_.end() && held->second) {
    value = held->second->document.value(section, key);
  } else if (std::string content; ini_file::ReadWhole(path, content) == ini_file::ReadStatus::Read) {
    value = IniDocument(ini_file::DecodeText(content).utf8).value(section, key);
  }
  const std::string& found = value ? *value : defaultValue;
  const std::size_t room = size > 0 ? static_cast<std::size_t>(size - 1) : 0;
  buffer = found.substr(0, ini_file::Utf8PrefixWithin(found, room));
  return static_cast<int>(buffer.size());
}

IniProfile::PendingFile* IniProfile::pending(const std::string& target) {
  auto found = pending_.find(target);
  if (found == pending_.end()) {
    std::string content;
    std::optional<PendingFile> file;
    // A file that exists but cannot be read, or not without loss, is left alone rather than
    // replaced by a few keys.
    if (ini_file::ReadWhole(target, content, &writeError_) != ini_file::ReadStatus::Failed) {
      ini_file::DecodedText decoded = ini_file::DecodeText(content);
      IniDocument document(decoded.utf8, ini_file::kNewFileLineEnd);
      if (decoded.exact) {
        file = PendingFile{std::move(decoded.utf8), decoded.encoding, std::move(document)};
      } else {
        writeError_ = "its text cannot be kept whole";
      }
    }
    found = pending_.emplace(target, std::move(file)).first;
  }
  return found->second ? &*found->second : nullptr;
}

void IniProfile::sweepOnce(const std::string& target) {
  if (swept_.insert(target).second) ini_file::RemoveLeftTemporaries(target);
}

bool IniProfile::commit(const std::string& target, const PendingFile& file) {
  sweepOnce(target);
  const std::string updated = file.document.text();
  if (updated == file.original) return true;
  ini_file::TextEncoding encoding = file.encoding;
  return ini_file::Replace(target, ini_file::EncodeText(updated, encoding), beforeReplace, &writeError_);
}

int IniProfile::WritePrivateProfileString(const std::string& section, const std::string& key,
                                          const std::string& value, const std::string& path) {
  if (!IsStorableIniEntry(section, key, value)) {
    writeError_ = "a value holds a line break";
    return 0;
  }
  const std::string target = ini_file::WriteTarget(path);
  PendingFile* file = pending(target);
  if (!file) {
    if (!collecting_) pending_.erase(target);
    return 0;
  }
  file->document.set(section, key, value);
  if (collecting_) return 1;
  const bool written = commit(target, *file);
  pending_.erase(target);
  return written ? 1 : 0;
}

void IniProfile::BeginWrites() {
  collecting_ = true;
}

bool IniProfile::CommitWrites() {
  bool written = true;
  for (const auto& [target, file] : pending_) {
    if (file) written = commit(target, *file) && written;
  }
  pending_.clear();
  collecting_ = false;
  return written;
}

}  // namespace volumetra
