// A save that fails at the end reaches the user: a message box naming the file and the reason when
// the user closed the program, the standard error stream (and the system log) when a signal or the
// session's end closed it.
#include "platform/qt/unsaved_settings.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <fstream>

#include "app/form1.h"
#include "platform/qt/qt_machine.h"

namespace volumetra {
namespace {

namespace fs = std::filesystem;

class UnsavedSettings : public ::testing::Test {
 protected:
  // A read-only settings file: the save at the end cannot replace it.
  void SetUp() override {
    std::ofstream(qt.iniPath()) << "[System]\nLanguage=Deutsch\n";
    fs::permissions(qt.iniPath(), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    qt.start();
  }
  // Ends the run with a click on the Exit button, as the user does, while the application's event
  // loop runs, as in the program: the end of the run ends that loop.
  void clickExit() {
    Form1& form1 = qt.program->form1();
    QTimer::singleShot(0, [this, &form1] { qt.widget<QPushButton>(form1, form1.Command2).click(); });
    QApplication::exec();
    ASSERT_TRUE(qt.program->Ended());
  }

  QtMachine qt;
};

TEST_F(UnsavedSettings, AUserWhoClosesTheProgramSeesWhyInABox) {
  clickExit();
  // Looks for the box as it comes up, reads it and presses its button.
  QString shown;
  QTimer finder;
  QObject::connect(&finder, &QTimer::timeout, [&shown] {
    for (QWidget* window : QApplication::topLevelWidgets()) {
      auto* box = qobject_cast<QMessageBox*>(window);
      if (!box || !box->isVisible()) continue;
      shown = box->text();
      box->button(QMessageBox::Ok)->click();
    }
  });
  finder.start(10);
  TellUnsavedSettings(qt.program->m.Language, qt.program->settingsState.SettingsSaveError, true);
  finder.stop();
  const std::string text = shown.toStdString();
  EXPECT_NE(text.find("Einstellungen nicht gespeichert: " + qt.iniPath() + ": read-only file"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("verloren"), std::string::npos) << text;
}

TEST_F(UnsavedSettings, AnEndBySignalOrSessionTellsTheErrorStreamAndShowsNoBox) {
  clickExit();
  bool boxShown = false;
  QTimer::singleShot(0, [&boxShown] {
    for (QWidget* window : QApplication::topLevelWidgets()) {
      if (auto* box = qobject_cast<QMessageBox*>(window); box && box->isVisible()) {
        boxShown = true;
        box->accept();
      }
    }
  });
  testing::internal::CaptureStderr();
  TellUnsavedSettings(qt.program->m.Language, qt.program->settingsState.SettingsSaveError, false);
  const std::string told = testing::internal::GetCapturedStderr();
  ProcessQtEvents();
  EXPECT_FALSE(boxShown);
  EXPECT_NE(told.find("volumetra: Einstellungen nicht gespeichert: " + qt.iniPath() + ": read-only file"),
            std::string::npos)
      << told;
}

TEST_F(UnsavedSettings, ASavedRunTellsNothing) {
  fs::permissions(qt.iniPath(), fs::perms::owner_write, fs::perm_options::add);
  clickExit();
  testing::internal::CaptureStderr();
  TellUnsavedSettings(qt.program->m.Language, qt.program->settingsState.SettingsSaveError, false);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(qt.program->settingsState.SettingsSaveError, "");
}

}  // namespace
}  // namespace volumetra
