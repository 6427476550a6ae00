#include "platform/win32/caption_fit.h"

#include <vector>

#include "platform/text_fit.h"

namespace volumetra {
namespace {

constexpr const char* kEllipsis = "\u2026";

// Where the UTF-8 `text` may be cut: the start of each of its characters, and its end.
std::vector<std::size_t> CharacterBoundaries(const std::string& text) {
  std::vector<std::size_t> boundaries;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80)
      boundaries.push_back(i);  // no continuation byte
  }
  boundaries.push_back(text.size());
  return boundaries;
}

std::string Shortened(Win32Look& look, HFONT font, const std::string& text, Alignment alignment, int width) {
  const bool keepEnd = alignment == Alignment::Right;
  const std::vector<std::size_t> boundaries = CharacterBoundaries(text);
  const std::size_t characters = boundaries.size() - 1;
  // The most characters that fit beside the ellipsis, found by halving; whole characters only.
  std::size_t fits = 0, tooLong = characters + 1;
  const auto shortenedTo = [&](std::size_t kept) {
    return keepEnd ? kEllipsis + text.substr(boundaries[characters - kept])
                   : text.substr(0, boundaries[kept]) + kEllipsis;
  };
  while (tooLong - fits > 1) {
    const std::size_t middle = (fits + tooLong) / 2;
    if (look.textWidth(font, shortenedTo(middle)) <= width) {
      fits = middle;
    } else {
      tooLong = middle;
    }
  }
  return shortenedTo(fits);
}

}  // namespace

bool IsOneLineLabel(const Control& label) {
  constexpr float kTwipsPerPoint = 20.0f;
  constexpr float kLineSpacing = 1.2f;
  return label.autoSize() || label.height() < 2 * kLineSpacing * label.font().points * kTwipsPerPoint;
}

FittedCaption FitCaption(Win32Look& look, const Control& label, int widthPixels) {
  const FontSpec& designed = label.font();
  const std::string& caption = label.caption();
  const auto widthAt = [&](float points) { return look.textWidth(look.font(designed, points), caption); };
  const std::optional<float> points = FittingPoints(designed.points, widthPixels, widthAt);
  if (points) return {look.font(designed, *points), caption};
  HFONT smallest = look.font(designed, std::min(designed.points, kSmallestFittingPoints));
  return {smallest, Shortened(look, smallest, caption, label.alignment(), widthPixels)};
}

}  // namespace volumetra
