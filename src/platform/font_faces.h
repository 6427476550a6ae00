#pragma once

#include <functional>
#include <string>

namespace volumetra {

/// Which installed faces a backend looks among.
enum class FaceSystem { Windows, Linux };

/// The face the designed face `designed` is drawn with on `system`: the first installed
/// (`installed(face)`) of the faces that stand for it there, best first; else `designed` itself.
std::string InstalledFace(const std::string& designed, FaceSystem system,
                          const std::function<bool(const std::string& face)>& installed);

}  // namespace volumetra
