#pragma once

#include <cstdint>

namespace volumetra {

/// A colour as an RGB triple. The Windows toolkit stores it as a 32-bit value with red in the
/// low byte; `packed()` gives that form.
struct Rgb {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;

  constexpr std::uint32_t packed() const { return r | (g << 8) | (static_cast<std::uint32_t>(b) << 16); }
  friend constexpr bool operator==(const Rgb&, const Rgb&) = default;
};

}  // namespace volumetra
