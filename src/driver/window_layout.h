// The layout of the waiting window, the same on every system: its size and
// its one label "Attendere", held in twips (1440 to the inch) and points and
// turned into pixels at the screen's resolution (waiting_window.cc, the
// module for Linux; user_interface_win32.cc).
#pragma once

#include "base/rounding.h"

namespace scenario {

inline constexpr double kTwipsPerInch = 1440;
inline constexpr double kPointsPerInch = 72;
// The resolution taken when the screen does not tell its own.
inline constexpr int kFallbackDpi = 96;

inline constexpr int kWindowWidth = 4200;
inline constexpr int kWindowHeight = 2688;
inline constexpr int kLabelLeft = 960;
inline constexpr int kLabelTop = 960;
inline constexpr int kLabelWidth = 2652;
inline constexpr int kLabelHeight = 792;
// In bold type; each system draws it in a face of its own.
inline constexpr int kLabelPoints = 24;
inline constexpr char kLabelText[] = "Attendere";

// Twips and points in pixels at a screen's resolution, rounded half to even.
class Scale {
 public:
  explicit Scale(double dpi) : dpi_(dpi) {}
  int twips(double t) const { return static_cast<int>(round_half_even(t * dpi_ / kTwipsPerInch)); }
  int points(double p) const {
    return static_cast<int>(round_half_even(p * dpi_ / kPointsPerInch));
  }

 private:
  double dpi_;
};

}  // namespace scenario
