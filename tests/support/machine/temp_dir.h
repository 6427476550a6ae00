#pragma once

#include <filesystem>
#include <string>

namespace volumetra {

/// A fresh directory of the tests' own under the system's temporary folder, with a name no other
/// process can guess, made only where no directory was (mkdtemp; on Windows an exclusive creation
/// of a random name). It goes with all its content at the end of its scope, after the mounts
/// made in it, which are declared later and so go first.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string str() const { return path_.string(); }
  /// Makes the directory `name` inside and returns its path.
  std::string MakeDirectory(const std::string& name) const;

 private:
  std::filesystem::path path_;
};

}  // namespace volumetra
