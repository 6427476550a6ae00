// The initialisation file's file operations on Windows.
#include "platform/ini_file_access.h"

#include <algorithm>
#include <string_view>

#include "platform/ini_temporaries.h"
#include "platform/win32/system_error_text.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"

namespace volumetra::ini_file {

const char* const kNewFileLineEnd = "\r\n";

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

struct HandleCloser {
  HANDLE handle;
  ~HandleCloser() {
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  }
};

bool WriteAll(HANDLE file, const std::string& content) {
  std::size_t done = 0;
  while (done < content.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(content.size() - done, 1u << 30));
    DWORD written = 0;
    if (!WriteFile(file, content.data() + done, chunk, &written, nullptr) || written == 0) return false;
    done += written;
  }
  return true;
}

std::size_t LastSeparator(const std::string& path) {
  return path.find_last_of("\\/");
}

std::string DirectoryOf(const std::string& path) {
  const std::size_t separator = LastSeparator(path);
  return separator == std::string::npos ? "." : path.substr(0, separator);
}

std::string NameOf(const std::string& path) {
  const std::size_t separator = LastSeparator(path);
  return separator == std::string::npos ? path : path.substr(separator + 1);
}

bool ProcessRuns(DWORD pid) {
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  if (process == nullptr) return GetLastError() != ERROR_INVALID_PARAMETER;  // no such process
  DWORD exitCode = 0;
  const bool runs = !GetExitCodeProcess(process, &exitCode) || exitCode == STILL_ACTIVE;
  CloseHandle(process);
  return runs;
}

// Creates the temporary file `temp` for writing. A file of that name can only have been left by an
// ended process with this process's id, so it is removed and the name taken.
HANDLE CreateTemporary(const std::wstring& temp, DWORD attributes) {
  const auto create = [&] {
    return CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributes, nullptr);
  };
  HANDLE file = create();
  if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return file;
  return DeleteFileW(temp.c_str()) ? create() : INVALID_HANDLE_VALUE;
}

// No file of that name: the file or one of the directories above it does not exist. A file that
// stands where a directory of the path should be is no missing file but a path that cannot work.
bool IsMissing(const std::string& path, DWORD error) {
  if (error == ERROR_FILE_NOT_FOUND) return true;
  if (error != ERROR_PATH_NOT_FOUND) return false;
  const DWORD parent = GetFileAttributesW(Wide(DirectoryOf(path)).c_str());
  return parent == INVALID_FILE_ATTRIBUTES || (parent & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

// Removes "<name>.tmp.<pid>.<n>" files of `path` whose writing process no longer runs. Run when no
// save of this process is under way (saves are made one at a time, start to end), so a file named
// with this process's id was left by an ended process that had the same id.
void RemoveLeftTemporaries(const std::string& path) {
  const std::string directory = DirectoryOf(path);
  const std::string prefix = TemporaryPrefix(NameOf(path));
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW(Wide(directory + "\\" + prefix + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    const std::string name = Utf8(found.cFileName);
    const DWORD writer = TemporaryWriter(name, prefix);
    if (writer == 0 || (writer != GetCurrentProcessId() && ProcessRuns(writer))) continue;
    DeleteFileW(Wide(directory + "\\" + name).c_str());
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

std::string CodePageToUtf8(std::string_view bytes) {
  return Utf8FromAnsi(bytes);
}

bool Utf8ToCodePage(std::string_view utf8, std::string& bytes) {
  if (!FitsAnsiCodePage(utf8)) return false;
  bytes = AnsiFromUtf8(utf8);
  return true;
}

ReadStatus ReadWhole(const std::string& path, std::string& content, std::string* error) {
  const auto fail = [error](std::string reason) {
    if (error) *error = std::move(reason);
    return ReadStatus::Failed;
  };
  HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD reason = GetLastError();
    return IsMissing(path, reason) ? ReadStatus::Missing : fail(SystemErrorText(reason));
  }
  HandleCloser closer{file};
  if (GetFileType(file) != FILE_TYPE_DISK) return fail("not an ordinary file");
  content.clear();
  char chunk[65536];
  for (;;) {
    DWORD n = 0;
    if (!ReadFile(file, chunk, sizeof chunk, &n, nullptr)) return fail(SystemErrorText(GetLastError()));
    if (n == 0) return ReadStatus::Read;
    content.append(chunk, n);
  }
}

std::string WriteTarget(const std::string& path) {
  const std::wstring wide = Wide(path);
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return path;
  HANDLE file =
      CreateFileW(wide.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return path;
  HandleCloser closer{file};
  const DWORD needed = GetFinalPathNameByHandleW(file, nullptr, 0, FILE_NAME_NORMALIZED);
  if (needed == 0) return path;
  std::wstring target(needed, L'\0');
  const DWORD length = GetFinalPathNameByHandleW(file, target.data(), needed, FILE_NAME_NORMALIZED);
  if (length == 0 || length >= needed) return path;
  target.resize(length);
  // "\\?\C:\dir" is "C:\dir", "\\?\UNC\server\share" is "\\server\share".
  std::wstring_view resolved = target;
  if (resolved.starts_with(L"\\\\?\\UNC\\")) return "\\" + Utf8(resolved.substr(7));
  if (resolved.starts_with(L"\\\\?\\")) resolved.remove_prefix(4);
  return Utf8(resolved);
}

bool IsReadOnly(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

bool Replace(const std::string& path, const std::string& content, const std::function<void()>& beforeReplace,
             std::string* error) {
  const auto fail = [error](std::string reason) {
    if (error) *error = std::move(reason);
    return false;
  };
  // A read-only file is not replaced, as Windows refuses to write it (Wine would rename over it).
  if (IsReadOnly(path)) return fail(kReadOnlyReason);
  const std::wstring widePath = Wide(path);
  const std::wstring wideTemp = Wide(NewTemporaryName(path, GetCurrentProcessId()));
  // ReplaceFileW gives the new file the old one's attributes, but Wine's does not: the new file
  // starts with those a user sets.
  constexpr DWORD kUserAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                    FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
  const DWORD old = GetFileAttributesW(widePath.c_str());
  const DWORD attributes = old == INVALID_FILE_ATTRIBUTES ? 0 : old & kUserAttributes;
  HANDLE file = CreateTemporary(wideTemp, attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes);
  if (file == INVALID_HANDLE_VALUE) return fail(SystemErrorText(GetLastError()));
  bool ok;
  {
    HandleCloser closer{file};
    ok = WriteAll(file, content) && FlushFileBuffers(file);
  }
  if (ok && beforeReplace) beforeReplace();
  // ReplaceFileW also keeps the old file's security, creation time and streams; a file that does
  // not exist yet is the temporary file renamed.
  ok =
      ok &&
      (ReplaceFileW(widePath.c_str(), wideTemp.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                    nullptr) ||
       (GetLastError() == ERROR_FILE_NOT_FOUND &&
        MoveFileExW(wideTemp.c_str(), widePath.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)));
  if (!ok) {
    const DWORD reason = GetLastError();
    DeleteFileW(wideTemp.c_str());
    return fail(SystemErrorText(reason));
  }
  RemoveLeftTemporaries(path);
  return true;
}

}  // namespace volumetra::ini_file
