#include "platform/win32/caption_fit.h"

#include "platform/text_fit.h"

namespace volumetra {
namespace {

// The ellipsis of the Windows-1252 code page; three full stops where the code page has none.
const char* Ellipsis() {
  constexpr unsigned kWestern = 1252;
  return GetACP() == kWestern ? "\x85" : "...";
}

std::string Shortened(Win32Look& look, HFONT font, const std::string& text, Alignment alignment, int width) {
  const bool keepEnd = alignment == Alignment::Right;
  const std::string ellipsis = Ellipsis();
  // The longest part of the text that fits beside the ellipsis, found by halving.
  std::size_t fits = 0, tooLong = text.size() + 1;
  const auto shortenedTo = [&](std::size_t kept) {
    return keepEnd ? ellipsis + text.substr(text.size() - kept) : text.substr(0, kept) + ellipsis;
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
