#include "settings/settings_file.h"

#include <algorithm>
#include <limits>
#include <optional>

#include "settings/setting_conversions.h"

namespace volumetra {
namespace {

constexpr const char* kSection = "System";
// Room for 254 characters (UTF-16 code units) and the terminating NUL.
constexpr int kValueBufferSize = 255;

std::string SettingsFileIn(FileService& files, const std::string& directory) {
  return directory + files.PathSeparator() + files.ExecutableBaseName() + ".ini";
}

// Where the settings are saved: the program directory.
std::string SettingsFilePath(const SettingsContext& settings) {
  FileService& files = settings.files;
  return SettingsFileIn(files, files.ProgramDirectory());
}

// Where the settings are read from: the program directory's file; while there is none yet, a file
// prepared beside the executable when the program keeps its settings elsewhere.
std::string SettingsReadPath(const SettingsContext& settings) {
  FileService& files = settings.files;
  const std::string saved = SettingsFilePath(settings);
  if (files.IsOrdinaryFile(saved)) return saved;
  const std::string beside = SettingsFileIn(files, files.ExecutableDirectory());
  return beside != saved && files.IsOrdinaryFile(beside) ? beside : saved;
}

// Finds out at start whether the settings can be saved at the end, so that the user learns it
// while the program runs rather than never.
void CheckSettingsCanBeSaved(const SettingsContext& settings) {
  const std::string path = SettingsFilePath(settings);
  std::string reason;
  settings.state.SettingsError.clear();
  if (!settings.files.CanReplaceFile(path, reason)) settings.state.SettingsError = path + ": " + reason;
}

// --- Reading: each step stores the converted text, or the key's default when the text is empty.
// A step returns false when the text does not convert, which ends the load.

template <typename T>
bool Store(T& variable, std::optional<T> converted) {
  if (!converted) return false;
  variable = *converted;
  return true;
}

template <std::int32_t Module1::*Variable>
bool LoadPosition(const SettingsContext& p, const std::string& text) {
  return text.empty() || Store(p.m.*Variable, ReadInteger(text));
}

template <std::int32_t Module1::*Variable, std::int32_t Default>
bool LoadPositionOr(const SettingsContext& p, const std::string& text) {
  if (text.empty()) p.m.*Variable = Default;
  return LoadPosition<Variable>(p, text);
}

bool LoadMainWidth(const SettingsContext& p, const std::string& text) {
  const double width = ReadLenientNumber(text);
  if (!(width > 0)) return true;
  const std::optional<std::int32_t> rounded = RoundToInt32(width);
  if (!rounded) return false;
  p.windows.SetMainWidth(static_cast<float>(width));
  p.m.Window1Width = *rounded;
  return true;
}

bool LoadGraphWidth(const SettingsContext& p, const std::string& text) {
  if (text.empty()) {
    p.m.Window2Width = 5310;
    return true;
  }
  return Store(p.m.Window2Width, RoundToInt32(ReadLenientNumber(text)));
}

std::string English(const SettingsContext&) {
  return "English";
}
std::string CurrentDirectory(const SettingsContext& p) {
  return p.files.CurrentDirectory();
}
std::string LogTxt(const SettingsContext&) {
  return "LOG.TXT";
}

template <std::string Module1::*Variable, std::string (*Default)(const SettingsContext&)>
bool LoadText(const SettingsContext& p, const std::string& text) {
  p.m.*Variable = text.empty() ? Default(p) : text;
  return true;
}

template <bool Module1::*Variable>
bool LoadFlag(const SettingsContext& p, const std::string& text) {
  return text.empty() || Store(p.m.*Variable, ReadBoolean(text));
}

template <bool Module1::*Variable>
bool LoadFlagOrTrue(const SettingsContext& p, const std::string& text) {
  if (text.empty()) p.m.*Variable = true;
  return LoadFlag<Variable>(p, text);
}

// --- Writing: each step gives the text to store, from the windows as they stand or the variables.

std::int32_t RoundedEdge(float edge) {
  constexpr double kMin = std::numeric_limits<std::int32_t>::min();
  constexpr double kMax = std::numeric_limits<std::int32_t>::max();
  return RoundToInt32(std::clamp(static_cast<double>(edge), kMin, kMax)).value_or(0);
}

std::string SaveMainLeft(const SettingsContext& p) {
  p.m.Window1XPos = RoundedEdge(p.windows.MainLeft());
  return std::to_string(p.m.Window1XPos);
}
std::string SaveMainTop(const SettingsContext& p) {
  p.m.Window1YPos = RoundedEdge(p.windows.MainTop());
  return std::to_string(p.m.Window1YPos);
}
std::string SaveMainWidth(const SettingsContext& p) {
  return WidthText(p.windows.MainWidth());
}
std::string SaveGraphLeft(const SettingsContext& p) {
  p.m.Window2XPos = RoundedEdge(p.windows.GraphLeft());
  return std::to_string(p.m.Window2XPos);
}
std::string SaveGraphTop(const SettingsContext& p) {
  p.m.Window2YPos = RoundedEdge(p.windows.GraphTop());
  return std::to_string(p.m.Window2YPos);
}
std::string SaveGraphWidth(const SettingsContext& p) {
  return WidthText(p.windows.GraphWidth());
}

template <std::string Module1::*Variable>
std::string SaveText(const SettingsContext& p) {
  return p.m.*Variable;
}

template <bool Module1::*Variable>
std::string SaveFlag(const SettingsContext& p) {
  return BooleanText(p.m.*Variable);
}

struct SystemKey {
  const char* name;
  bool (*load)(const SettingsContext&, const std::string& text);
  std::string (*save)(const SettingsContext&);
  /// The key's value lies in the graph window's geometry.
  bool ofGraphWindow = false;
};

// The keys of section "System", in the order they are read and written.
constexpr SystemKey kSystemKeys[] = {
    {"Window1XPos", LoadPosition<&Module1::Window1XPos>, SaveMainLeft},
    {"Window1YPos", LoadPosition<&Module1::Window1YPos>, SaveMainTop},
    {"Window1Width", LoadMainWidth, SaveMainWidth},
    {"Window2XPos", LoadPositionOr<&Module1::Window2XPos, 6650>, SaveGraphLeft, true},
    {"Window2YPos", LoadPositionOr<&Module1::Window2YPos, 230>, SaveGraphTop, true},
    {"Window2Width", LoadGraphWidth, SaveGraphWidth, true},
    {"Language", LoadText<&Module1::Language, English>, SaveText<&Module1::Language>},
    {"ReportFileDir", LoadText<&Module1::ReportFileDir, CurrentDirectory>, SaveText<&Module1::ReportFileDir>},
    {"ReportFileName", LoadText<&Module1::ReportFileName, LogTxt>, SaveText<&Module1::ReportFileName>},
    {"EnableBarGraph", LoadFlagOrTrue<&Module1::ShowGraph>, SaveFlag<&Module1::ShowGraph>},
    {"ExcludeCDRomDrives", LoadFlag<&Module1::ExcludeCDs>, SaveFlag<&Module1::ExcludeCDs>},
    {"ExcludeDoubleMappings", LoadFlag<&Module1::ExcludeDoubles>, SaveFlag<&Module1::ExcludeDoubles>},
    {"LinkGraphToMainWindow", LoadFlagOrTrue<&Module1::LinkGraph>, SaveFlag<&Module1::LinkGraph>},
};

constexpr std::size_t kKeyCount = std::size(kSystemKeys);

// The index of the first key the load did not take.
std::size_t FirstUntakenKey(const SettingsState& state) {
  return kKeyCount - state.UntakenSettingsAtStart.size();
}

// Whether the save writes key `index`: every key the load took, and an untaken key that the run
// changed from what it held at the end of start-up. A graph-window key of a run without a graph
// window until the save is unchanged, as the save would place a new one from the same values.
bool SavesKey(const SettingsState& state, std::size_t index, const std::string& value, bool graphWindowRan) {
  if (index < FirstUntakenKey(state)) return true;
  const std::optional<std::string>& atStart = state.UntakenSettingsAtStart[index - FirstUntakenKey(state)];
  return atStart ? *atStart != value : graphWindowRan;
}

}  // namespace

void ReadIniValue(const SettingsContext& settings, std::string& section, std::string& key,
                  std::string& filePath, std::string& result) {
  if (filePath.empty()) filePath = SettingsReadPath(settings);
  if (!settings.files.IsOrdinaryFile(filePath)) {
    result.clear();
    return;
  }
  std::string buffer(kValueBufferSize, '\0');
  const int n =
      settings.profile.GetPrivateProfileString(section, key, "", buffer, kValueBufferSize, filePath);
  result = buffer.substr(0, static_cast<std::size_t>(std::max(n, 0)));
}

void WriteIniValue(const SettingsContext& settings, std::string& section, std::string& key,
                   std::string& value, std::string& filePath, std::int16_t& result) {
  if (filePath.empty()) filePath = SettingsFilePath(settings);
  result =
      static_cast<std::int16_t>(settings.profile.WritePrivateProfileString(section, key, value, filePath));
}

void LoadSettings(const SettingsContext& settings) {
  SettingsState& state = settings.state;
  IniCall& call = state.call;
  CheckSettingsCanBeSaved(settings);
  call.IniSection = kSection;
  call.IniFilePath.clear();
  state.UntakenSettingsAtStart.clear();
  for (std::size_t index = 0; index < kKeyCount; ++index) {
    const SystemKey& key = kSystemKeys[index];
    call.IniKey = key.name;
    call.IniResult.clear();
    ReadIniValue(settings, call.IniSection, call.IniKey, call.IniFilePath, call.IniResult);
    if (!key.load(settings, call.IniResult)) {
      state.UntakenSettingsAtStart.resize(kKeyCount - index);
      return;
    }
  }
}

void RememberUntakenSettings(const SettingsContext& settings) {
  SettingsState& state = settings.state;
  for (std::size_t index = FirstUntakenKey(state); index < kKeyCount; ++index) {
    const SystemKey& key = kSystemKeys[index];
    std::optional<std::string>& atStart = state.UntakenSettingsAtStart[index - FirstUntakenKey(state)];
    atStart.reset();
    if (!key.ofGraphWindow || settings.windows.GraphWindowExists()) atStart = key.save(settings);
  }
}

void SaveSettings(const SettingsContext& settings) {
  SettingsState& state = settings.state;
  IniCall& call = state.call;
  call.IniSection = kSection;
  call.IniFilePath.clear();
  // The thirteen writes go to the file's text in memory and then to the file in one step, so a
  // kill during the save leaves the old settings or the new ones, never a mix.
  const bool graphWindowRan = settings.windows.GraphWindowExists();
  ProfileService& profile = settings.profile;
  profile.BeginWrites();
  bool saved = true;
  for (std::size_t index = 0; index < kKeyCount; ++index) {
    const SystemKey& key = kSystemKeys[index];
    call.IniKey = key.name;
    call.IniValue = key.save(settings);
    if (!SavesKey(state, index, call.IniValue, graphWindowRan)) continue;
    WriteIniValue(settings, call.IniSection, call.IniKey, call.IniValue, call.IniFilePath,
                  call.IniWriteResult);
    saved = saved && call.IniWriteResult != 0;
  }
  saved = profile.CommitWrites() && saved;
  // A save that failed is not lost without a word: the platform tells the user once the program
  // has ended.
  state.SettingsSaveError.clear();
  if (!saved) {
    const std::string reason = profile.WriteError();
    state.SettingsSaveError = SettingsFilePath(settings) + ": " + (reason.empty() ? "not written" : reason);
  }
}

}  // namespace volumetra
