#pragma once

#include <cstdint>
#include <string>

#include "settings/settings_context.h"

namespace volumetra {

/// Reads `key` of `section` from the settings file into `result`: at most 254 characters, empty
/// when the file or the key is missing. Builds `filePath` first when it is empty: the settings file
/// in the program directory, or while there is none, one prepared beside the executable (where
/// the program directory is elsewhere). Only an ordinary file counts as the settings file.
void ReadIniValue(const SettingsContext& settings, std::string& section, std::string& key,
                  std::string& filePath, std::string& result);
/// Stores `value` under `key` of `section`, building `filePath` first when it is empty; `result`
/// receives the platform's success value (nonzero on success). A value with a line break is
/// refused (result 0) and the file keeps its old value for that key.
void WriteIniValue(const SettingsContext& settings, std::string& section, std::string& key,
                   std::string& value, std::string& filePath, std::int16_t& result);

/// Fills the settings values from section "System" of the settings file, with defaults for missing
/// keys, and applies a stored main window width. A value that does not convert ends the load at
/// its key: that key and all later ones keep their values from before the load. When the settings
/// file in the program directory could not be saved, SettingsError says where and why.
void LoadSettings(const SettingsContext& settings);
/// Notes, at the end of start-up, what the keys the load did not take hold, so that the save
/// writes them only when the run changes them.
void RememberUntakenSettings(const SettingsContext& settings);
/// Writes the thirteen settings of section "System" back, each on its own; a write that fails is
/// skipped and the others are still made. A key the load did not take (a value that did not
/// convert, or any key after it) keeps its text in the file unless the run changed its value. When
/// the settings could not be saved, SettingsSaveError says where and why.
void SaveSettings(const SettingsContext& settings);

}  // namespace volumetra
