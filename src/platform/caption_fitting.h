#pragma once

#include <optional>
#include <vector>

namespace volumetra {

/// A backend's label of fixed size, as its size group and its row see it.
class FittedCaption {
 public:
  virtual ~FittedCaption() = default;

  /// The size the caption fits at by itself (FittingPoints); nullopt when it fits at no size.
  virtual std::optional<float> ownPoints() const = 0;
  /// Whether the caption fits the label at `points`.
  virtual bool fitsAt(float points) = 0;
  /// Draws the caption at `points` (nullopt: the smallest size), shortened if it does not fit there.
  virtual void showAt(std::optional<float> points) = 0;
  /// The designed font's ascent, in the label's pixels.
  virtual double designedAscent() const = 0;
  /// Device pixels per pixel of the label.
  virtual double pixelRatio() const = 0;
};

/// Labels drawn at one size (CaptionSizeGroups): a table column. When a member's caption, size or
/// font changes, the group's size is found again from the sizes its members fit at
/// (SharedFittingPoints) and every member is drawn at it. The members share the group; one that
/// goes leaves it.
class CaptionSizeGroup {
 public:
  void add(FittedCaption& member);
  void remove(FittedCaption& member);
  /// Finds the group's size again after `changed` was fitted anew (nullptr: after any change);
  /// while the size stays, only the changed member is drawn again.
  void refit(FittedCaption* changed = nullptr);

 private:
  std::vector<FittedCaption*> members_;
  // The size the members are drawn at, once they are.
  std::optional<std::optional<float>> shown_;
};

/// Labels whose captions (their first lines) stand on one baseline (CaptionRows): the lowest of
/// the baselines their designed fonts give, on a whole device pixel.
class CaptionBaseline {
 public:
  void add(FittedCaption& member);
  void remove(FittedCaption& member);
  /// Forgets the baseline: a member's designed font changed.
  void invalidate() { baseline_.reset(); }
  /// The distance from the top of a member's text area to the baseline, in the label's pixels.
  double baseline();

 private:
  std::vector<FittedCaption*> members_;
  std::optional<double> baseline_;
};

/// The baseline of a caption by itself: its designed font's, on a whole device pixel.
double OwnBaseline(const FittedCaption& caption);

}  // namespace volumetra
