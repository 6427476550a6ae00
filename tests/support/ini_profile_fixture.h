#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/ini_profile.h"
#include "support/fake_machine.h"

namespace volumetra {

/// A profile over a settings file in a fresh temporary directory, for the tests of the INI reader
/// and writer and of each platform's file operations under it.
struct IniProfileFixture : ::testing::Test {
  TempDir dir;
  IniProfile profile;
  std::string path = dir.str() + "/volumetra.ini";

  void writeFile(const std::string& text) const { std::ofstream(path, std::ios::binary) << text; }
  std::string fileText() const { return FakeMachine::read(path); }
  /// The value of `key` ("none" when missing), read with a buffer of `size`.
  std::string get(const std::string& section, const std::string& key, int size = 255) {
    std::string buffer;
    const int n = profile.GetPrivateProfileString(section, key, "none", buffer, size, path);
    EXPECT_EQ(n, static_cast<int>(buffer.size()));
    return buffer;
  }
  int set(const std::string& section, const std::string& key, const std::string& value) {
    return profile.WritePrivateProfileString(section, key, value, path);
  }
  /// How many files the directory holds.
  int filesInDir() const {
    return static_cast<int>(std::distance(std::filesystem::directory_iterator(dir.path()),
                                          std::filesystem::directory_iterator()));
  }
};

}  // namespace volumetra
