#include "platform/ini_temporaries.h"

#include <atomic>

namespace volumetra::ini_file {
namespace {

constexpr std::string_view kTemporaryMark = ".tmp.";

}  // namespace

std::string NewTemporaryName(const std::string& path, std::uint32_t pid) {
  static std::atomic<unsigned> counter{0};
  return path + std::string(kTemporaryMark) + std::to_string(pid) + "." + std::to_string(counter++);
}

std::string TemporaryPrefix(const std::string& fileName) {
  return fileName + std::string(kTemporaryMark);
}

std::uint32_t TemporaryWriter(std::string_view name, std::string_view prefix) {
  if (!name.starts_with(prefix)) return 0;
  std::uint32_t pid = 0;
  for (char c : name.substr(prefix.size())) {
    if (c == '.') break;
    if (c < '0' || c > '9' || pid > 100000000) return 0;
    pid = pid * 10 + static_cast<std::uint32_t>(c - '0');
  }
  return pid;
}

}  // namespace volumetra::ini_file
