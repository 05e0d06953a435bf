// The profile bands of the report page, one above the other on one axis of
// route metres: elevation, speed limits with the fastest run, the run's time
// against the timetable, adhesion, curves, mountain stretches, the lanes of
// objects and the errors.
#pragma once

#include <string>

#include "scenarioc/output/html_writer.h"
#include "scenarioc/report/report_model.h"

namespace scenario {

// Where the bands lie in the drawing, in pixels; the script reads the same.
struct BandLayout {
  int width = 1200;  // the static page's width; the script adapts it to the window
  int left = 136;    // the band names stand left of the plot
  int right = 14;
  int padding = 10;  // between the plot's edges and the ends of the route
  struct Band {
    const char* name;
    const char* title;
    int top;
    int height;
  };
  static constexpr Band kBands[] = {
      {"axis", "route km\nchainage", 0, 40},
      {"elevation", "Elevation\n(m)", 48, 110},
      {"speed", "Speed\n(km/h)", 168, 140},
      {"time", "Time from\nthe start (min)", 318, 110},
      {"adhesion", "Adhesion", 438, 32},
      {"curves", "Curves (radius)", 478, 28},
      {"mountain", "Mountain, tunnel", 514, 32},
      {"stations", "Stations", 554, 124},
      {"signals", "Signals", 684, 22},
      {"repetition", "Signal repetition", 712, 16},
      {"slowdowns", "Slowdowns", 734, 22},
      {"speed_boards", "Speed boards", 762, 22},
      {"indications", "Indication boards", 790, 22},
      {"markers", "Abbattimento", 818, 22},
      {"errors", "Errors", 846, 22},
  };
  static constexpr int kHeight = 874;
  static const Band& band(const char* name);
  int plot_width() const { return width - left - right; }
  // Where route metres are drawn: the plot less its padding.
  int drawn_left() const { return left + padding; }
  int drawn_width() const { return plot_width() - 2 * padding; }
};

// Appends the bands as an inline SVG element with the id "bands".
void append_bands_svg(HtmlWriter& w, const ReportModel& model);

}  // namespace scenario
