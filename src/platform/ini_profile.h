#pragma once

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>

#include "platform/ini_document.h"
#include "platform/ini_encoding.h"
#include "platform/profile_service.h"

namespace volumetra {

/// The initialisation-file format of the Windows profile functions, read and written by the
/// program itself (see IniDocument for the format), the same on every platform.
///
/// A write replaces the whole file in one step (see ini_file::Replace), so an interrupted save
/// leaves the old file or the new one, never a torn one. Between BeginWrites and CommitWrites the
/// writes edit the files' texts in memory and the commit replaces each changed file once, so a
/// save of many keys is one step as well. A write that would break the file's structure (a line
/// break in a name or value, see IsStorableIniEntry) is refused and returns 0, as is a write to a
/// file that exists but cannot be read (or not without loss). Lines of a new file end in the
/// platform's line end (ini_file::kNewFileLineEnd); lines added to an existing file take its first
/// line end.
///
/// Names and values are UTF-8. A file is read in the form the profile functions read (a UTF-16 or
/// UTF-8 byte-order mark, else UTF-8 or the system's 8-bit code page, see ini_file::DecodeText)
/// and written back in that form; where the 8-bit code page cannot hold a value, the file becomes
/// UTF-16 with a mark, so that nothing is lost. Nothing here throws.
class IniProfile : public ProfileService {
 public:
  int GetPrivateProfileString(const std::string& section, const std::string& key,
                              const std::string& defaultValue, std::string& buffer, int size,
                              const std::string& path) override;
  int WritePrivateProfileString(const std::string& section, const std::string& key, const std::string& value,
                                const std::string& path) override;
  void BeginWrites() override;
  bool CommitWrites() override;
  std::string WriteError() const override { return writeError_; }

  /// Runs after a temporary file is complete and on disk, just before it replaces the old file.
  /// Lets a test stop the process at the one moment where both versions exist.
  std::function<void()> beforeReplace;

 private:
  /// A file being edited in memory: its text as read (in UTF-8), the form it is stored in, and
  /// the text as edited.
  struct PendingFile {
    std::string original;
    ini_file::TextEncoding encoding;
    IniDocument document;
  };
  /// The pending file of `path` (a write target), read on first use; nullptr when it exists but
  /// cannot be read.
  PendingFile* pending(const std::string& target);
  bool commit(const std::string& target, const PendingFile& file);
  /// Removes, once per file and process, what killed saves of `target` left behind, whether or not
  /// this run writes the file.
  void sweepOnce(const std::string& target);

  bool collecting_ = false;
  std::string writeError_;
  std::set<std::string> swept_;
  std::map<std::string, std::optional<PendingFile>> pending_;
};

}  // namespace volumetra
