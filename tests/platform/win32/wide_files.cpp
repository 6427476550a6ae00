#include "platform/win32/wide_files.h"

#include "platform/ini_file_access.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"
#include "platform/win32/wine_drives.h"

namespace volumetra {
namespace {

constexpr const char* kChattr = "/usr/bin/chattr";

// Wine's own export that names the Unix file behind a Windows path.
std::string UnixPathOf(const std::string& path) {
  using Function = char*(CDECL*)(const wchar_t*);
  const auto function = reinterpret_cast<Function>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
  if (!function) return {};
  char* unix = function(Wide(path).c_str());
  if (!unix) return {};
  std::string result = unix;
  HeapFree(GetProcessHeap(), 0, unix);
  return result;
}

// Starts a Unix command line. Wine gives no handle of a Unix process, so the caller waits for
// what the command does.
void StartUnix(const std::string& commandLine) {
  std::wstring command = Wide(commandLine);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process))
    return;
  if (process.hThread) CloseHandle(process.hThread);
  if (process.hProcess) CloseHandle(process.hProcess);
}

std::string ProbeIn(const std::string& directory) {
  return directory + "\\probe";
}

// True when `directory` refuses a new file. The probe is deleted on its close; when the directory
// was sealed between the two, it is left behind.
bool RefusesNewFiles(const std::string& directory) {
  HANDLE file = CreateFileW(Wide(ProbeIn(directory)).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE) return true;
  CloseHandle(file);
  return false;
}

// Waits up to 10 s for `directory` to refuse new files or to take them again, as `refusing` says.
bool AwaitRefusal(const std::string& directory, bool refusing) {
  for (int i = 0; i < 500; ++i) {
    if (RefusesNewFiles(directory) == refusing) return true;
    Sleep(20);
  }
  return false;
}

}  // namespace

bool MakeDirectories(const std::string& path) {
  for (std::size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1))
    CreateDirectoryW(Wide(path.substr(0, at)).c_str(), nullptr);
  CreateDirectoryW(Wide(path).c_str(), nullptr);
  const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ReadBytes(const std::string& path) {
  std::string bytes;
  ini_file::ReadWhole(path, bytes);
  return bytes;
}

bool WriteBytes(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                  written == bytes.size();
  CloseHandle(file);
  return ok;
}

std::vector<std::string> FileNamesIn(const std::string& directory) {
  std::vector<std::string> names;
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW(Wide(directory + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = Utf8(found.cFileName);
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

void RemoveTree(const std::string& path) {
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW(Wide(path + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = Utf8(found.cFileName);
      if (name == "." || name == "..") continue;
      const std::string entry = path + "\\" + name;
      SetFileAttributesW(Wide(entry).c_str(), FILE_ATTRIBUTE_NORMAL);
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(entry);
      } else {
        DeleteFileW(Wide(entry).c_str());
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(Wide(path).c_str());
}

std::string SystemProfileValue(const std::string& section, const std::string& key, const std::string& path) {
  wchar_t buffer[255] = {};
  const DWORD n = GetPrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(), L"", buffer, 255,
                                           Wide(path).c_str());
  return Utf8(std::wstring_view(buffer, n));
}

SealedDirectory::SealedDirectory(std::string path) : path_(std::move(path)), unixPath_(UnixPathOf(path_)) {
  if (unixPath_.empty() ||
      GetFileAttributesW(Wide(WindowsPathOf(kChattr)).c_str()) == INVALID_FILE_ATTRIBUTES)
    return;
  for (int attempt = 0; attempt < 3; ++attempt) {
    StartUnix(std::string(kChattr) + " +i \"" + unixPath_ + "\"");
    sealed_ = AwaitRefusal(path_, true);
    if (!sealed_ || GetFileAttributesW(Wide(ProbeIn(path_)).c_str()) == INVALID_FILE_ATTRIBUTES) return;
    // Sealed while a probe was open: it is left. The seal comes off until it is removed, then again.
    StartUnix(std::string(kChattr) + " -i \"" + unixPath_ + "\"");
    sealed_ = false;
    // Under Wine a deletion the sealed directory refuses still reports success: look whether it
    // is gone.
    bool removed = false;
    for (int i = 0; i < 500 && !removed; ++i) {
      DeleteFileW(Wide(ProbeIn(path_)).c_str());
      removed = GetFileAttributesW(Wide(ProbeIn(path_)).c_str()) == INVALID_FILE_ATTRIBUTES;
      if (!removed) Sleep(20);
    }
    if (!removed) return;
  }
}

SealedDirectory::~SealedDirectory() {
  if (unixPath_.empty()) return;
  StartUnix(std::string(kChattr) + " -i \"" + unixPath_ + "\"");
  if (sealed_) AwaitRefusal(path_, false);
}

}  // namespace volumetra
