#pragma once

#include <string>

namespace volumetra {

/// The desktop notification's title for a drive that runs out of space: `drive` is its letter and
/// colon, `label` its volume label (blank for none). German when the program's language is German,
/// else English (the other languages' tables have no such text).
std::string LowSpaceNoticeTitle(const std::string& language, const std::string& drive,
                                const std::string& label);

/// Its first line: how much of the drive is free, both amounts already written for a reader
/// ("95 MB free of 256 GB").
std::string LowSpaceNoticeAmounts(const std::string& language, const std::string& freeSpace,
                                  const std::string& totalSpace);

}  // namespace volumetra
