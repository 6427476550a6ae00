#pragma once

#include <array>
#include <cstdint>
#include <string>

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
};

}  // namespace volumetra
