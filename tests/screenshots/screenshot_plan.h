#pragma once

// What the screenshot tools of both systems take: every window in these languages, each page of
// the options dialog under these names.
namespace volumetra::screenshots {

struct Language {
  const char* name;        ///< as the settings file names it
  const char* fileSuffix;  ///< in the screenshots' file names
};

inline constexpr Language kLanguages[] = {{"English", "english"}, {"Deutsch", "german"}};
inline constexpr const char* kOptionPages[] = {"logging", "alarm", "misc", "language"};

}  // namespace volumetra::screenshots
