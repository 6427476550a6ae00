#include "i18n/low_space_notice_text.h"

#include <gtest/gtest.h>

#include <string>

namespace volumetra {
namespace {

TEST(LowSpaceNoticeText, TitleNamesTheDriveAndItsLabelWithoutPadding) {
  EXPECT_EQ(LowSpaceNoticeTitle("English", "D:", "  Backup  "), "Low disk space on D: (Backup)");
  EXPECT_EQ(LowSpaceNoticeTitle("Deutsch", "D:", "Backup"), "Wenig Speicherplatz auf D: (Backup)");
}

TEST(LowSpaceNoticeText, BlankLabelIsLeftOut) {
  EXPECT_EQ(LowSpaceNoticeTitle("English", "E:", ""), "Low disk space on E:");
  EXPECT_EQ(LowSpaceNoticeTitle("English", "E:", std::string(255, ' ')), "Low disk space on E:");
}

TEST(LowSpaceNoticeText, AmountsInEnglishGermanAndEnglishForTheRest) {
  EXPECT_EQ(LowSpaceNoticeAmounts("English", "95 MB", "256 GB"), "95 MB free of 256 GB");
  EXPECT_EQ(LowSpaceNoticeAmounts("Deutsch", "95 MB", "256 GB"), "95 MB frei von 256 GB");
  EXPECT_EQ(LowSpaceNoticeAmounts("Francais", "95 MB", "256 GB"), "95 MB free of 256 GB");
  EXPECT_EQ(LowSpaceNoticeAmounts("deutsch", "95 MB", "256 GB"), "95 MB free of 256 GB");
}

}  // namespace
}  // namespace volumetra
