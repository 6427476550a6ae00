#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>

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

/// The one size at which the captions of a group (a table column) are drawn: the largest at which
/// every one of them fits. `own` holds the size each caption fits at by itself (FittingPoints);
/// the smallest of them is taken, and stepped down in quarter points while `fitsAt(member,
/// points)` says a caption does not fit there (hinting can make a smaller size a little wider).
/// nullopt when a caption fits at no size: the group is then drawn at kSmallestFittingPoints.
std::optional<float> SharedFittingPoints(std::span<const std::optional<float>> own,
                                         const std::function<bool(std::size_t member, float points)>& fitsAt);

/// The UTF-8 `caption` shortened with "…" to as many whole characters as `fits` allows: its start
/// kept, or its end when `keepEnd`; "…" alone when not even one character fits.
std::string ShortenedCaption(const std::string& caption, bool keepEnd,
                             const std::function<bool(const std::string& shortened)>& fits);

}  // namespace volumetra
