#include "settings/settings_file.h"

#include <algorithm>
#include <limits>
#include <optional>

#include "app/form1.h"
#include "app/program.h"
#include "settings/setting_conversions.h"
#include "windows/form2.h"

namespace volumetra {
namespace {

constexpr const char* kSection = "System";
// Room for 254 characters (UTF-16 code units) and the terminating NUL.
constexpr int kValueBufferSize = 255;

std::string SettingsFileIn(FileService& files, const std::string& directory) {
  return directory + files.PathSeparator() + files.ExecutableBaseName() + ".ini";
}

// Where the settings are saved: the program directory.
std::string SettingsFilePath(Program& program) {
  FileService& files = program.os.files;
  return SettingsFileIn(files, files.ProgramDirectory());
}

// Where the settings are read from: the program directory's file; while there is none yet, a file
// prepared beside the executable when the program keeps its settings elsewhere.
std::string SettingsReadPath(Program& program) {
  FileService& files = program.os.files;
  const std::string saved = SettingsFilePath(program);
  if (files.IsOrdinaryFile(saved)) return saved;
  const std::string beside = SettingsFileIn(files, files.ExecutableDirectory());
  return beside != saved && files.IsOrdinaryFile(beside) ? beside : saved;
}

// Finds out at start whether the settings can be saved at the end, so that the user learns it
// while the program runs rather than never.
void CheckSettingsCanBeSaved(Program& program) {
  const std::string path = SettingsFilePath(program);
  std::string reason;
  program.m.SettingsError.clear();
  program.m.SettingsErrorShownAt.reset();
  if (!program.os.files.CanReplaceFile(path, reason)) program.m.SettingsError = path + ": " + reason;
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
bool LoadPosition(Program& p, const std::string& text) {
  return text.empty() || Store(p.m.*Variable, ReadInteger(text));
}

template <std::int32_t Module1::*Variable, std::int32_t Default>
bool LoadPositionOr(Program& p, const std::string& text) {
  if (text.empty()) p.m.*Variable = Default;
  return LoadPosition<Variable>(p, text);
}

bool LoadMainWidth(Program& p, const std::string& text) {
  const double width = ReadLenientNumber(text);
  if (!(width > 0)) return true;
  const std::optional<std::int32_t> rounded = RoundToInt32(width);
  if (!rounded) return false;
  p.form1().setWidth(static_cast<float>(width));
  p.m.Window1Width = *rounded;
  return true;
}

bool LoadGraphWidth(Program& p, const std::string& text) {
  if (text.empty()) {
    p.m.Window2Width = 5310;
    return true;
  }
  return Store(p.m.Window2Width, RoundToInt32(ReadLenientNumber(text)));
}

std::string English(Program&) {
  return "English";
}
std::string CurrentDirectory(Program& p) {
  return p.os.files.CurrentDirectory();
}
std::string LogTxt(Program&) {
  return "LOG.TXT";
}

template <std::string Module1::*Variable, std::string (*Default)(Program&)>
bool LoadText(Program& p, const std::string& text) {
  p.m.*Variable = text.empty() ? Default(p) : text;
  return true;
}

template <bool Module1::*Variable>
bool LoadFlag(Program& p, const std::string& text) {
  return text.empty() || Store(p.m.*Variable, ReadBoolean(text));
}

template <bool Module1::*Variable>
bool LoadFlagOrTrue(Program& p, const std::string& text) {
  if (text.empty()) p.m.*Variable = true;
  return LoadFlag<Variable>(p, text);
}

// --- Writing: each step gives the text to store, from the windows as they stand or the variables.

std::int32_t RoundedEdge(float edge) {
  constexpr double kMin = std::numeric_limits<std::int32_t>::min();
  constexpr double kMax = std::numeric_limits<std::int32_t>::max();
  return RoundToInt32(std::clamp(static_cast<double>(edge), kMin, kMax)).value_or(0);
}

std::string SaveMainLeft(Program& p) {
  p.m.Window1XPos = RoundedEdge(p.form1().left());
  return std::to_string(p.m.Window1XPos);
}
std::string SaveMainTop(Program& p) {
  p.m.Window1YPos = RoundedEdge(p.form1().top());
  return std::to_string(p.m.Window1YPos);
}
std::string SaveMainWidth(Program& p) {
  return WidthText(p.form1().width());
}
std::string SaveGraphLeft(Program& p) {
  p.m.Window2XPos = RoundedEdge(p.form2().left());
  return std::to_string(p.m.Window2XPos);
}
std::string SaveGraphTop(Program& p) {
  p.m.Window2YPos = RoundedEdge(p.form2().top());
  return std::to_string(p.m.Window2YPos);
}
std::string SaveGraphWidth(Program& p) {
  return WidthText(p.form2().width());
}

template <std::string Module1::*Variable>
std::string SaveText(Program& p) {
  return p.m.*Variable;
}

template <bool Module1::*Variable>
std::string SaveFlag(Program& p) {
  return BooleanText(p.m.*Variable);
}

struct SystemKey {
  const char* name;
  bool (*load)(Program&, const std::string& text);
  std::string (*save)(Program&);
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
std::size_t FirstUntakenKey(const Module1& m) {
  return kKeyCount - m.UntakenSettingsAtStart.size();
}

// Whether the save writes key `index`: every key the load took, and an untaken key that the run
// changed from what it held at the end of start-up. A graph-window key of a run without a graph
// window until the save is unchanged, as the save would place a new one from the same values.
bool SavesKey(const Module1& m, std::size_t index, const std::string& value, bool graphWindowRan) {
  if (index < FirstUntakenKey(m)) return true;
  const std::optional<std::string>& atStart = m.UntakenSettingsAtStart[index - FirstUntakenKey(m)];
  return atStart ? *atStart != value : graphWindowRan;
}

}  // namespace

void ReadIniValue(Program& program, std::string& section, std::string& key, std::string& filePath,
                  std::string& result) {
  if (filePath.empty()) filePath = SettingsReadPath(program);
  if (!program.os.files.IsOrdinaryFile(filePath)) {
    result.clear();
    return;
  }
  std::string buffer(kValueBufferSize, '\0');
  const int n =
      program.os.profile.GetPrivateProfileString(section, key, "", buffer, kValueBufferSize, filePath);
  result = buffer.substr(0, static_cast<std::size_t>(std::max(n, 0)));
}

void WriteIniValue(Program& program, std::string& section, std::string& key, std::string& value,
                   std::string& filePath, std::int16_t& result) {
  if (filePath.empty()) filePath = SettingsFilePath(program);
  result =
      static_cast<std::int16_t>(program.os.profile.WritePrivateProfileString(section, key, value, filePath));
}

void LoadSettings(Program& program) {
  Module1& m = program.m;
  CheckSettingsCanBeSaved(program);
  m.IniSection = kSection;
  m.IniFilePath.clear();
  m.UntakenSettingsAtStart.clear();
  for (std::size_t index = 0; index < kKeyCount; ++index) {
    const SystemKey& key = kSystemKeys[index];
    m.IniKey = key.name;
    m.IniResult.clear();
    ReadIniValue(program, m.IniSection, m.IniKey, m.IniFilePath, m.IniResult);
    if (!key.load(program, m.IniResult)) {
      m.UntakenSettingsAtStart.resize(kKeyCount - index);
      return;
    }
  }
}

void RememberUntakenSettings(Program& program) {
  Module1& m = program.m;
  for (std::size_t index = FirstUntakenKey(m); index < kKeyCount; ++index) {
    const SystemKey& key = kSystemKeys[index];
    std::optional<std::string>& atStart = m.UntakenSettingsAtStart[index - FirstUntakenKey(m)];
    atStart.reset();
    if (!key.ofGraphWindow || program.loadedForm2()) atStart = key.save(program);
  }
}

void SaveSettings(Program& program) {
  Module1& m = program.m;
  m.IniSection = kSection;
  m.IniFilePath.clear();
  // The thirteen writes go to the file's text in memory and then to the file in one step, so a
  // kill during the save leaves the old settings or the new ones, never a mix.
  const bool graphWindowRan = program.loadedForm2() != nullptr;
  ProfileService& profile = program.os.profile;
  profile.BeginWrites();
  bool saved = true;
  for (std::size_t index = 0; index < kKeyCount; ++index) {
    const SystemKey& key = kSystemKeys[index];
    m.IniKey = key.name;
    m.IniValue = key.save(program);
    if (!SavesKey(m, index, m.IniValue, graphWindowRan)) continue;
    WriteIniValue(program, m.IniSection, m.IniKey, m.IniValue, m.IniFilePath, m.IniWriteResult);
    saved = saved && m.IniWriteResult != 0;
  }
  saved = profile.CommitWrites() && saved;
  // A save that failed is not lost without a word: the platform tells the user once the program
  // has ended.
  m.SettingsSaveError.clear();
  if (!saved) {
    const std::string reason = profile.WriteError();
    m.SettingsSaveError = SettingsFilePath(program) + ": " + (reason.empty() ? "not written" : reason);
  }
}

}  // namespace volumetra
