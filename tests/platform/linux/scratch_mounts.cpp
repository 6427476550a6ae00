#include "platform/linux/scratch_mounts.h"

#include <sys/mount.h>

#include <cstdlib>
#include <fstream>

namespace volumetra {

ScratchMounts::~ScratchMounts() {
  for (auto it = mounted_.rbegin(); it != mounted_.rend(); ++it)
    if (umount2(it->c_str(), 0) != 0) umount2(it->c_str(), MNT_DETACH);
}

bool ScratchMounts::MountImage(const std::string& image, const std::string& directory) {
  if (!RunQuietly("mount -o loop '" + image + "' '" + directory + "'")) return false;
  mounted_.push_back(directory);
  return true;
}

bool ScratchMounts::MountTmpfs(const std::string& directory, const std::string& options) {
  if (mount("tmpfs", directory.c_str(), "tmpfs", 0, options.c_str()) != 0) return false;
  mounted_.push_back(directory);
  return true;
}

bool ScratchMounts::Bind(const std::string& from, const std::string& directory) {
  if (mount(from.c_str(), directory.c_str(), nullptr, MS_BIND, nullptr) != 0) return false;
  mounted_.push_back(directory);
  return true;
}

bool RunQuietly(const std::string& command) {
  return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

bool KernelSupports(const std::string& type) {
  std::ifstream filesystems("/proc/filesystems");
  std::string line;
  while (std::getline(filesystems, line)) {
    const std::size_t tab = line.rfind('\t');
    if (line.substr(tab == std::string::npos ? 0 : tab + 1) == type) return true;
  }
  return false;
}

}  // namespace volumetra
