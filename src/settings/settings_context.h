#pragma once

#include "platform/file_service.h"
#include "platform/profile_service.h"
#include "probe/module1.h"
#include "settings/settings_state.h"

namespace volumetra {

/// The windows whose placement the settings file keeps, as the settings see them: edges and widths
/// in twips. The graph window's are those of the window as it stands, created in its designed
/// state when it does not exist yet.
class SettingsWindows {
 public:
  virtual ~SettingsWindows() = default;
  virtual float MainLeft() = 0;
  virtual float MainTop() = 0;
  virtual float MainWidth() = 0;
  virtual void SetMainWidth(float width) = 0;
  virtual float GraphLeft() = 0;
  virtual float GraphTop() = 0;
  virtual float GraphWidth() = 0;
  /// The graph window exists now.
  virtual bool GraphWindowExists() const = 0;
};

/// What the settings file is read and written with: the shared state, the settings' own state,
/// the file and profile services, and the windows it places.
struct SettingsContext {
  Module1& m;
  SettingsState& state;
  FileService& files;
  ProfileService& profile;
  SettingsWindows& windows;
};

}  // namespace volumetra
