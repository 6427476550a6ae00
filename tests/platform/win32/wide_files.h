#pragma once

#include <string>
#include <vector>

namespace volumetra {

/// Files of the Windows tests named by UTF-8 paths through the wide calls, so that a path beyond
/// the ANSI code page ("Fotos für Oma\写真") means what it says.

/// "Fotos für Oma\写真": a directory name with a character of code page 1252 and two beyond it.
inline const std::string kPhotosFolder = "Fotos f\xC3\xBCr Oma\\\xE5\x86\x99\xE7\x9C\x9F";

/// Creates `path` and every missing directory above it; true when it exists afterwards.
bool MakeDirectories(const std::string& path);
/// The bytes of the file at `path`; empty when there is none.
std::string ReadBytes(const std::string& path);
/// Replaces the file at `path` by `bytes`.
bool WriteBytes(const std::string& path, const std::string& bytes);
/// The names in `directory`, as FindFirstFileW lists them.
std::vector<std::string> FileNamesIn(const std::string& directory);
/// Removes the directory `path` with everything in it.
void RemoveTree(const std::string& path);
/// GetPrivateProfileStringW, as UTF-8: the value of `key` with the program's 255-unit buffer.
std::string SystemProfileValue(const std::string& section, const std::string& key, const std::string& path);

/// A directory that takes no new file and lets none be removed, made with Linux's immutable
/// attribute (chattr +i, which takes root; Wine starts Unix programs too) since Wine keeps no
/// access lists; Wine reports the refusal as access denied. `sealed` tells whether it worked.
class SealedDirectory {
 public:
  explicit SealedDirectory(std::string path);
  ~SealedDirectory();
  SealedDirectory(const SealedDirectory&) = delete;
  SealedDirectory& operator=(const SealedDirectory&) = delete;
  bool sealed() const { return sealed_; }

 private:
  std::string path_;
  std::string unixPath_;
  bool sealed_ = false;
};

}  // namespace volumetra
