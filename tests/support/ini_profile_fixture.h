#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/ini_profile.h"
#include "platform/ini_temporaries.h"
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
  /// Leaves what an ended process with the id `pid` leaves after killed saves: a temporary file of
  /// the name this process's next save takes, and one of a name it has used.
  void leaveTemporariesOfProcessId(std::uint32_t pid) const {
    const std::string used = ini_file::NewTemporaryName(path, pid);
    const std::size_t dot = used.rfind('.');
    const std::string next = used.substr(0, dot + 1) + std::to_string(std::stoul(used.substr(dot + 1)) + 1);
    for (const std::string& name : {used, next}) std::ofstream(name) << "[System]\nLanguage=Killed\n";
  }
  /// How many files the directory holds.
  int filesInDir() const {
    return static_cast<int>(std::distance(std::filesystem::directory_iterator(dir.path()),
                                          std::filesystem::directory_iterator()));
  }
};

}  // namespace volumetra
