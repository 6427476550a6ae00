#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace volumetra::ini_file {

/// The names a save gives its new content beside the file it replaces before it takes the file's
/// name (on Linux only for a moment, or where unnamed files cannot be made): "<file>.tmp.<pid>.<n>",
/// after the writing process, so that a later save can tell and remove those of killed processes.

/// A temporary file name for `path` not used before by process `pid`.
std::string NewTemporaryName(const std::string& path, std::uint32_t pid);

/// How the names of the temporary files of the file named `fileName` begin.
std::string TemporaryPrefix(const std::string& fileName);

/// The process that wrote the temporary file `name`, whose name begins with `prefix`; 0 when
/// `name` is no temporary file of that form.
std::uint32_t TemporaryWriter(std::string_view name, std::string_view prefix);

}  // namespace volumetra::ini_file
