#pragma once

namespace volumetra {

/// What a start comes to when another copy of the program runs with the same settings file.
enum class LaterStart {
  Raised,      ///< the running copy raised its main window: this start ends
  LockTaken,   ///< the running copy ended meanwhile and this start took its place: it runs
  Unanswered,  ///< the running copy did not answer within the time allowed
};

}  // namespace volumetra
