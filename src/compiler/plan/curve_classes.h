// The six curve classes: the curvature per metre that the class digit of a
// curve keyword selects, read by the line parser and by the decompiler, which
// tells a curve's class from the steps of the track plan.
#pragma once

namespace scenario {

struct CurveClass {
  char digit;
  double curvature;  // a curve to the right; one to the left ("s") turns the other way
};

// In the order the parser tests the digits: the first one a keyword holds wins.
inline constexpr CurveClass kCurveClasses[] = {{'1', 0.0001}, {'2', 0.0002}, {'3', 0.0004},
                                               {'4', 0.001},  {'5', 0.002},  {'6', 0.003}};

}  // namespace scenario
