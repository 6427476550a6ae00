#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace volumetra {

/// The call variables the settings file's reads and writes share: ReadIniValue and WriteIniValue
/// take each of them by reference. IniFilePath empty means the next call builds it.
struct IniCall {
  std::string IniSection;
  std::string IniKey;
  std::string IniValue;
  std::string IniFilePath;
  std::string IniResult;
  std::int16_t IniWriteResult = 0;
};

/// What the settings file's load and save keep over a run, beside the values they load into the
/// shared state.
struct SettingsState {
  IniCall call;
  // Why the settings cannot be saved ("<path>: <reason>"), found at start; empty when they can.
  std::string SettingsError;
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
