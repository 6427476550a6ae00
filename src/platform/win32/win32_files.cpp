#include "platform/win32/win32_files.h"

#include <vector>

#include "platform/ini_file_access.h"
#include "platform/ini_temporaries.h"
#include "platform/win32/system_error_text.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"

namespace volumetra {
namespace {

// The folder of the user's roaming application data that holds the settings the program's folder
// cannot take.
constexpr const char* kApplicationFolder = "Volumetra";
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

std::string ExecutableOfThisProcess() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) return Utf8(std::wstring_view(buffer.data(), length));
    buffer.resize(buffer.size() * 2);
  }
}

// %APPDATA%, which Windows sets for every user's session: the roaming application-data folder,
// without the shell's library, whose loading would cost every start megabytes and milliseconds.
std::string RoamingApplicationData() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD length =
        GetEnvironmentVariableW(L"APPDATA", buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) return Utf8(std::wstring_view(buffer.data(), length));
    buffer.resize(length);
  }
}

// Creates a temporary file of a save of `path` beside it, which the system deletes again as it is
// closed: ERROR_SUCCESS when the directory takes new files, else the system's error.
DWORD TryNewFileBeside(const std::string& path) {
  const std::wstring temp = Wide(ini_file::NewTemporaryName(path, GetCurrentProcessId()));
  HANDLE file =
      CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                  FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE) return GetLastError();
  CloseHandle(file);
  return ERROR_SUCCESS;
}

std::size_t NameStart(const std::string& path) {
  const std::size_t separator = path.find_last_of("\\/:");
  return separator == std::string::npos ? 0 : separator + 1;
}

// Cuts a line that landed only in part off the end of the file again.
bool CutBack(const std::string& path, DWORD written) {
  HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size{};
  bool cut = GetFileSizeEx(file, &size) && size.QuadPart >= written;
  if (cut) {
    FILE_END_OF_FILE_INFO end{};
    end.EndOfFile.QuadPart = size.QuadPart - written;
    cut = SetFileInformationByHandle(file, FileEndOfFileInfo, &end, sizeof end);
  }
  CloseHandle(file);
  return cut;
}

}  // namespace

Win32Files::Win32Files() : Win32Files(ExecutableOfThisProcess()) {}

Win32Files::Win32Files(std::string executablePath, std::string roamingDirectory)
    : executablePath_(std::move(executablePath)), roamingDirectory_(std::move(roamingDirectory)) {}

std::string Win32Files::ProgramDirectory() {
  if (programDirectory_) return *programDirectory_;
  const std::string beside = ExecutableDirectory();
  programDirectory_ = beside;
  if (beside.empty() || TryNewFileBeside(beside + "\\" + ExecutableBaseName() + ".ini") == ERROR_SUCCESS)
    return beside;
  const std::string roaming = roamingDirectory_.empty() ? RoamingApplicationData() : roamingDirectory_;
  if (roaming.empty()) return beside;
  programDirectory_ = roaming + "\\" + kApplicationFolder;
  CreateDirectoryW(Wide(*programDirectory_).c_str(), nullptr);
  return *programDirectory_;
}

std::string Win32Files::ExecutableDirectory() {
  const std::size_t start = NameStart(executablePath_);
  if (start == 0) return {};
  // "C:\volumetra.exe" lies in "C:"; other directories lose their trailing "\".
  return executablePath_.substr(0, executablePath_[start - 1] == ':' ? start : start - 1);
}

std::string Win32Files::ExecutableBaseName() {
  const std::string name = executablePath_.substr(NameStart(executablePath_));
  const std::size_t dot = name.rfind('.');
  return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

std::string Win32Files::CurrentDirectory() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD length = GetCurrentDirectoryW(static_cast<DWORD>(buffer.size()), buffer.data());
    if (length == 0) return {};
    if (length < buffer.size()) return Utf8(std::wstring_view(buffer.data(), length));
    buffer.resize(length + 1);
  }
}

bool Win32Files::SetCurrentDirectory(const std::string& path) {
  // "C:" alone names the drive's own current directory; the program directory "C:" is its root.
  const std::string target = path.size() == 2 && path[1] == ':' ? path + "\\" : path;
  return SetCurrentDirectoryW(Wide(target).c_str());
}

bool Win32Files::IsOrdinaryFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  constexpr DWORD kNotOrdinary =
      FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DEVICE;
  return (attributes & kNotOrdinary) == 0;
}

bool Win32Files::AppendLine(const std::string& path, const std::string& line, std::string& error) {
  HANDLE file = CreateFileW(Wide(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    error = SystemErrorText(GetLastError());
    return false;
  }
  DWORD written = 0;
  bool landed = WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  const DWORD writeError = GetLastError();
  if (!CloseHandle(file) && landed) {
    error = SystemErrorText(GetLastError());
    landed = false;
  }
  if (!landed && written == 0) {
    if (error.empty()) error = SystemErrorText(writeError);
    return false;
  }
  if (written != line.size()) {
    const bool cut = CutBack(path, written);
    error = "short write (" + std::to_string(written) + " of " + std::to_string(line.size()) + " bytes)" +
            (cut ? "" : ", partial line left in the file");
    return false;
  }
  return landed;
}

bool Win32Files::CanReplaceFile(const std::string& path, std::string& reason) {
  const std::string target = ini_file::WriteTarget(path);
  const std::wstring wide = Wide(target);
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) {
      reason = "not an ordinary file";
      return false;
    }
    if (attributes & FILE_ATTRIBUTE_READONLY) {
      reason = ini_file::kReadOnlyReason;
      return false;
    }
    // The save reads the file and puts a new one in its place, which deletes the old one.
    HANDLE file = CreateFileW(wide.c_str(), GENERIC_READ | DELETE, kShareAll, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      reason = SystemErrorText(GetLastError());
      return false;
    }
    CloseHandle(file);
  }
  const DWORD error = TryNewFileBeside(target);
  if (error == ERROR_SUCCESS) return true;
  reason = SystemErrorText(error);
  return false;
}

}  // namespace volumetra
