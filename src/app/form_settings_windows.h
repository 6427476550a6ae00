#pragma once

#include "settings/settings_context.h"

namespace volumetra {

class Program;

/// The main and graph windows as the settings file places them.
class FormSettingsWindows : public SettingsWindows {
 public:
  explicit FormSettingsWindows(Program& program) : program_(program) {}

  float MainLeft() override;
  float MainTop() override;
  float MainWidth() override;
  void SetMainWidth(float width) override;
  float GraphLeft() override;
  float GraphTop() override;
  float GraphWidth() override;
  bool GraphWindowExists() const override;

 private:
  Program& program_;
};

}  // namespace volumetra
