#include "platform/linux/user_directories.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace volumetra {
namespace {

constexpr mode_t kPrivateDirectoryMode = 0700;
constexpr std::size_t kPasswordBufferBytes = 16384;

}  // namespace

std::string HomeDirectory() {
  if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/') return home;
  std::vector<char> buffer(kPasswordBufferBytes);
  passwd entry{};
  passwd* found = nullptr;
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr)
    return found->pw_dir;
  return "/";
}

std::string XdgDirectory(const char* variable, const char* underHome) {
  if (const char* value = std::getenv(variable); value != nullptr && value[0] == '/') return value;
  return HomeDirectory() + "/" + underHome;
}

void CreatePrivateDirectories(const std::filesystem::path& directory) {
  std::filesystem::path partial;
  for (const auto& part : directory) {
    partial /= part;
    mkdir(partial.c_str(), kPrivateDirectoryMode);
  }
}

}  // namespace volumetra
