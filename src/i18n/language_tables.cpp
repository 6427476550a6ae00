// The caption and tool-tip texts of each language. Texts are UTF-8.
#include "i18n/language_tables.h"

namespace volumetra {
namespace {

constexpr TextWindow kMain = TextWindow::Form1;
constexpr TextWindow kGraph = TextWindow::Form2;
constexpr TextWindow kOptions = TextWindow::Form3;
constexpr TextProperty kCaption = TextProperty::Caption;
constexpr TextProperty kToolTip = TextProperty::ToolTip;

const HeaderLines kDeutschLines{
    "Vol Name     Typ      Total (MB)      Frei (KB)       Belegt (KB)     N-Len    Serien-Nr.",
    "Vol Name     Typ      Total (KB)      Frei (Bytes)   Belegt (Bytes) N-Len    Serien-Nr."};
const HeaderLines kDutchLines{
    "Vol Naam    Type     Total (MB)      Vrije (KB)       Used (KB)      N-Len    Serial No.",
    "Vol Naam    Type     Total (KB)      Vrije (Bytes)   Used (Bytes) N-Len    Serial-No."};
const HeaderLines kFrancaisLines{
    "Vol Nom      Type     Total (MB)      Libre (KB)        Occupe (KB) N-Len    Serial-No.",
    "Vol Nom      Type     Total (KB)      Libre (Bytes)   Occupe (Bytes) N-Len    Serial-No."};
// Dansk, Suomi and Italiano share one line; its unit-other form is also Label1's designed caption.
const HeaderLines kNordicItalianLines{
    "Vol Name    Type     Total (MB)      Free (KB)       Used (KB)      N-Len    Serial No.",
    "Vol Name    Type     Total (KB)      Free (Bytes)   Used (Bytes) N-Len    Serial No."};
const HeaderLines kEspanolLines{
    "Vol Nom      Type     Total (MB)      Libre (KB)       Ocupado (KB) N-Len    Serial-No.",
    "Vol Nom      Type     Total (KB)      Libre (Bytes)   Ocupado (Bytes) N-Len    Serial-No."};

const LanguageText kHeaderCaptions[] = {
    {kMain, "Label1", -1, kCaption, "Vol", "Vol"},
    {kMain, "Label10", -1, kCaption, "Name", "Name"},
    {kMain, "Label11", -1, kCaption, "Type", "Typ"},
    {kMain, "Label15", -1, kCaption, "N-Len", "N-Len"},
    {kMain, "Label16", -1, kCaption, "Serial No.", "Serial No."},
};

// Deutsch puts its header line into Label1 after the size headers; that line is what shows.
const LanguageText kUnit1000Captions[] = {
    {kMain, "Label12", -1, kCaption, "Total (MB)", "Total (MB)"},
    {kMain, "Label13", -1, kCaption, "Free (KB)", "Frei (KB)"},
    {kMain, "Label14", -1, kCaption, "Used (KB)", "Belegt (KB)"},
    {kMain, "Label1", -1, kCaption, nullptr, kDeutschLines.unit1000},
};

const LanguageText kUnitOtherCaptions[] = {
    {kMain, "Label12", -1, kCaption, "Total (KB)", "Total (KB)"},
    {kMain, "Label13", -1, kCaption, "Free (Bytes)", "Frei (Bytes)"},
    {kMain, "Label14", -1, kCaption, "Used (Bytes)", "Belegt (Bytes)"},
    {kMain, "Label1", -1, kCaption, nullptr, kDeutschLines.unitOther},
};

const LanguageText kRemaining[] = {
    {kMain, "Label131", -1, kCaption, "Free", "Frei"},
    {kMain, "Label52", -1, kCaption, "Used", "Belegt"},
    {kMain, "Command3", -1, kCaption, "About", "Über"},
    {kMain, "Command4", -1, kCaption, "Options", "Optionen"},
    {kMain, "Command5", -1, kCaption, "Next", "Graph"},
    {kMain, "Label2", 0, kToolTip, "volume letter", nullptr},
    {kMain, "Label3", 0, kToolTip, "name of the volume", nullptr},
    {kMain, "Label4", 0, kToolTip,
     "volume type and file system: HD = harddisk, CD = cdrom, Net = network; filesystems: FAT, NTFS, NWCOMP, "
     "CDFS",
     nullptr},
    {kMain, "Label5", 0, kToolTip, "total memory", nullptr},
    {kMain, "Label6", 0, kToolTip, "free memory", nullptr},
    {kMain, "Label7", 0, kToolTip, "used memory", nullptr},
    {kMain, "Label8", 0, kToolTip, "supported name lenght of files and directories", nullptr},
    {kMain, "Label9", 0, kToolTip, "serial number of the device", nullptr},
    {kMain, "Slider1", -1, kToolTip, "timer intervall", nullptr},
    {kMain, "Label130", -1, kToolTip, "sum of total memory of all drives", nullptr},
    {kMain, "Label131", -1, kToolTip, "sum of total free memory of all drives", nullptr},
    {kMain, "Label52", -1, kToolTip, "sum of total used memory of all drives", nullptr},
    {kMain, "Command1", -1, kToolTip, "stop/start checking drives", nullptr},
    {kMain, "Command2", -1, kToolTip, "exit program", nullptr},
    {kMain, "Command3", -1, kToolTip, "about the program", nullptr},
    {kMain, "Command4", -1, kToolTip, "program options (setup)", nullptr},
    {kMain, "Command5", -1, kToolTip, "graphical view", nullptr},
    {kGraph, "Label26", -1, kCaption, "  Free", "  Frei"},
    {kGraph, "Label27", -1, kCaption, "Total", "Gesamt"},
    {kOptions, "Check1", -1, kCaption, "enable logging to file", "Dateiprotokollierung"},
    {kOptions, "Check2", -1, kCaption, "link graph to main window",
     "grafische Auswertung an Hauptfenster koppeln"},
    {kOptions, "Check3", -1, kCaption, "enable low diskspace alarm colours",
     "Farb-Alarm-Information bei niedriger Fesplattenkapazität"},
    {kOptions, "Check4", -1, kCaption, "enable alarm beep", "Alarm-Warnton"},
    {kOptions, "Check5", -1, kCaption, "enable colour info", "Farbinformation"},
    {kOptions, "Check6", -1, kCaption, "every second", "jede Sekunde"},
    {kOptions, "Check7", -1, kCaption, "every minute", "jede Minute"},
    {kOptions, "Check8", -1, kCaption, "slider value main window", "Einstell-Wert Hauptfenster"},
    {kOptions, "Label1", -1, kCaption, "value", "Wert"},
    {kOptions, "Label3", -1, kCaption, "log file name", "Log-Dateiname"},
    {kOptions, "Label6", -1, kCaption, "log file directory", "Verzeichnis für Logdatei"},
};

const ShortLanguage kShortLanguages[] = {
    {"Dutch", "Vrije", "Used", kDutchLines},           {"Francais", "Libre", "Occupe", kFrancaisLines},
    {"Dansk", "Free", "Used", kNordicItalianLines},    {"Suomi", "Free", "Used", kNordicItalianLines},
    {"Italiano", "Free", "Used", kNordicItalianLines}, {"Espanol", "Libre", "Ocupado", kEspanolLines},
};

}  // namespace

std::span<const LanguageText> HeaderCaptionTexts() {
  return kHeaderCaptions;
}

std::span<const LanguageText> UnitCaptionTexts(bool unit1000) {
  if (unit1000) return kUnit1000Captions;
  return kUnitOtherCaptions;
}

std::span<const LanguageText> RemainingTexts() {
  return kRemaining;
}

std::span<const ShortLanguage> ShortLanguages() {
  return kShortLanguages;
}

}  // namespace volumetra
