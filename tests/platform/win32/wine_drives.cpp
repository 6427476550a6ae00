#include "platform/win32/wine_drives.h"

#include <cstdlib>
#include <string_view>

namespace volumetra {

bool WineDrivesPrepared(bool large) {
  const char* prepared = std::getenv("VOLUMETRA_WINE_DRIVES");
  if (!prepared || std::string_view(prepared).find("drives") == std::string_view::npos) return false;
  return !large || std::string_view(prepared).find("large") != std::string_view::npos;
}

std::optional<DeadShare> PreparedDeadShare() {
  const char* prepared = std::getenv("VOLUMETRA_DEAD_SHARE");
  if (!prepared || std::string_view(prepared).size() < 2) return std::nullopt;
  return DeadShare{prepared[0], WindowsPathOf(prepared + 1)};
}

std::string WindowsPathOf(const std::string& unixPath) {
  std::string path = "Z:" + unixPath;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

}  // namespace volumetra
