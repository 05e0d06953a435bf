// The profile bands of the report page, one above the other on one axis of
// route metres: elevation, speed limits, adhesion, mountain stretches, the
// lane of objects and the errors.
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
      {"speed", "Speed limit\n(km/h)", 168, 140},
      {"adhesion", "Adhesion", 318, 32},
      {"mountain", "Mountain, tunnel", 358, 20},
      {"stations", "Stations", 386, 124},
      {"signals", "Signals", 516, 22},
      {"slowdowns", "Slowdowns", 544, 22},
      {"speed_boards", "Speed boards", 572, 22},
      {"indications", "Indication boards", 600, 22},
      {"markers", "Abbattimento", 628, 22},
      {"errors", "Errors", 656, 22},
  };
  static constexpr int kHeight = 684;
  static const Band& band(const char* name);
  int plot_width() const { return width - left - right; }
  // Where route metres are drawn: the plot less its padding.
  int drawn_left() const { return left + padding; }
  int drawn_width() const { return plot_width() - 2 * padding; }
};

// Appends the bands as an inline SVG element with the id "bands".
void append_bands_svg(HtmlWriter& w, const ReportModel& model);

}  // namespace scenario
