#pragma once

#include <filesystem>
#include <string>

namespace volumetra {

/// The user's home directory: $HOME when it is absolute, else the password database's entry, else
/// "/".
std::string HomeDirectory();

/// An XDG base directory: the environment variable `variable` when it holds an absolute path,
/// else `underHome` below the home directory (XDG_CONFIG_HOME and ".config", XDG_STATE_HOME and
/// ".local/state").
std::string XdgDirectory(const char* variable, const char* underHome);

/// Creates `directory` and every missing parent, each with mode 0700 (only the user's); a failure
/// shows when the directory is used.
void CreatePrivateDirectories(const std::filesystem::path& directory);

}  // namespace volumetra
