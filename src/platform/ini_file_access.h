#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace volumetra::ini_file {

/// The file operations the initialisation-file code needs; one implementation per operating
/// system, chosen at build time. Nothing here throws.

enum class ReadStatus { Read, Missing, Failed };

/// The line end of a file the program creates: the platform's own ("\n", or "\r\n" on Windows).
/// Lines added to an existing file take that file's line end.
extern const char* const kNewFileLineEnd;

/// The system's 8-bit code page, in which a file without a byte-order mark that is no UTF-8 is
/// read and written: Windows' ANSI code page. On Linux, whose 8-bit text is UTF-8, the bytes stay
/// as they are.
std::string CodePageToUtf8(std::string_view bytes);
/// `utf8` in that code page; false when the code page lacks one of its characters.
bool Utf8ToCodePage(std::string_view utf8, std::string& bytes);

/// Reads the whole of an ordinary file into `content`. Missing when there is no file of that name,
/// Failed when there is one that cannot be read (or that is no ordinary file). Never blocks on a
/// FIFO or device that has the file's name. When it fails, the reason goes to `error` when given.
ReadStatus ReadWhole(const std::string& path, std::string& content, std::string* error = nullptr);

/// Where a write to `path` lands: the file a symbolic link names, so that the link stays.
std::string WriteTarget(const std::string& path);

/// True when the file at `path` exists and is read-only: no one may write it (no write permission
/// bit on Linux, the read-only attribute on Windows), or this process may not. A save leaves such a
/// file as it is.
bool IsReadOnly(const std::string& path);
/// The reason given for a read-only settings file.
inline constexpr const char* kReadOnlyReason = "read-only file";

/// Puts `content` in place of the file at `path` in one step, keeping the old file's permissions
/// (Linux) or attributes and security (Windows), so that a kill at any moment leaves the old file or
/// the new one. A read-only file is not replaced. `beforeReplace`, when set, runs once the new
/// content is complete and on disk. Afterwards what earlier saves left behind when they were
/// killed is removed. False when the file could not be replaced, with the system's reason in
/// `error` when given.
bool Replace(const std::string& path, const std::string& content, const std::function<void()>& beforeReplace,
             std::string* error = nullptr);

/// Removes the temporary files that saves of `path` left behind when they were killed (those of
/// processes that no longer run), including those of earlier versions of the program.
void RemoveLeftTemporaries(const std::string& path);

}  // namespace volumetra::ini_file
