#pragma once

#include <string>

namespace volumetra {

/// An amount of space in the unit a person reads it in: `megabytes` (of 1 048 576 bytes) in KB,
/// MB, GB, TB or PB, each 1024 of the one before, with three significant digits at most: one
/// decimal below 10 ("9.5 GB", with `decimalSeparator`; none when it is 0, "5 GB"), whole numbers
/// from 10 on ("95 MB", "256 GB"). Negative amounts count as 0.
std::string ReadableSize(double megabytes, const std::string& decimalSeparator);

}  // namespace volumetra
