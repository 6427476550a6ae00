#pragma once

#include <functional>
#include <optional>

namespace volumetra {

/// The smallest size a caption is drawn at to fit its label; a text that does not fit even then is
/// shortened with an ellipsis on the side it would lose.
inline constexpr float kSmallestFittingPoints = 6.0f;

/// The point size at which a caption fits the width of a fixed-size label: the designed size when
/// it fits there, else the largest smaller size, in quarter points, at which it does; nullopt when
/// it does not fit even at kSmallestFittingPoints. `widthAt(points)` measures the caption in the
/// unit of `availableWidth`. Every backend draws its fixed-size labels by this rule.
std::optional<float> FittingPoints(float designedPoints, double availableWidth,
                                   const std::function<double(float points)>& widthAt);

}  // namespace volumetra
