#pragma once

#include <string>

namespace volumetra {

/// Initialisation-file access in the shape of the Windows profile functions. Section and key
/// names match without regard to case. Every text is UTF-8.
class ProfileService {
 public:
  virtual ~ProfileService() = default;

  /// GetPrivateProfileString: puts the value of `key` (or `defaultValue` when the file or key is
  /// missing) into `buffer`, as many whole characters as fit into `size` - 1 UTF-16 code units (the
  /// room the system's function has beside its NUL), and returns the length of `buffer` in bytes.
  virtual int GetPrivateProfileString(const std::string& section, const std::string& key,
                                      const std::string& defaultValue, std::string& buffer, int size,
                                      const std::string& path) = 0;

  /// WritePrivateProfileString: stores `value` under `key`, creating the file and section when
  /// missing, replacing a value in place and keeping every other line. Nonzero on success.
  virtual int WritePrivateProfileString(const std::string& section, const std::string& key,
                                        const std::string& value, const std::string& path) = 0;

  /// Collects the writes that follow, up to CommitWrites, and puts each file they change in place
  /// at once, so that the keys of one save land together or not at all. A write made meanwhile
  /// returns whether it could be stored; the commit tells whether the files were written.
  virtual void BeginWrites() {}
  virtual bool CommitWrites() { return true; }
  /// Why the last write or commit that failed did so ("read-only file", the system's reason);
  /// empty when the backend cannot tell.
  virtual std::string WriteError() const { return {}; }
};

}  // namespace volumetra
