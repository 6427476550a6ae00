#pragma once

// The outages the dead-server tests of both backends put the whole program through: when a server
// dies and when it answers again, against the program's time-out reset.

#include <array>
#include <chrono>
#include <cstdint>
#include <ostream>

namespace volumetra::outages {

/// The time-out reset's period, the survey interval and the limit of one guarded call.
inline constexpr std::int64_t kReset = 65535;
inline constexpr std::int64_t kSurvey = 501;
inline constexpr std::chrono::milliseconds kLimit{5000};

/// When the server dies (milliseconds since start) and when it answers again.
struct Outage {
  std::int64_t dies;
  std::int64_t answers;
};

inline void PrintTo(const Outage& outage, std::ostream* out) {
  *out << "dies at " << outage.dies << " ms, answers again at " << outage.answers << " ms";
}

/// The resets come at 65.5 s, 131 s, 196.6 s ... The server dies early in a period or just before
/// a reset, and answers again just after a reset, just before one, or in between.
inline constexpr std::array kPhases{Outage{2000, 20'000},
                                    Outage{2000, kReset + 300},
                                    Outage{2000, 2 * kReset - 300},
                                    Outage{kReset - 6000, kReset + 900},
                                    Outage{kReset + 200, kReset + 3000},
                                    Outage{kReset + 200, 2 * kReset + 100}};

}  // namespace volumetra::outages
