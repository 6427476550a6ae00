#pragma once

#include <string>
#include <vector>

namespace volumetra {

/// Mounts made by a test, unmounted in reverse order at the end of its scope whatever happens.
class ScratchMounts {
 public:
  ScratchMounts() = default;
  ~ScratchMounts();
  ScratchMounts(const ScratchMounts&) = delete;
  ScratchMounts& operator=(const ScratchMounts&) = delete;

  /// mount -o loop: a file-system image on a loop device (freed again at unmount).
  bool MountImage(const std::string& image, const std::string& directory);
  bool MountTmpfs(const std::string& directory, const std::string& options);
  bool Bind(const std::string& from, const std::string& directory);

 private:
  std::vector<std::string> mounted_;
};

/// Runs a shell command quietly; true when it exits with 0.
bool RunQuietly(const std::string& command);

/// The kernel can mount file systems of type `type`.
bool KernelSupports(const std::string& type);

}  // namespace volumetra
