#pragma once

#include <vector>

#include "platform/beep_service.h"
#include "platform/clock_service.h"
#include "platform/control.h"
#include "platform/file_service.h"
#include "platform/notification_service.h"
#include "platform/volume_service.h"
#include "probe/module1.h"
#include "report/report_state.h"

namespace volumetra {

/// The controls the report cycle writes: the main window's grid columns (one control per row),
/// sums and status bar, and the graph window's letters, bars and scale captions.
struct ReportControls {
  const std::vector<Control*>& letters;       ///< Label2
  const std::vector<Control*>& labels;        ///< Label3
  const std::vector<Control*>& types;         ///< Label4
  const std::vector<Control*>& totals;        ///< Label5
  const std::vector<Control*>& frees;         ///< Label6
  const std::vector<Control*>& useds;         ///< Label7
  const std::vector<Control*>& nameLengths;   ///< Label8
  const std::vector<Control*>& serials;       ///< Label9
  Control& sumTotal;                          ///< Label182
  Control& sumFree;                           ///< Label183
  Control& sumUsed;                           ///< Label129
  Control& statusBar;                         ///< StatusBar1
  const std::vector<Control*>& graphLetters;  ///< the graph window's Label1
  const std::vector<Control*>& totalBars;     ///< Shape1
  const std::vector<Control*>& freeBars;      ///< Shape2
  /// The scale captions Label31, Label30 and Label29.
  Control* scaleCaptions[3];
};

/// The services the report cycle asks and tells.
struct ReportServices {
  ClockService& clock;
  FileService& files;
  VolumeService& volumes;
  BeepService& beep;
  NotificationService& notifications;
};

/// Turns the last probe pass into the table cells, sums, status line, colours, alarms, graph bars
/// and, when a log write is due, the log lines. `state` is the cycle's own memory over the run.
void RunReportCycle(Module1& m, ReportState& state, const ReportServices& os, const ReportControls& controls);

}  // namespace volumetra
