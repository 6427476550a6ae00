#include "report/report_cycle.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdint>
#include <iterator>
#include <limits>
#include <string>

#include "report/bar_width.h"
#include "report/log_file.h"
#include "report/low_space_notices.h"
#include "report/number_formats.h"
#include "report/status_line.h"

namespace volumetra {
namespace {

/// Text colours of a row's free and used cells for a change of its free space.
struct ChangeColours {
  Rgb free;
  Rgb used;
};
constexpr ChangeColours kUnchanged{{0, 255, 0}, {255, 128, 0}};
constexpr ChangeColours kGrew{{0, 192, 0}, {0, 192, 0}};
constexpr ChangeColours kShrank{{255, 255, 0}, {255, 192, 128}};
constexpr Rgb kAlarmColour{255, 128, 0};

/// The bar lengths, in twips, whose MB values the scale captions Label31, Label30 and Label29 name.
constexpr double kScaleMarkTwips[] = {8400, 4200, 2100};

/// True when the two characters of `text` from `offset` on are "CD".
bool HasCdAt(const std::string& text, std::size_t offset) {
  return text.size() >= offset + 2 && text.compare(offset, 2, "CD") == 0;
}

/// Drives of CD type never raise the low-space alarm: "CD/..." and "Rem/CDFS", "Net/CDFS".
bool IsAlarmDue(const Module1& m, const DriveRec& d) {
  return d.FreeMB * 1000 < m.AlarmLimit && !HasCdAt(d.TypeText, 0) && !HasCdAt(d.TypeText, 4);
}

/// True when the drive's letter is among the timed-out letters, in either case.
bool IsListedAsTimedOut(const Module1& m, const DriveRec& d) {
  if (d.RootPath.empty()) return false;
  const auto upper = [](char c) { return std::toupper(static_cast<unsigned char>(c)); };
  return std::any_of(m.TimedOutLetters.begin(), m.TimedOutLetters.end(),
                     [&](char c) { return upper(c) == upper(d.RootPath[0]); });
}

void SetWidthIfDifferent(Control& bar, float width) {
  if (bar.width() != width) bar.setWidth(width);
}

/// How long the status line says that the settings cannot be saved, from the first survey on:
/// long enough to read the path and the reason at any survey interval. It is said once; then the
/// line is the usual one for the rest of the run.
constexpr std::int64_t kSettingsNoticeSeconds = 30;

/// Seconds of the local clock from a fixed day on; only differences of two readings count.
std::int64_t ClockSeconds(const LocalDateTime& t) {
  using namespace std::chrono;
  const sys_days day{year{t.year} / month{static_cast<unsigned>(t.month)} / static_cast<unsigned>(t.day)};
  return std::int64_t{day.time_since_epoch().count()} * 86400 + t.hour * 3600 + t.minute * 60 + t.second;
}

/// The settings failure while it is to be shown, else empty. A clock set back or far forward in
/// the meantime ends the notice early rather than keeping it.
std::string SettingsNotice(ReportState& state, const LocalDateTime& now) {
  if (state.SettingsNotice.empty()) return {};
  const std::int64_t seconds = ClockSeconds(now);
  if (!state.SettingsNoticeShownAt) state.SettingsNoticeShownAt = seconds;
  const std::int64_t shownFor = seconds - *state.SettingsNoticeShownAt;
  if (shownFor >= 0 && shownFor < kSettingsNoticeSeconds) return state.SettingsNotice;
  state.SettingsNotice.clear();
  return {};
}

void WriteStatusLine(const Module1& m, ReportState& state, Control& statusBar, const LocalDateTime& now,
                     const std::string& date, const std::string& time) {
  // A failed write is shown only while logging is on: switching logging off dismisses it.
  const std::string& logError = m.LoggingOn ? state.LogError : std::string();
  statusBar.setCaption(StatusLine(m.LoopCount, date, time, SettingsNotice(state, now), logError));
}

void SetChangeColours(Module1& m, std::size_t position, Control& freeCell, Control& usedCell) {
  const double freeMB = m.DriveRecs[position].FreeMB;
  double& previous = m.PrevFreeMB[position];
  const ChangeColours* colours = nullptr;
  if (previous == freeMB) colours = &kUnchanged;
  if (previous < freeMB) colours = &kGrew;
  if (previous > freeMB) colours = &kShrank;
  if (!colours) return;
  freeCell.setForeColor(colours->free);
  usedCell.setForeColor(colours->used);
  previous = freeMB;
}

void WriteCells(const Module1& m, const DriveRec& d, const ReportControls& c, std::size_t r) {
  const double unit = m.UnitFactor;
  c.letters[r]->setCaption(d.RootPath.substr(0, 2));
  c.labels[r]->setCaption(d.VolumeName);
  c.types[r]->setCaption(d.TypeText);
  c.totals[r]->setCaption(IsListedAsTimedOut(m, d) ? "timeout" : FormatGrouped(d.TotalGB * unit));
  c.frees[r]->setCaption(FormatGrouped(d.FreeMB * unit));
  c.useds[r]->setCaption(FormatGrouped(d.TotalGB * 1000 * unit - d.FreeMB * unit));
  if (d.NameLength != 0) c.nameLengths[r]->setCaption(FormatDecimal(d.NameLength));
  if (d.SerialNumber != 0) c.serials[r]->setCaption(FormatDecimal(d.SerialNumber));
}

/// The tool tips of a row's letter cells name the drive's volume whole: its label, which a narrow
/// name cell may show shortened, its type and file system, and where it lives (a network drive's
/// share, a mount point), so that a user can tell the rows apart. The first row's cell keeps the
/// tip its language gives, ahead of that line.
void WriteLetterToolTips(VolumeService& volumes, const DriveRec& d, const ReportControls& c, std::size_t r) {
  if (d.RootPath.empty()) return;
  std::string line = d.RootPath.substr(0, 2);
  // A failed query leaves a label of spaces only.
  if (d.VolumeName.find_first_not_of(' ') != std::string::npos) line += "  " + d.VolumeName;
  if (!d.TypeText.empty()) line += "  " + d.TypeText;
  const std::string description = volumes.DriveDescription(d.RootPath[0]);
  if (!description.empty()) line += "  " + description;
  Control& cell = *c.letters[r];
  if (r == 0) {
    const std::string languageTip = cell.toolTip().substr(0, cell.toolTip().find('\n'));
    cell.setToolTip(languageTip.empty() ? line : languageTip + "\n" + line);
  } else {
    cell.setToolTip(line);
  }
  c.graphLetters[r]->setToolTip(line);
}

void DrawGraphRow(Module1& m, const DriveRec& d, const ReportControls& c, std::size_t r) {
  c.graphLetters[r]->setCaption(c.letters[r]->caption());
  m.LastTotalGB = d.TotalGB;
  SetWidthIfDifferent(*c.totalBars[r], BarWidth(m.LastTotalGB * 10 * m.GraphScale));
  m.CurFreeMB = d.FreeMB;
  SetWidthIfDifferent(*c.freeBars[r], BarWidth(m.CurFreeMB / 100 * m.GraphScale));
}

void ReportDrive(Module1& m, ReportState& state, const ReportServices& os, const ReportControls& c,
                 std::size_t position) {
  const DriveRec& d = m.DriveRecs[position];
  const std::size_t r = position - 1;
  Control& freeBar = *c.freeBars[r];

  if (m.LogDue) AppendLogLine(m, os.clock, os.files, static_cast<int>(position), state.LogError);
  if (m.ColourInfo) {
    SetChangeColours(m, position, *c.frees[r], *c.useds[r]);
    freeBar.setFillColor(c.frees[r]->foreColor().value_or(kUnchanged.free));
  }
  const bool alarm = IsAlarmDue(m, d);
  if (alarm) {
    if (m.AlarmColours) freeBar.setFillColor(kAlarmColour);
    if (m.AlarmBeep) os.beep.Beep();
  }
  NoticeLowSpace(m, state.LowSpaceNotices, {os.clock, os.volumes, os.notifications}, d, alarm);
  WriteCells(m, d, c, r);
  WriteLetterToolTips(os.volumes, d, c, r);
  DrawGraphRow(m, d, c, r);
}

}  // namespace

void RunReportCycle(Module1& m, ReportState& state, const ReportServices& os,
                    const ReportControls& controls) {
  // The count starts again at 1 rather than overflow after about 25 days of 1 ms surveys.
  m.LoopCount = m.LoopCount == std::numeric_limits<std::int32_t>::max() ? 1 : m.LoopCount + 1;

  if (m.ShowGraph) {
    for (std::size_t k = 0; k < std::size(kScaleMarkTwips); ++k) {
      controls.scaleCaptions[k]->setCaption(FormatScale(kScaleMarkTwips[k] * 100 / m.GraphScale));
    }
  }

  const std::string separator = os.clock.ThousandsSeparator();
  controls.sumTotal.setCaption(FormatThousands(m.SumTotalMB, separator));
  controls.sumFree.setCaption(FormatThousands(m.SumFreeMB, separator));
  controls.sumUsed.setCaption(FormatThousands(m.SumUsedMB, separator));

  const LocalDateTime now = os.clock.Now();
  const std::string date = os.clock.ShortDate(now);
  const std::string time = os.clock.LongTime(now);
  WriteStatusLine(m, state, controls.statusBar, now, date, time);

  // Discovery lists at most 24 letters; the grid's rows bound the loop all the same.
  const std::size_t positions = std::min(m.DriveLetters.size(), controls.letters.size());
  for (std::size_t i = 1; i <= positions; ++i) ReportDrive(m, state, os, controls, i);

  // The log writes of this cycle may have failed or recovered: the status line shows it now.
  if (m.LogDue) WriteStatusLine(m, state, controls.statusBar, now, date, time);
  m.LogDue = false;
}

}  // namespace volumetra
