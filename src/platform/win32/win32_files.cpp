#include "platform/win32/win32_files.h"

#include <vector>

#include "platform/win32/windows_api.h"

namespace volumetra {
namespace {

std::string ExecutableOfThisProcess() {
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) return std::string(buffer.data(), length);
    buffer.resize(buffer.size() * 2);
  }
}

std::size_t NameStart(const std::string& path) {
  const std::size_t separator = path.find_last_of("\\/:");
  return separator == std::string::npos ? 0 : separator + 1;
}

// Cuts a line that landed only in part off the end of the file again.
bool CutBack(const std::string& path, DWORD written) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
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

std::string SystemErrorText(unsigned long error) {
  char* text = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string message = length > 0 && text ? std::string(text, length) : "error " + std::to_string(error);
  if (text) LocalFree(text);
  while (!message.empty() &&
         (message.back() == '\n' || message.back() == '\r' || message.back() == ' ' || message.back() == '.'))
    message.pop_back();
  return message;
}

Win32Files::Win32Files() : Win32Files(ExecutableOfThisProcess()) {}

Win32Files::Win32Files(std::string executablePath) : executablePath_(std::move(executablePath)) {}

std::string Win32Files::ProgramDirectory() {
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
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    const DWORD length = GetCurrentDirectoryA(static_cast<DWORD>(buffer.size()), buffer.data());
    if (length == 0) return {};
    if (length < buffer.size()) return std::string(buffer.data(), length);
    buffer.resize(length + 1);
  }
}

bool Win32Files::SetCurrentDirectory(const std::string& path) {
  // "C:" alone names the drive's own current directory; the program directory "C:" is its root.
  const std::string target = path.size() == 2 && path[1] == ':' ? path + "\\" : path;
  return SetCurrentDirectoryA(target.c_str());
}

bool Win32Files::IsOrdinaryFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  constexpr DWORD kNotOrdinary =
      FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DEVICE;
  return (attributes & kNotOrdinary) == 0;
}

bool Win32Files::AppendLine(const std::string& path, const std::string& line, std::string& error) {
  HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
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

}  // namespace volumetra
