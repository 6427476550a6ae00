#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <string_view>

namespace volumetra {

/// How SaveSafely writes a file.
struct SafeSaveOptions {
  /// The permissions of a file that does not exist yet, less the umask. A replaced file keeps its
  /// own.
  mode_t newFileMode = 0666;
  /// Runs once the new content is complete and on disk, before it takes the file's name. Lets a
  /// test stop the process at that moment.
  std::function<void()> beforeReplace = {};
};

/// Puts `content` in place of the file at `path` in one step, so that a reader, a kill or a crash
/// meets the old file or the new one, never a torn or mixed one. The content is written to an
/// unnamed file in the same directory (O_TMPFILE), which no other process can open and which
/// vanishes with a process killed while writing it; it is synced and then linked in under a
/// passing name that is renamed over the file at once. On a file system without unnamed files a
/// file of that passing name is written instead. Passing names are those of RemoveEndedSaves, so
/// what a save killed between its link and its rename (or on such a file system) leaves is
/// removed by the next save. False when the file could not be replaced, with the system's reason
/// in `error` when given; the old file is then untouched and nothing is left beside it.
bool SaveSafely(const std::string& path, std::string_view content, const SafeSaveOptions& options = {},
                std::string* error = nullptr);

/// Removes what saves of `path` left behind when their process was killed: the files
/// "<name>.tmp.<pid>.<n>" beside it whose process no longer runs. Earlier versions named every
/// save's temporary file so; files they left are removed here as well.
void RemoveEndedSaves(const std::string& path);

}  // namespace volumetra
