#include "platform/font_faces.h"

#include <string_view>

namespace volumetra {
namespace {

struct FaceMapping {
  std::string_view designed;
  /// Faces to try on Windows, best first: Windows' own, then the metric-compatible free face Wine
  /// finds.
  const char* onWindows[3];
  /// Faces to try on Linux, best first.
  const char* onLinux[3];
};

// MS Sans Serif is a bitmap face of a few sizes; Microsoft Sans Serif is its scalable successor.
// Liberation Sans has Arial's metrics, and MS Sans Serif's widths are closer to Arial than to the
// wider DejaVu Sans, so designed texts fit their labels.
const FaceMapping kFaceMappings[] = {
    {"MS Sans Serif",
     {"Microsoft Sans Serif", "Liberation Sans", "Arial"},
     {"Liberation Sans", "Arial", "DejaVu Sans"}},
    {"Arial",
     {"Arial", "Liberation Sans", "Microsoft Sans Serif"},
     {"Liberation Sans", "Arial", "DejaVu Sans"}},
};

}  // namespace

std::string InstalledFace(const std::string& designed, FaceSystem system,
                          const std::function<bool(const std::string& face)>& installed) {
  for (const FaceMapping& mapping : kFaceMappings) {
    if (mapping.designed != designed) continue;
    for (const char* candidate : system == FaceSystem::Windows ? mapping.onWindows : mapping.onLinux) {
      if (installed(candidate)) return candidate;
    }
  }
  return designed;
}

}  // namespace volumetra
