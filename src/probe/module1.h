#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace volumetra {

/// The probed facts of one drive.
struct DriveRec {
  std::string RootPath;    ///< "C:\"
  std::string VolumeName;  ///< label; 255 spaces after a failed query
  std::string TypeText;    ///< "HD/NTFS", "CD/CDFS", "???"
  double TotalGB = 0;      ///< total size in units of 1000 MB
  double FreeMB = 0;       ///< free space in MB; 0 after a failed query
  std::int16_t NameLength = 0;
  double SerialNumber = 0;  ///< the 32-bit serial read as signed
  std::string TimeoutMark;  ///< "T O" while the drive counts as timed out
};

/// What the low-space notifications remember of one drive letter (report/low_space_notices.h).
struct LowSpaceNoticeMemory {
  /// A notification may be shown when the alarm applies: true at start and again once the free
  /// space has risen clear of the limit.
  bool armed = true;
  /// When the last one was shown, on the steady clock.
  std::optional<std::int64_t> shownAtMs;
};

inline constexpr const char* kTimeoutMark = "T O";
inline constexpr int kDriveRecCount = 31;
inline constexpr int kPrevFreeCount = 28;

/// The program's shared state. Everything starts zeroed; the main window's load sets the run
/// defaults and loads the settings.
struct Module1 {
  std::string DriveLetters;
  std::array<DriveRec, kDriveRecCount> DriveRecs{};

  bool Running = false;
  std::string TimedOutLetters;
  double LastTotalGB = 0;
  double CurFreeMB = 0;
  double SumTotalMB = 0;
  double SumFreeMB = 0;
  double SumUsedMB = 0;
  std::int32_t MaxFreeMB = 0;
  std::int32_t UnitFactor = 0;
  double GraphScale = 0;
  std::int32_t GraphMax = 0;
  // What the graph slider's value is divided by to give GraphScale: 1 unless the largest free space
  // is too large for the slider alone (report/graph_scale.h). Set with the slider's value by the
  // graph window's load and its "Free" legend.
  double GraphDivisor = 1;
  std::int32_t LoopCount = 0;
  bool LogDue = false;
  bool LoggingOn = false;
  bool AlarmColours = false;
  bool AlarmBeep = false;
  bool ColourInfo = false;
  std::int32_t AlarmLimit = 0;

  // Settings values, kept in the settings file.
  std::int32_t Window1XPos = 0;
  std::int32_t Window1YPos = 0;
  std::int32_t Window1Width = 0;
  std::int32_t Window2XPos = 0;
  std::int32_t Window2YPos = 0;
  std::int32_t Window2Width = 0;
  std::string Language;
  std::string ReportFileDir;
  std::string ReportFileName;
  bool ShowGraph = false;
  bool ExcludeCDs = false;
  bool ExcludeDoubles = false;
  bool LinkGraph = false;

  // The report cycle's memory of each position's last changed free space.
  std::array<double, kPrevFreeCount> PrevFreeMB{};

  // The low-space notifications' memory, by drive letter from A.
  std::array<LowSpaceNoticeMemory, 26> LowSpaceNotices{};

  // Call state shared by the settings file's reads and writes.
  std::string IniSection;
  std::string IniKey;
  std::string IniValue;
  std::string IniFilePath;
  std::string IniResult;
  std::int16_t IniWriteResult = 0;

  // Why the last log write failed; empty while the log is written fine.
  std::string LogError;
  // Why the settings cannot be saved ("<path>: <reason>"), found at start; empty when they can.
  // The status line shows it for a while after its first survey (see report_cycle.cpp).
  std::string SettingsError;
  std::optional<std::int64_t> SettingsErrorShownAt;
  // Why the save at the end failed ("<path>: <reason>"); empty when it succeeded. The platform's
  // main tells the user after the program has ended.
  std::string SettingsSaveError;
  // The settings keys the load did not take, from the first value that did not convert on, and for
  // each what a save at the end of start-up would have written (nullopt: a graph-window key while
  // there was no graph window). The save writes such a key only when the run changed it, so the
  // file keeps the user's own text for the rest. Empty when the load took every key.
  std::vector<std::optional<std::string>> UntakenSettingsAtStart;
};

}  // namespace volumetra
