#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace volumetra::ini_file {

/// How an initialisation file stores its text, told as the Windows profile functions tell it: by
/// its byte-order mark, and without one by its bytes. The program works on the text in UTF-8 and
/// writes a file back in the form it was read in.
enum class TextEncoding {
  CodePage,  ///< no mark, and plain ASCII or no UTF-8: the system's 8-bit code page (CodePageToUtf8)
  Utf8,      ///< no mark, and UTF-8 with characters beyond ASCII
  Utf8Bom,   ///< EF BB BF, then UTF-8
  Utf16Le,   ///< FF FE, then UTF-16 little-endian
  Utf16Be,   ///< FE FF, then UTF-16 big-endian
};

struct DecodedText {
  std::string utf8;  ///< the text, without the mark
  TextEncoding encoding = TextEncoding::CodePage;
  /// False when the bytes hold something that is no character (an odd number of bytes or an
  /// unpaired surrogate in UTF-16): it reads as U+FFFD, so writing the text back would change
  /// more than an edit.
  bool exact = true;
};

/// The text of a file's bytes. Without a mark a file that is valid UTF-8 with characters beyond
/// ASCII is taken as UTF-8, any other one as the system's 8-bit code page (ASCII is the same in
/// both).
DecodedText DecodeText(std::string_view bytes);

/// `utf8` as the bytes of a file in `encoding`, its mark first. A text that the system's 8-bit
/// code page cannot hold whole is written as UTF-16 little-endian instead, which the profile
/// functions read as well, and `encoding` says so from then on.
std::string EncodeText(std::string_view utf8, TextEncoding& encoding);

/// The length in bytes of the longest start of `utf8` that ends between two characters and takes
/// at most `units` UTF-16 code units (a byte that is no UTF-8 counts as one).
std::size_t Utf8PrefixWithin(std::string_view utf8, std::size_t units);

}  // namespace volumetra::ini_file
