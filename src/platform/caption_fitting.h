#pragma once

#include <functional>
#include <memory>
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

/// The size a fixed-size label's caption fits at by itself, and whether it fits at another, from
/// what the backend measures: `extentAt(points)` against a limit (a one-line caption's width
/// against the width of its room, a wrapped caption's share of its room against 1). What it
/// learns is kept until the label fits its caption anew.
class CaptionSizing {
 public:
  using ExtentAt = std::function<double(float points)>;

  /// Fits the caption anew: the designed size when it fits there, else the largest smaller one
  /// (FittingPoints). A one-line caption as wide at the designed size as the last one, in the same
  /// room, is tried at the last one's size first: a number that changes on every survey mostly
  /// keeps its width, and one measurement replaces a search.
  void fit(float designedPoints, double limit, bool oneLine, ExtentAt extentAt);
  /// The caption is shown as it is: its label has no room, or its font no size in points.
  void fitAsIs(float designedPoints);
  /// The designed font changed: the last one-line caption's size tells nothing any more.
  void forgetLastLine() { lastLine_ = {}; }

  std::optional<float> own() const { return own_; }
  /// Whether the caption fits at `points`; the last size asked about is remembered.
  bool fitsAt(float points);

 private:
  ExtentAt extentAt_;
  double limit_ = 0;
  bool asIs_ = true;
  std::optional<float> own_;
  struct LineFit {
    double designedExtent = -1;
    double limit = -1;
    std::optional<float> points;
  };
  LineFit lastLine_;
  struct FitAnswer {
    float points;
    bool fits;
  };
  std::optional<FitAnswer> lastAnswer_;
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

/// A caption's places in its size group and its row, as its label is arranged; a caption that
/// goes leaves them.
class CaptionPlaces {
 public:
  explicit CaptionPlaces(FittedCaption& caption) : caption_(caption) {}
  ~CaptionPlaces();
  CaptionPlaces(const CaptionPlaces&) = delete;
  CaptionPlaces& operator=(const CaptionPlaces&) = delete;

  /// Leaves the group it is in, and joins `group` (none for nullptr).
  void joinGroup(std::shared_ptr<CaptionSizeGroup> group);
  /// Leaves the row it is in, and joins `row` (none for nullptr).
  void joinRow(std::shared_ptr<CaptionBaseline> row);
  CaptionSizeGroup* group() const { return group_.get(); }
  CaptionBaseline* row() const { return row_.get(); }

 private:
  FittedCaption& caption_;
  std::shared_ptr<CaptionSizeGroup> group_;
  std::shared_ptr<CaptionBaseline> row_;
};

/// The baseline of a caption by itself: its designed font's, on a whole device pixel.
double OwnBaseline(const FittedCaption& caption);

}  // namespace volumetra
