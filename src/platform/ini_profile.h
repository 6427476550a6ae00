#pragma once

#include <functional>

#include "platform/profile_service.h"

namespace volumetra {

/// The initialisation-file format of the Windows profile functions, read and written by the
/// program itself (see IniDocument for the format).
///
/// A write replaces the whole file atomically: the new text goes to a temporary file beside it,
/// which is flushed to disk and renamed over the old one, so an interrupted save leaves the old
/// file or the new one, never a torn one. A write that would break the file's structure (a line
/// break in a name or value, see IsStorableIniEntry) is refused and returns 0, as is a write to a
/// file that exists but cannot be read. Lines of a new file end in "\n"; lines added to an
/// existing file take its first line end. Nothing here throws.
class IniProfile : public ProfileService {
 public:
  int GetPrivateProfileString(const std::string& section, const std::string& key,
                              const std::string& defaultValue, std::string& buffer, int size,
                              const std::string& path) override;
  int WritePrivateProfileString(const std::string& section, const std::string& key, const std::string& value,
                                const std::string& path) override;

  /// Runs after the temporary file is complete and on disk, just before it replaces the old file.
  /// Lets a test stop the process at the one moment where both versions exist.
  std::function<void()> beforeReplace;

 private:
  bool replaceFile(const std::string& path, const std::string& content);
};

}  // namespace volumetra
