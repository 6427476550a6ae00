#include "platform/picture_svg.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/control_design.h"

namespace volumetra {
namespace {

/// A run of equal pixels on one row.
struct Run {
  int x = 0;
  int width = 0;
  char pixel = '.';
  friend bool operator==(const Run&, const Run&) = default;
};

char PixelAt(const char* row, int length, int x) {
  return x < length ? row[x] : '.';
}

std::vector<Run> RunsOf(const char* row, int pictureSize) {
  const int length = static_cast<int>(std::strlen(row));
  std::vector<Run> runs;
  for (int x = 0; x < pictureSize;) {
    const char pixel = PixelAt(row, length, x);
    int end = x + 1;
    while (end < pictureSize && PixelAt(row, length, end) == pixel) ++end;
    if (pixel != '.') runs.push_back({x, end - x, pixel});
    x = end;
  }
  return runs;
}

std::string Rectangle(const Run& run, int y, int height) {
  const Rgb colour = PictureColour(run.pixel);
  char text[128];
  std::snprintf(text, sizeof text,
                "  <rect x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\" fill=\"#%02x%02x%02x\"/>\n", run.x, y,
                run.width, height, colour.r, colour.g, colour.b);
  return text;
}

}  // namespace

std::string PictureSvg(const char* const* rows, int pictureSize) {
  const std::string size = std::to_string(pictureSize);
  std::string svg =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
      size + "\" height=\"" + size + "\" viewBox=\"0 0 " + size + " " + size +
      "\" shape-rendering=\"crispEdges\">\n";
  std::vector<std::vector<Run>> runs;
  for (int y = 0; y < pictureSize; ++y) runs.push_back(RunsOf(rows[y], pictureSize));
  // A run goes into the rectangle of the first row it appears on and of every row below that
  // repeats it; the rows below then drop it.
  for (int y = 0; y < pictureSize; ++y) {
    for (const Run& run : runs[static_cast<std::size_t>(y)]) {
      int height = 1;
      while (y + height < pictureSize) {
        std::vector<Run>& below = runs[static_cast<std::size_t>(y + height)];
        const auto same = std::find(below.begin(), below.end(), run);
        if (same == below.end()) break;
        below.erase(same);
        ++height;
      }
      svg += Rectangle(run, y, height);
    }
  }
  return svg + "</svg>\n";
}

}  // namespace volumetra
