#include "platform/picture_svg.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "platform/control_design.h"
#include "windows/logo.h"

namespace volumetra {
namespace {

/// The SVG's rectangles painted onto a grid of `size` x `size` pixels; a pixel painted twice or a
/// rectangle outside the grid fails the test.
std::vector<std::optional<Rgb>> Paint(const std::string& svg, int size) {
  std::vector<std::optional<Rgb>> pixels(static_cast<std::size_t>(size * size));
  const std::regex rect(
      R"re(<rect x="(\d+)" y="(\d+)" width="(\d+)" height="(\d+)" fill="#([0-9a-f]{2})([0-9a-f]{2})([0-9a-f]{2})"/>)re");
  for (auto it = std::sregex_iterator(svg.begin(), svg.end(), rect); it != std::sregex_iterator(); ++it) {
    const std::smatch& m = *it;
    const int x = std::stoi(m[1]), y = std::stoi(m[2]), w = std::stoi(m[3]), h = std::stoi(m[4]);
    const Rgb colour{static_cast<std::uint8_t>(std::stoi(m[5], nullptr, 16)),
                     static_cast<std::uint8_t>(std::stoi(m[6], nullptr, 16)),
                     static_cast<std::uint8_t>(std::stoi(m[7], nullptr, 16))};
    EXPECT_TRUE(w > 0 && h > 0 && x + w <= size && y + h <= size) << m[0];
    for (int py = y; py < std::min(y + h, size); ++py) {
      for (int px = x; px < std::min(x + w, size); ++px) {
        auto& pixel = pixels[static_cast<std::size_t>(py * size + px)];
        EXPECT_FALSE(pixel.has_value()) << "pixel " << px << "," << py << " painted twice";
        pixel = colour;
      }
    }
  }
  return pixels;
}

int Rectangles(const std::string& svg) {
  int count = 0;
  for (std::size_t at = svg.find("<rect"); at != std::string::npos; at = svg.find("<rect", at + 1)) ++count;
  return count;
}

TEST(PictureSvg, TheLogoDrawnPixelForPixel) {
  const std::string svg = PictureSvg(kLogo, kLogoSize);
  EXPECT_NE(svg.find(R"(viewBox="0 0 32 32")"), std::string::npos);
  EXPECT_NE(svg.find(R"(shape-rendering="crispEdges")"), std::string::npos);
  EXPECT_TRUE(svg.ends_with("</svg>\n"));
  const std::vector<std::optional<Rgb>> pixels = Paint(svg, kLogoSize);
  for (int y = 0; y < kLogoSize; ++y) {
    for (int x = 0; x < kLogoSize; ++x) {
      const char pixel = kLogo[y][x];
      const std::optional<Rgb>& painted = pixels[static_cast<std::size_t>(y * kLogoSize + x)];
      if (pixel == '.') {
        EXPECT_FALSE(painted.has_value()) << x << "," << y;
      } else {
        ASSERT_TRUE(painted.has_value()) << x << "," << y;
        EXPECT_EQ(*painted, PictureColour(pixel)) << x << "," << y;
      }
    }
  }
  // Blocks that repeat on consecutive rows are one rectangle each: far fewer than one per row run.
  EXPECT_LT(Rectangles(svg), 60);
}

TEST(PictureSvg, RunsJoinDownwardsOnlyWhereTheyRepeatExactly) {
  const char* const rows[] = {"bb.", "bb.", "bg", ""};
  const std::string svg = PictureSvg(rows, 4);
  EXPECT_EQ(Rectangles(svg), 3);  // "bb" over two rows, then "b" and "g" of the third row
  EXPECT_NE(svg.find(R"(<rect x="0" y="0" width="2" height="2" fill="#0000ff"/>)"), std::string::npos) << svg;
  EXPECT_NE(svg.find(R"(<rect x="1" y="2" width="1" height="1" fill="#00ff00"/>)"), std::string::npos) << svg;
  // Short rows are transparent beyond their end.
  const std::vector<std::optional<Rgb>> pixels = Paint(svg, 4);
  EXPECT_FALSE(pixels[2 * 4 + 2].has_value());
  EXPECT_FALSE(pixels[3 * 4 + 0].has_value());
}

}  // namespace
}  // namespace volumetra
