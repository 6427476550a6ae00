#include "platform/ini_encoding.h"

#include <algorithm>
#include <optional>

#include "platform/ini_file_access.h"

namespace volumetra::ini_file {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";
constexpr char32_t kReplacement = 0xFFFD;
constexpr char32_t kLastCodePoint = 0x10FFFF;
constexpr char32_t kFirstSurrogate = 0xD800;
constexpr char32_t kFirstLowSurrogate = 0xDC00;
constexpr char32_t kLastSurrogate = 0xDFFF;
constexpr char32_t kFirstSupplementary = 0x10000;

bool IsSurrogate(char32_t c) {
  return c >= kFirstSurrogate && c <= kLastSurrogate;
}

// The lead bytes of the multi-byte UTF-8 sequences: the bits that mark them, their length and
// the least character that needs that length (a longer form is no valid UTF-8).
struct Sequence {
  unsigned char mask;
  unsigned char lead;
  std::size_t size;
  char32_t least;
};
constexpr Sequence kSequences[] = {
    {0xE0, 0xC0, 2, 0x80}, {0xF0, 0xE0, 3, 0x800}, {0xF8, 0xF0, 4, kFirstSupplementary}};

// The character at `at` in `utf8`, and its length in bytes; nothing for a byte that starts no
// valid sequence (which counts as one byte).
std::optional<char32_t> NextCharacter(std::string_view utf8, std::size_t at, std::size_t& length) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(utf8[at + i]); };
  length = 1;
  if (byte(0) < 0x80) return byte(0);
  const auto sequence =
      std::ranges::find_if(kSequences, [&](const Sequence& s) { return (byte(0) & s.mask) == s.lead; });
  if (sequence == std::end(kSequences) || at + sequence->size > utf8.size()) return std::nullopt;
  char32_t c = byte(0) & static_cast<unsigned char>(~sequence->mask);
  for (std::size_t i = 1; i < sequence->size; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return std::nullopt;
    c = (c << 6) | (byte(i) & 0x3F);
  }
  if (c < sequence->least || c > kLastCodePoint || IsSurrogate(c)) return std::nullopt;
  length = sequence->size;
  return c;
}

void AppendUtf8(std::string& out, char32_t c) {
  const auto put = [&](char32_t value) { out.push_back(static_cast<char>(value)); };
  const auto continuation = [&](int shift) { put(0x80 | ((c >> shift) & 0x3F)); };
  if (c < 0x80) {
    put(c);
  } else if (c < 0x800) {
    put(0xC0 | (c >> 6));
    continuation(0);
  } else if (c < kFirstSupplementary) {
    put(0xE0 | (c >> 12));
    continuation(6);
    continuation(0);
  } else {
    put(0xF0 | (c >> 18));
    continuation(12);
    continuation(6);
    continuation(0);
  }
}

bool IsAscii(std::string_view bytes) {
  return std::ranges::all_of(bytes, [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool IsUtf8(std::string_view bytes) {
  for (std::size_t at = 0, length = 0; at < bytes.size(); at += length) {
    if (!NextCharacter(bytes, at, length)) return false;
  }
  return true;
}

DecodedText FromUtf16(std::string_view bytes, TextEncoding encoding) {
  const bool bigEndian = encoding == TextEncoding::Utf16Be;
  DecodedText decoded{{}, encoding, true};
  const std::size_t units = bytes.size() / 2;
  const auto unit = [&](std::size_t i) -> char32_t {
    const auto first = static_cast<unsigned char>(bytes[2 * i]);
    const auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
    return bigEndian ? (first << 8) | second : (second << 8) | first;
  };
  for (std::size_t i = 0; i < units; ++i) {
    char32_t c = unit(i);
    if (IsSurrogate(c)) {
      const char32_t low = i + 1 < units ? unit(i + 1) : 0;
      if (c < kFirstLowSurrogate && low >= kFirstLowSurrogate && low <= kLastSurrogate) {
        c = kFirstSupplementary + ((c - kFirstSurrogate) << 10) + (low - kFirstLowSurrogate);
        ++i;
      } else {
        c = kReplacement;
        decoded.exact = false;
      }
    }
    AppendUtf8(decoded.utf8, c);
  }
  if (bytes.size() % 2 != 0) {
    AppendUtf8(decoded.utf8, kReplacement);
    decoded.exact = false;
  }
  return decoded;
}

std::string ToUtf16(std::string_view utf8, bool bigEndian) {
  std::string out(bigEndian ? kUtf16BeMark : kUtf16LeMark);
  const auto put = [&](char32_t unit) {
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    out.push_back(bigEndian ? high : low);
    out.push_back(bigEndian ? low : high);
  };
  for (std::size_t at = 0, length = 0; at < utf8.size(); at += length) {
    const char32_t c = NextCharacter(utf8, at, length).value_or(kReplacement);
    if (c < kFirstSupplementary) {
      put(c);
    } else {
      put(kFirstSurrogate + ((c - kFirstSupplementary) >> 10));
      put(kFirstLowSurrogate + ((c - kFirstSupplementary) & 0x3FF));
    }
  }
  return out;
}

}  // namespace

DecodedText DecodeText(std::string_view bytes) {
  if (bytes.starts_with(kUtf8Mark))
    return {std::string(bytes.substr(kUtf8Mark.size())), TextEncoding::Utf8Bom};
  if (bytes.starts_with(kUtf16LeMark)) return FromUtf16(bytes.substr(2), TextEncoding::Utf16Le);
  if (bytes.starts_with(kUtf16BeMark)) return FromUtf16(bytes.substr(2), TextEncoding::Utf16Be);
  if (IsAscii(bytes)) return {std::string(bytes), TextEncoding::CodePage};
  if (IsUtf8(bytes)) return {std::string(bytes), TextEncoding::Utf8};
  return {CodePageToUtf8(bytes), TextEncoding::CodePage};
}

std::string EncodeText(std::string_view utf8, TextEncoding& encoding) {
  switch (encoding) {
    case TextEncoding::CodePage: {
      if (IsAscii(utf8)) return std::string(utf8);
      std::string bytes;
      if (Utf8ToCodePage(utf8, bytes)) return bytes;
      encoding = TextEncoding::Utf16Le;
      return ToUtf16(utf8, false);
    }
    case TextEncoding::Utf8:
      return std::string(utf8);
    case TextEncoding::Utf8Bom:
      return std::string(kUtf8Mark).append(utf8);
    case TextEncoding::Utf16Le:
      return ToUtf16(utf8, false);
    case TextEncoding::Utf16Be:
      return ToUtf16(utf8, true);
  }
  return std::string(utf8);
}

std::size_t Utf8PrefixWithin(std::string_view utf8, std::size_t units) {
  std::size_t at = 0;
  for (std::size_t length = 0; at < utf8.size(); at += length) {
    const std::optional<char32_t> c = NextCharacter(utf8, at, length);
    const std::size_t needed = c && *c >= kFirstSupplementary ? 2 : 1;
    if (needed > units) break;
    units -= needed;
  }
  return at;
}

}  // namespace volumetra::ini_file
