#include "platform/win32/wide_text.h"

#include <gtest/gtest.h>

#include "platform/win32/windows_api.h"

namespace volumetra {
namespace {

TEST(WideText, RoundTripsEveryPlaneAndKeepsEmbeddedNuls) {
  const std::string texts[] = {"",
                               "C:\\LOG.TXT",
                               "Fotos f\xC3\xBCr Oma",
                               "\xE5\x86\x99\xE7\x9C\x9F",
                               "\xF0\x9F\x93\x81 backup",
                               std::string("a\0b", 3)};
  for (const std::string& text : texts) EXPECT_EQ(Utf8(Wide(text)), text);
  EXPECT_EQ(Wide("\xC3\x9C"
                 "ber"),
            L"\u00DCber");
  EXPECT_EQ(Wide("\xF0\x9F\x93\x81").size(), 2u);  // a surrogate pair
  EXPECT_EQ(Utf8(L"Verzeichnis f\u00FCr Logdatei"), "Verzeichnis f\xC3\xBCr Logdatei");
}

TEST(WideText, BrokenInputBecomesReplacementCharacters) {
  EXPECT_EQ(Wide("a\xFF"
                 "b"),
            L"a\uFFFDb");
  EXPECT_EQ(Utf8(std::wstring_view(L"x\xD800y", 3)), "x\xEF\xBF\xBDy");
}

// The test prefix runs on code page 1252, as a western Windows does.
TEST(WideText, AnsiCodePageHoldsWesternTextsOnly) {
  ASSERT_EQ(GetACP(), 1252u) << "the test needs a Wine prefix on code page 1252";
  EXPECT_EQ(Utf8FromAnsi("f\xFCr"), "f\xC3\xBCr");
  EXPECT_EQ(AnsiFromUtf8("f\xC3\xBCr"), "f\xFCr");
  EXPECT_TRUE(FitsAnsiCodePage("Fotos f\xC3\xBCr Oma"));
  EXPECT_FALSE(FitsAnsiCodePage("\xE5\x86\x99\xE7\x9C\x9F"));
  EXPECT_EQ(AnsiFromUtf8("\xE5\x86\x99"), "?");
}

}  // namespace
}  // namespace volumetra
