#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace volumetra {

/// `text` without its carriage returns and line feeds: a value that goes into the settings file
/// must stay on one line.
std::string WithoutLineBreaks(std::string_view text);

/// The number of characters in the UTF-8 `text`.
std::size_t CharacterCount(std::string_view text);

/// `megabytes` times 1000 rounded to the nearest integer (halves to the even neighbour), held
/// within the signed 32-bit range.
std::int32_t ThousandfoldClamped(double megabytes);

}  // namespace volumetra
