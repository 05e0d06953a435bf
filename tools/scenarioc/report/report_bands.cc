#include "scenarioc/report/report_bands.h"

#include <algorithm>
#include <cstring>

#include "scenarioc/output/html_text.h"
#include "scenarioc/report/object_drawing.h"
#include "scenarioc/report/report_svg.h"

namespace scenario {
namespace {

constexpr int kYDecimals = 1;
constexpr int32_t kSpeedGridStep = 40;  // km/h between the speed band's grid lines

// Route metres to pixels for the static page, which shows the whole extent.
struct Axis {
  double first = 0;
  double scale = 1;  // pixels a metre
  double left = 0;
  double x(double metres) const { return left + (metres - first) * scale; }
};

Axis full_view(const ReportModel& model, const BandLayout& layout) {
  const double span = std::max(1, model.last_metres - model.first_metres);
  return {static_cast<double>(model.first_metres), layout.drawn_width() / span,
          static_cast<double>(layout.drawn_left())};
}

// A linear scale from values to the pixels of one band, `low` at its bottom.
struct Scale {
  double top = 0, height = 1, low = 0, high = 1;
  double y(double value) const { return top + height - (value - low) / (high - low) * height; }
};

Scale band_scale(const char* band, double low, double high, double inset) {
  const BandLayout::Band& b = BandLayout::band(band);
  if (high <= low) high = low + 1;
  return {b.top + inset, b.height - 2 * inset, low, high};
}

Scale elevation_scale(const ReportModel& model) {
  int64_t low = 0, high = 0;
  for (const ElevationPoint& p : model.elevation) {
    low = std::min(low, p.millimetres);
    high = std::max(high, p.millimetres);
  }
  return band_scale("elevation", low / 1000.0, std::max(high, low + 1000) / 1000.0, 14);
}

int32_t speed_ceiling(const ReportModel& model) {
  int32_t top = 160;
  for (const Run& r : model.speed_limit) top = std::max(top, r.value);
  for (const auto& runs : model.board_speed) {
    for (const Run& r : runs) top = std::max(top, r.value);
  }
  return (top + kSpeedGridStep - 1) / kSpeedGridStep * kSpeedGridStep;
}

int32_t adhesion_ceiling(const ReportModel& model) {
  int32_t top = 100;
  for (const Run& r : model.adhesion) top = std::max(top, r.value);
  return top;
}

void append_number_attribute(std::string& out, const char* name, double value) {
  out += ' ';
  out += name;
  out += "=\"";
  append_fixed(out, value, kYDecimals);
  out += '"';
}

void append_path(std::string& out, const std::string& css_class, const PathData& path) {
  if (path.empty()) return;
  out += "<path class=\"" + css_class + "\" d=\"" + path.str() + "\"/>";
}

// A step line over runs, in route metres across and pixels down.
PathData step_path(const std::vector<Run>& runs, const Scale& scale) {
  PathData path(kYDecimals);
  for (size_t i = 0; i < runs.size(); ++i) {
    const double y = scale.y(runs[i].value);
    if (i == 0 || runs[i - 1].to != runs[i].from) {
      path.move_to(runs[i].from, y);
    } else {
      path.line_to(runs[i].from, y);
    }
    path.line_to(runs[i].to, y);
  }
  return path;
}

void append_elevation(std::string& out, const ReportModel& model, const Scale& scale) {
  if (model.elevation.empty()) return;
  PathData line(kYDecimals);
  PathData area(kYDecimals);
  const double bottom = scale.top + scale.height + 14;
  area.move_to(model.elevation.front().metres, bottom);
  for (size_t i = 0; i < model.elevation.size(); ++i) {
    const ElevationPoint& p = model.elevation[i];
    const double y = scale.y(p.millimetres / 1000.0);
    if (i == 0) {
      line.move_to(p.metres, y);
    } else {
      line.line_to(p.metres, y);
    }
    area.line_to(p.metres, y);
  }
  area.line_to(model.elevation.back().metres, bottom);
  append_path(out, "elev-area", area);
  append_path(out, "elev", line);
}

void append_rect(std::string& out, const std::string& attributes, double from, double to,
                 double top, double height) {
  out += "<rect " + attributes;
  append_number_attribute(out, "x", from);
  append_number_attribute(out, "y", top);
  append_number_attribute(out, "width", std::max(0.0, to - from));
  append_number_attribute(out, "height", height);
  out += "/>";
}

// Drawn in route metres across, stretched by the script's zoom.
void append_scaled(std::string& out, const ReportModel& model, const Axis& axis) {
  out += "<g id=\"scaled\" transform=\"matrix(";
  append_fixed(out, axis.scale, 9);
  out += " 0 0 1 ";
  append_fixed(out, axis.left - axis.first * axis.scale, 3);
  out += " 0)\">";
  append_elevation(out, model, elevation_scale(model));
  const Scale speed = band_scale("speed", 0, speed_ceiling(model), 4);
  static const char* kBoardClasses[] = {"board-a", "board-b", "board-c"};
  for (int category = 2; category >= 0; --category) {
    append_path(out, kBoardClasses[category], step_path(model.board_speed[category], speed));
  }
  append_path(out, "limit", step_path(model.speed_limit, speed));
  append_path(out, "adh",
              step_path(model.adhesion, band_scale("adhesion", 0, adhesion_ceiling(model), 4)));
  const BandLayout::Band& mountain = BandLayout::band("mountain");
  for (const Run& r : model.mountain) {
    append_rect(out, "class=\"mbar\"", r.from, r.to, mountain.top + 4, mountain.height - 8);
  }
  const BandLayout::Band& stations = BandLayout::band("stations");
  for (size_t i = 0; i < model.stations.size(); ++i) {
    const ReportStation& s = model.stations[i];
    append_rect(out, "class=\"zone\" data-s=\"" + std::to_string(i) + "\"", s.zone_from, s.zone_to,
                stations.top + stations.height - 6, 5);
  }
  const BandLayout::Band& slowdowns = BandLayout::band("slowdowns");
  for (const ReportSlowdown& s : model.slowdowns) {
    append_rect(out, "class=\"sbar\"", s.start, s.end, slowdowns.top + 8, 6);
  }
  out += "</g>";
}

// An element placed at a route position: the script moves it across on zoom.
void open_placed(std::string& out, const std::string& attributes, int32_t metres,
                 const Axis& axis) {
  out += "<g " + attributes + " data-m=\"" + std::to_string(metres) + "\" transform=\"translate(";
  append_fixed(out, axis.x(metres), kYDecimals);
  out += " 0)\">";
}

// A label drawn over a stretch, shown by the script only where it fits.
void append_stretch_label(std::string& out, const std::string& css_class, const Run& run,
                          const std::string& text, double y, const Axis& axis) {
  open_placed(out,
              "class=\"" + css_class + "\" data-w=\"" + std::to_string(run.to - run.from) + "\"",
              run.from + (run.to - run.from) / 2, axis);
  out += "<text";
  append_number_attribute(out, "y", y);
  out += '>';
  append_escaped(out, text);
  out += "</text></g>";
}

void append_profile_labels(std::string& out, const ReportModel& model, const Axis& axis) {
  const BandLayout::Band& elevation = BandLayout::band("elevation");
  for (const Run& r : model.gradient) {
    append_stretch_label(out, "gl", r, gradient_text(r.value), elevation.top + 11, axis);
  }
  const Scale speed = band_scale("speed", 0, speed_ceiling(model), 4);
  for (const Run& r : model.speed_limit) {
    append_stretch_label(out, "vl", r, std::to_string(r.value), speed.y(r.value) - 4, axis);
  }
  const Scale adhesion = band_scale("adhesion", 0, adhesion_ceiling(model), 4);
  for (const Run& r : model.adhesion) {
    append_stretch_label(out, "al", r, std::to_string(r.value),
                         std::max(adhesion.y(r.value) - 3, adhesion.top + 9), axis);
  }
  const BandLayout::Band& mountain = BandLayout::band("mountain");
  for (const Run& r : model.mountain) {
    append_stretch_label(out, "ml", r, "type " + std::to_string(r.value), mountain.top + 14, axis);
  }
}

// The glyph of an object kind, shifted down to its band.
std::string glyph_path(const ObjectDrawing& drawing) {
  return "<path class=\"g\" transform=\"translate(0 " +
         std::to_string(BandLayout::band(drawing.band).top) + ")\" d=\"" + drawing.glyph + "\"/>";
}

std::string diagnostics_attribute(const std::vector<int32_t>& diagnostics) {
  if (diagnostics.empty()) return "";
  std::string list;
  for (int32_t d : diagnostics) list += (list.empty() ? "" : " ") + std::to_string(d);
  return " data-d=\"" + list + "\"";
}

std::string object_classes(const ReportObject& o) {
  std::string classes = "o k" + std::to_string(o.oggetto);
  if (o.oggetto == kSignal) {
    classes += " sx" + std::to_string(signal_side(o.raw, true).kind);
  }
  if (o.automatic) classes += " auto";
  if (!o.diagnostics.empty()) classes += " bad";
  return classes;
}

void append_object_label(std::string& out, const ReportObject& o) {
  const ObjectDrawing& drawing = drawing_of(o.oggetto);
  if (o.label.empty() || !drawing.label_drawn) return;
  const int top = BandLayout::band(drawing.band).top;
  out += "<text class=\"lbl\" x=\"" + std::to_string(drawing.label_x) + "\" y=\"" +
         std::to_string(top + drawing.label_y) + "\">";
  append_escaped(out, o.label);
  out += "</text>";
}

void append_objects(std::string& out, const ReportModel& model, const Axis& axis) {
  for (size_t i = 0; i < model.objects.size(); ++i) {
    const ReportObject& o = model.objects[i];
    std::string attributes = "class=\"" + object_classes(o) + "\" id=\"o" + std::to_string(i) +
                             "\" data-k=\"" + std::to_string(o.oggetto) + "\"" +
                             diagnostics_attribute(o.diagnostics);
    open_placed(out, attributes, o.metres, axis);
    append_title(out, object_tip(model, o));
    out += glyph_path(drawing_of(o.oggetto));
    append_object_label(out, o);
    out += "</g>";
  }
}

void append_stations(std::string& out, const ReportModel& model, const Axis& axis) {
  const BandLayout::Band& band = BandLayout::band("stations");
  const int base = band.top + band.height - 8;
  for (size_t i = 0; i < model.stations.size(); ++i) {
    const ReportStation& s = model.stations[i];
    const std::string index = std::to_string(i);
    open_placed(out,
                "class=\"stn" + std::string(s.stops() ? " stop" : "") + "\" id=\"s" + index +
                    "\" data-s=\"" + index + "\"" + diagnostics_attribute(s.diagnostics),
                s.position, axis);
    append_title(out, station_tip(model, s));
    out += "<path class=\"g\" d=\"M0 " + std::to_string(base - 10) + "L5.5 " +
           std::to_string(base) + "H-5.5Z\"/>";
    out += "<text class=\"lbl\" transform=\"translate(4 " + std::to_string(base - 13) +
           ") rotate(-90)\">";
    append_escaped(out, s.name);
    out += "</text></g>";
  }
}

void append_errors(std::string& out, const ReportModel& model, const Axis& axis) {
  const BandLayout::Band& band = BandLayout::band("errors");
  for (size_t i = 0; i < model.diagnostics.size(); ++i) {
    const ReportDiagnostic& d = model.diagnostics[i];
    if (!d.position) continue;
    const std::string index = std::to_string(i);
    open_placed(out,
                "class=\"err " + d.severity + "\" id=\"e" + index + "\" data-d=\"" + index + "\"",
                *d.position, axis);
    append_title(out, diagnostic_tip(model, d));
    out += "<circle cy=\"" + std::to_string(band.top + 11) + "\" r=\"7\"/><text y=\"" +
           std::to_string(band.top + 15) + "\">!</text></g>";
  }
}

void append_route_end(std::string& out, const ReportModel& model, const Axis& axis) {
  open_placed(out, "class=\"rend\"", model.route_length, axis);
  out += "<title>end of the route\nposition " + metres_text(model.route_length) + ", " +
         html_escaped(kilometre_text(model, model.route_length)) + "</title>";
  out += "<path d=\"M0 44V" + std::to_string(BandLayout::kHeight) + "\"/><text x=\"-4\" y=\"" +
         std::to_string(BandLayout::band("speed").top + 12) + "\">route end</text></g>";
}

void append_horizontal(std::string& out, const BandLayout& layout, double y,
                       const char* css_class) {
  out += "<line class=\"";
  out += css_class;
  out += "\" x1=\"" + std::to_string(layout.left) + "\" x2=\"" +
         std::to_string(layout.width - layout.right) + "\"";
  append_number_attribute(out, "y1", y);
  append_number_attribute(out, "y2", y);
  out += "/>";
}

void append_scale_text(std::string& out, const BandLayout& layout, double y,
                       const std::string& text) {
  out += "<text class=\"tick\" x=\"" + std::to_string(layout.left - 6) + "\"";
  append_number_attribute(out, "y", y + 3.5);
  out += '>';
  append_escaped(out, text);
  out += "</text>";
}

// Band names, grid lines and the values at the left of the bands.
void append_frame(std::string& out, const ReportModel& model, const BandLayout& layout) {
  out += "<g class=\"frame\">";
  for (const BandLayout::Band& band : BandLayout::kBands) {
    std::string title = band.title;
    const size_t split = title.find('\n');
    out += "<text class=\"bname\" x=\"8\" y=\"" + std::to_string(band.top + 14) + "\">";
    append_escaped(out, title.substr(0, split));
    out += "</text>";
    if (split != std::string::npos) {
      out += "<text class=\"bname\" x=\"8\" y=\"" + std::to_string(band.top + 32) + "\">";
      append_escaped(out, title.substr(split + 1));
      out += "</text>";
    }
    if (std::strcmp(band.name, "axis") != 0) {
      append_horizontal(out, layout, band.top + band.height + 3, "sep");
    }
  }
  const Scale speed = band_scale("speed", 0, speed_ceiling(model), 4);
  for (int32_t v = 0; v <= speed.high; v += kSpeedGridStep) {
    append_horizontal(out, layout, speed.y(v), "hgrid");
    append_scale_text(out, layout, speed.y(v), std::to_string(v));
  }
  const Scale elevation = elevation_scale(model);
  for (double e : {elevation.low, elevation.high}) {
    append_horizontal(out, layout, elevation.y(e), "hgrid");
    append_scale_text(out, layout, elevation.y(e), fixed_decimals(e, 1));
  }
  out += "</g>";
}

}  // namespace

const BandLayout::Band& BandLayout::band(const char* name) {
  for (const Band& b : kBands) {
    if (std::strcmp(b.name, name) == 0) return b;
  }
  return kBands[0];
}

void append_bands_svg(std::string& out, const ReportModel& model) {
  const BandLayout layout;
  const Axis axis = full_view(model, layout);
  out += "<svg id=\"bands\" viewBox=\"0 0 " + std::to_string(layout.width) + " " +
         std::to_string(BandLayout::kHeight) + "\" data-left=\"" + std::to_string(layout.left) +
         "\" data-right=\"" + std::to_string(layout.right) + "\" data-padding=\"" +
         std::to_string(layout.padding) + "\" role=\"img\" aria-label=\"profile of the route\">";
  out += "<defs><clipPath id=\"plot\"><rect id=\"plot-rect\" x=\"" + std::to_string(layout.left) +
         "\" y=\"0\" width=\"" + std::to_string(layout.plot_width()) + "\" height=\"" +
         std::to_string(BandLayout::kHeight) + "\"/></clipPath></defs>";
  append_frame(out, model, layout);
  out += "<g id=\"axis\"></g><g clip-path=\"url(#plot)\">";
  if (model.has_cell_row) {
    append_scaled(out, model, axis);
    out += "<g id=\"placed\">";
    append_profile_labels(out, model, axis);
    append_route_end(out, model, axis);
    append_stations(out, model, axis);
    append_objects(out, model, axis);
    append_errors(out, model, axis);
    out += "</g>";
  }
  out += "<line id=\"cursor\" x1=\"0\" x2=\"0\" y1=\"0\" y2=\"" +
         std::to_string(BandLayout::kHeight) + "\" visibility=\"hidden\"/></g></svg>";
}

}  // namespace scenario
