#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/linux/drive_letters.h"

namespace volumetra {

/// The file that keeps the drive letters of known volumes between runs, in the user's state
/// directory: $XDG_STATE_HOME/volumetra/drive-letters, by default ~/.local/state/volumetra/.
/// One line per letter: the letter, the UUID, the source, the mounted directory and the mount
/// point, separated by tabs, with tab, line feed and backslash written as \t, \n and \\.
std::string DefaultLetterFile();

/// The longest source, directory or mount point the file keeps; a volume with a longer one is not
/// remembered. With at most 23 lines, this bounds the file.
inline constexpr std::size_t kMaxLetterFileField = 1024;
/// A larger file is not read.
inline constexpr std::size_t kMaxLetterFileBytes = 256 * 1024;

std::string FormatLetterFile(const KnownLetters& letters);
/// nullopt for a text that is not such a file (any line out of form, a letter outside D to Z or
/// given twice).
std::optional<KnownLetters> ParseLetterFile(std::string_view text);

/// The letters in the file at `path`; nullopt when it is missing, unreadable, too large or corrupt.
std::optional<KnownLetters> ReadLetterFile(const std::string& path);

/// Replaces the file at `path` in one step (see SaveSafely), creating its directory; false when
/// that cannot be done. A reader sees the old file or the new one, never a part.
bool WriteLetterFile(const std::string& path, const KnownLetters& letters);

}  // namespace volumetra
