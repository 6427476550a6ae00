#pragma once

#include <cstdint>
#include <string>

namespace volumetra {

class Program;

/// Reads `key` of `section` from the settings file into `result` (empty when the file or key is
/// missing). Builds `filePath` first when it is empty.
void ReadIniValue(Program& program, std::string& section, std::string& key, std::string& filePath,
                  std::string& result);
/// Stores `value` under `key` of `section`; `result` receives the platform's success value.
void WriteIniValue(Program& program, std::string& section, std::string& key, std::string& value,
                   std::string& filePath, std::int16_t& result);

/// Fills the settings values from the settings file, with defaults for missing keys.
void LoadSettings(Program& program);
/// Writes the settings values back to the settings file.
void SaveSettings(Program& program);

}  // namespace volumetra
