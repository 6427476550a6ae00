#pragma once

namespace volumetra {

/// The program's logo, 32 x 32 pixels: a drive face with a free and a total bar per drive.
inline constexpr int kLogoSize = 32;
inline constexpr const char* kLogo[kLogoSize] = {
    "................................", "................................",
    "..dddddddddddddddddddddddddddd..", "..dssssssssssssssssssssssssssd..",
    "..dssssssssssssssssssssssssssd..", "..dssssssssssssssssssssssssssd..",
    "..dsssggggggggggbbbbbbbbbbsssd..", "..dsssggggggggggbbbbbbbbbbsssd..",
    "..dsssggggggggggbbbbbbbbbbsssd..", "..dsssggggggggggbbbbbbbbbbsssd..",
    "..dssssssssssssssssssssssssssd..", "..dssssssssssssssssssssssssssd..",
    "..dssssssssssssssssssssssssssd..", "..dsssggggggggggggggggbbbbsssd..",
    "..dsssggggggggggggggggbbbbsssd..", "..dsssggggggggggggggggbbbbsssd..",
    "..dsssggggggggggggggggbbbbsssd..", "..dssssssssssssssssssssssssssd..",
    "..dssssssssssssssssssssssssssd..", "..dssssssssssssssssssssssssssd..",
    "..dsssoooobbbbbbbbbbbbbbbbsssd..", "..dsssoooobbbbbbbbbbbbbbbbsssd..",
    "..dsssoooobbbbbbbbbbbbbbbbsssd..", "..dsssoooobbbbbbbbbbbbbbbbsssd..",
    "..dssssssssssssssssssssssssssd..", "..dsssssssssssssssssssggggsssd..",
    "..dsssssssssssssssssssggggsssd..", "..dssssssssssssssssssssssssssd..",
    "..dssssssssssssssssssssssssssd..", "..dddddddddddddddddddddddddddd..",
    "................................", "................................"};

}  // namespace volumetra
