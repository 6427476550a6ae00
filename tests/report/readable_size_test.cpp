#include "report/readable_size.h"

#include <gtest/gtest.h>

namespace volumetra {
namespace {

struct SizeCase {
  double megabytes;
  const char* text;
};

class ReadableSizes : public ::testing::TestWithParam<SizeCase> {};

TEST_P(ReadableSizes, InTheUnitAPersonReads) {
  EXPECT_EQ(ReadableSize(GetParam().megabytes, "."), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Amounts, ReadableSizes,
                         ::testing::Values(SizeCase{0, "0 MB"}, SizeCase{-3, "0 MB"}, SizeCase{0.5, "512 KB"},
                                           SizeCase{0.0001, "0.1 KB"}, SizeCase{1, "1 MB"},
                                           SizeCase{9.5, "9.5 MB"}, SizeCase{9.96, "10 MB"},
                                           SizeCase{95, "95 MB"}, SizeCase{999.4, "999 MB"},
                                           SizeCase{999.6, "1 GB"}, SizeCase{9728, "9.5 GB"},
                                           SizeCase{262144, "256 GB"}, SizeCase{1.5 * 1024 * 1024, "1.5 TB"},
                                           SizeCase{20.0 * 1024 * 1024, "20 TB"},
                                           SizeCase{3.0 * 1024 * 1024 * 1024, "3 PB"},
                                           SizeCase{5000.0 * 1024 * 1024 * 1024, "5000 PB"}));

TEST(ReadableSize, DecimalSeparatorIsTheUsers) {
  EXPECT_EQ(ReadableSize(1536, ","), "1,5 GB");
}

}  // namespace
}  // namespace volumetra
