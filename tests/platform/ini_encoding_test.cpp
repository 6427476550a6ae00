#include "platform/ini_encoding.h"

#include <gtest/gtest.h>

namespace volumetra::ini_file {
namespace {

using namespace std::string_literals;

// "[System]\r\nDir=C:\Fotos für Oma\写真📁\" in UTF-8: characters of one, two, three and four bytes.
const std::string kText =
    "[System]\r\nDir=C:\\Fotos f\xC3\xBCr Oma\\\xE5\x86\x99\xE7\x9C\x9F\xF0\x9F\x93\x81\\";

// `ascii` as UTF-16 code units, little- or big-endian.
std::string Utf16(std::string_view ascii, bool bigEndian) {
  std::string bytes;
  for (char c : ascii) bytes += bigEndian ? "\0"s + c : c + "\0"s;
  return bytes;
}

struct EncodedFile {
  const char* name;
  std::string bytes;
  TextEncoding encoding;
};

const EncodedFile kFiles[] = {
    {"UTF-16 LE",
     "\xFF\xFE"s + Utf16("[System]\r\nDir=C:\\Fotos f", false) + "\xFC\0"s + Utf16("r Oma\\", false) +
         "\x99\x51\x1F\x77\x3D\xD8\xC1\xDC"s + Utf16("\\", false),
     TextEncoding::Utf16Le},
    {"UTF-16 BE",
     "\xFE\xFF"s + Utf16("[System]\r\nDir=C:\\Fotos f", true) + "\0\xFC"s + Utf16("r Oma\\", true) +
         "\x51\x99\x77\x1F\xD8\x3D\xDC\xC1"s + Utf16("\\", true),
     TextEncoding::Utf16Be},
    {"UTF-8 with a mark", "\xEF\xBB\xBF" + kText, TextEncoding::Utf8Bom},
    {"UTF-8 without a mark", kText, TextEncoding::Utf8},
};

TEST(IniEncoding, EachFormReadsAsTheSameTextAndIsWrittenBackByteForByte) {
  for (const EncodedFile& file : kFiles) {
    const DecodedText decoded = DecodeText(file.bytes);
    EXPECT_EQ(decoded.utf8, kText) << file.name;
    EXPECT_EQ(decoded.encoding, file.encoding) << file.name;
    EXPECT_TRUE(decoded.exact) << file.name;
    TextEncoding encoding = decoded.encoding;
    EXPECT_EQ(EncodeText(decoded.utf8, encoding), file.bytes) << file.name;
    EXPECT_EQ(encoding, file.encoding) << file.name;
  }
}

TEST(IniEncoding, PlainAsciiIsTheCodePagesAndStaysAsItIs) {
  for (const std::string& bytes : {""s, "[System]\nLanguage=Suomi\n"s}) {
    const DecodedText decoded = DecodeText(bytes);
    EXPECT_EQ(decoded.utf8, bytes);
    EXPECT_EQ(decoded.encoding, TextEncoding::CodePage);
    TextEncoding encoding = decoded.encoding;
    EXPECT_EQ(EncodeText(decoded.utf8, encoding), bytes);
    EXPECT_EQ(encoding, TextEncoding::CodePage);
  }
  // A mark alone is an empty text of its form.
  EXPECT_EQ(DecodeText("\xFF\xFE").encoding, TextEncoding::Utf16Le);
  EXPECT_EQ(DecodeText("\xFF\xFE").utf8, "");
}

TEST(IniEncoding, UnitsThatAreNoCharacterReadAsReplacementsAndMakeTheTextInexact) {
  const struct {
    const char* name;
    std::string bytes;
    std::string text;
  } broken[] = {
      {"an odd byte at the end",
       "\xFF\xFE"
       "a\0b"s,
       "a\xEF\xBF\xBD"},
      {"a high surrogate alone",
       "\xFF\xFE"
       "a\0\x3D\xD8"
       "b\0"s,
       "a\xEF\xBF\xBD"
       "b"},
      {"a low surrogate alone", "\xFE\xFF\xDC\xC1\0a"s,
       "\xEF\xBF\xBD"
       "a"},
  };
  for (const auto& file : broken) {
    const DecodedText decoded = DecodeText(file.bytes);
    EXPECT_EQ(decoded.utf8, file.text) << file.name;
    EXPECT_FALSE(decoded.exact) << file.name;
  }
  // Bytes that are no UTF-8 in a text written as UTF-16 become replacement characters.
  TextEncoding encoding = TextEncoding::Utf16Le;
  EXPECT_EQ(EncodeText("a\xFF", encoding),
            "\xFF\xFE"
            "a\0\xFD\xFF"s);
}

TEST(IniEncoding, CutsBetweenCharactersByUtf16Units) {
  const std::string text = "a\xC3\xBC\xE5\x86\x99\xF0\x9F\x93\x81z";  // a ü 写 📁 z: 1 1 1 2 1 units
  EXPECT_EQ(Utf8PrefixWithin(text, 0), 0u);
  EXPECT_EQ(Utf8PrefixWithin(text, 2), 3u);
  EXPECT_EQ(Utf8PrefixWithin(text, 3), 6u);
  EXPECT_EQ(Utf8PrefixWithin(text, 4), 6u);  // the four-byte character takes two units
  EXPECT_EQ(Utf8PrefixWithin(text, 5), 10u);
  EXPECT_EQ(Utf8PrefixWithin(text, 99), text.size());
  // A byte that is no UTF-8 counts as one unit and is cut like a character.
  EXPECT_EQ(Utf8PrefixWithin("\xFC\xFCx", 2), 2u);
  EXPECT_EQ(Utf8PrefixWithin("\xE5\x86", 1), 1u);
}

}  // namespace
}  // namespace volumetra::ini_file
