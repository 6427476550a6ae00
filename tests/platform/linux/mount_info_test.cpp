#include "platform/linux/mount_info.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace volumetra {
namespace {

TEST(ParseMountInfo, ReadsFieldsPastOptionalFieldsAndDecodesEscapedPaths) {
  const auto entries = ParseMountInfo(
      "52 29 8:17 /sub\\134dir /media/anna/STICK\\040ONE\\011x rw,nosuid shared:31 master:4 - vfat /dev/sdb1 "
      "rw\n");
  ASSERT_EQ(entries.size(), 1u);
  const MountEntry& e = entries[0];
  EXPECT_EQ(e.mountId, 52);
  EXPECT_EQ(e.parentId, 29);
  EXPECT_EQ(e.device, (DeviceNumber{8, 17}));
  EXPECT_EQ(e.root, "/sub\\dir");
  EXPECT_EQ(e.mountPoint, "/media/anna/STICK ONE\tx");
  EXPECT_EQ(e.fileSystemType, "vfat");
  EXPECT_EQ(e.source, "/dev/sdb1");
  EXPECT_FALSE(e.mountsFile);
}

TEST(ParseMountInfo, SkipsMalformedLinesAndKeepsAnEmptySourceInPlace) {
  const auto entries = ParseMountInfo(
      "garbage\n"
      "\n"
      "1 2 8:1 / /no-separator rw ext4 /dev/sda1 rw\n"
      "x 2 8:1 / /bad-id rw - ext4 /dev/sda1 rw\n"
      "3 2 8 / /bad-device rw - ext4 /dev/sda1 rw\n"
      "4 2 0:40 / /mnt/odd rw - ufs  rw\n"
      "5 2 8:1 / / rw - ext4 /dev/sda1 rw");
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].mountPoint, "/mnt/odd");
  EXPECT_EQ(entries[0].fileSystemType, "ufs");
  EXPECT_EQ(entries[0].source, "");
  EXPECT_EQ(entries[1].mountPoint, "/");  // the last line needs no line end
}

// A text as the kernel writes it into mountinfo: space, tab, line feed and backslash as \ooo.
std::string Mangled(const std::string& text) {
  std::string out;
  for (const char c : text) {
    if (c == ' ' || c == '\t' || c == '\n' || c == '\\') {
      char escape[5];
      std::snprintf(escape, sizeof escape, "\\%03o", static_cast<unsigned char>(c));
      out += escape;
    } else {
      out += c;
    }
  }
  return out;
}

// Any bytes but NUL, with the ones the kernel escapes and the blanks around them more often.
std::string AnyText(std::mt19937& random, std::size_t maxLength) {
  static constexpr char kAwkward[] = {' ', '\t', '\n', '\\', '\r', '\v', '\f', '#', '-', ':', '0'};
  std::string text;
  for (std::size_t n = random() % (maxLength + 1); n > 0; --n) {
    text += random() % 3 == 0 ? kAwkward[random() % sizeof kAwkward] : static_cast<char>(1 + random() % 255);
  }
  return text;
}

MountEntry AnyEntry(std::mt19937& random) {
  MountEntry entry;
  entry.mountId = static_cast<int>(random() % 100000);
  entry.parentId = static_cast<int>(random() % 100000);
  entry.device =
      DeviceNumber{static_cast<unsigned>(random() % 4096), static_cast<unsigned>(random() % 1048576)};
  entry.root = "/" + AnyText(random, 12);
  entry.mountPoint = "/" + AnyText(random, 24);
  entry.fileSystemType = "t" + AnyText(random, 8);
  entry.source = AnyText(random, 16);
  return entry;
}

std::string LineOf(const MountEntry& entry, std::mt19937& random) {
  static constexpr const char* kOptionalFields[] = {"", " shared:12", " master:3", " shared:1 master:7",
                                                    " propagate_from:2 unbindable"};
  return std::to_string(entry.mountId) + " " + std::to_string(entry.parentId) + " " +
         std::to_string(entry.device.major) + ":" + std::to_string(entry.device.minor) + " " +
         Mangled(entry.root) + " " + Mangled(entry.mountPoint) + " rw,relatime" +
         kOptionalFields[random() % std::size(kOptionalFields)] + " - " + Mangled(entry.fileSystemType) +
         " " + Mangled(entry.source) + " rw,errors=remount-ro\n";
}

void ExpectSameEntries(const std::vector<MountEntry>& parsed, const std::vector<MountEntry>& expected,
                       const std::string& text) {
  ASSERT_EQ(parsed.size(), expected.size()) << text;
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(parsed[i].mountId, expected[i].mountId) << text;
    EXPECT_EQ(parsed[i].parentId, expected[i].parentId) << text;
    EXPECT_EQ(parsed[i].device, expected[i].device) << text;
    EXPECT_EQ(parsed[i].root, expected[i].root) << text;
    EXPECT_EQ(parsed[i].mountPoint, expected[i].mountPoint) << text;
    EXPECT_EQ(parsed[i].fileSystemType, expected[i].fileSystemType) << text;
    EXPECT_EQ(parsed[i].source, expected[i].source) << text;
  }
}

TEST(ParseMountInfo, GivesBackEveryEntryTheKernelWroteWhateverBytesItsPathsHold) {
  std::mt19937 random(20261208);
  for (int round = 0; round < 300; ++round) {
    std::vector<MountEntry> entries;
    std::string text;
    for (int n = static_cast<int>(random() % 8); n >= 0; --n) {
      entries.push_back(AnyEntry(random));
      text += LineOf(entries.back(), random);
    }
    ExpectSameEntries(ParseMountInfo(text), entries, text);
    if (HasFailure()) return;
  }
}

TEST(ParseMountInfo, SkipsLinesOutOfShapeAnywhereAndKeepsTheOthersInOrder) {
  std::mt19937 random(4711);
  for (int round = 0; round < 300; ++round) {
    std::vector<MountEntry> entries;
    std::string text;
    for (int n = static_cast<int>(random() % 8); n >= 0; --n) {
      if (random() % 2 == 0) {
        // A line cut off before its super options, or one that is no mount at all.
        const MountEntry cut = AnyEntry(random);
        std::string line = LineOf(cut, random);
        line = random() % 2 == 0 ? line.substr(0, random() % line.rfind(' ')) : "x" + AnyText(random, 40);
        std::erase(line, '\n');
        text += line + "\n";
      } else {
        entries.push_back(AnyEntry(random));
        text += LineOf(entries.back(), random);
      }
    }
    ExpectSameEntries(ParseMountInfo(text), entries, text);
    if (HasFailure()) return;
  }
}

}  // namespace
}  // namespace volumetra
