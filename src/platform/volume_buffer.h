#pragma once

#include <algorithm>
#include <string>

namespace volumetra {

/// Copies `text` into a 255-character buffer the way the Windows calls do: at the start, ended by
/// NUL, the rest of the buffer untouched.
inline void CopyIntoBuffer(const std::string& text, std::string& buffer) {
  if (buffer.empty()) return;
  const std::size_t n = std::min(text.size(), buffer.size() - 1);
  buffer.replace(0, n, text, 0, n);
  buffer[n] = '\0';
}

}  // namespace volumetra
