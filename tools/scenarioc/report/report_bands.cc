#include "scenarioc/report/report_bands.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "compiler/format/object_values.h"
#include "compiler/timetable/timetable_sections.h"
#include "scenarioc/output/html_text.h"
#include "scenarioc/report/object_drawing.h"
#include "scenarioc/report/report_names.h"
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

// The timetable's times as the run's: seconds from the run's departure at
// the origin, one per station, or -1 where the station has no time.
std::vector<double> scheduled_times(const ReportModel& model) {
  std::vector<double> times(model.stations.size(), -1);
  if (model.run.station_s.size() != model.stations.size()) return times;
  size_t first = 0;
  while (first < model.stations.size() && model.stations[first].time == 0) ++first;
  for (size_t k = first; k < model.stations.size(); ++k) {
    if (model.stations[k].time == 0) continue;
    times[k] = model.run.station_s[first] +
               timetable::seconds_between(model.stations[first].time, model.stations[k].time);
  }
  return times;
}

// Minutes between the time band's grid lines, for a band that spans `minutes`.
int32_t time_grid_minutes(double minutes) {
  for (int32_t step : {5, 10, 15, 30, 60, 120, 240}) {
    if (minutes / step <= 5) return step;
  }
  return 480;
}

Scale time_scale(const ReportModel& model) {
  double top = 1;
  if (!model.run.time.empty()) top = std::max(top, model.run.time.back().value / 60);
  for (double t : scheduled_times(model)) top = std::max(top, t / 60);
  const int32_t step = time_grid_minutes(top);
  return band_scale("time", 0, std::ceil(top / step) * step, 4);
}

void append_path(HtmlWriter& w, std::string_view css_class, const PathData& path) {
  if (path.empty()) return;
  w.open("path").attribute("class", css_class).raw_attribute("d", path.str()).close_empty();
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

void append_elevation(HtmlWriter& w, const ReportModel& model, const Scale& scale) {
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
  append_path(w, page::kElevationArea, area);
  append_path(w, page::kElevation, line);
}

// A bar from one route metre to another; `station` >= 0 names the station it belongs to.
void append_rect(HtmlWriter& w, std::string_view css_class, double from, double to, double top,
                 double height, int64_t station = -1, const std::string& tip = {}) {
  w.open("rect").attribute("class", css_class);
  if (station >= 0) w.attribute(page::kDataStation, station);
  w.attribute_fixed("x", from, kYDecimals)
      .attribute_fixed("y", top, kYDecimals)
      .attribute_fixed("width", std::max(0.0, to - from), kYDecimals)
      .attribute_fixed("height", height, kYDecimals);
  if (tip.empty()) {
    w.close_empty();
    return;
  }
  append_title(w, tip);
  w.close();
}

std::string section_tip(const ReportModel& model, const ReportSection& s) {
  return model.stations[s.from].name + " to " + model.stations[s.to].name + "\n" +
         fixed_decimals(s.distance_m / 1000, 2) + " km; scheduled " + duration_text(s.scheduled_s) +
         ", fastest run " + duration_text(s.minimum_s) + "\nmargin " + margin_text(s) + " (" +
         margin_percent_text(s) + ")" +
         (s.verdict == timetable::Verdict::cannot_be_kept ? ": cannot be kept"
          : s.verdict == timetable::Verdict::short_of_recovery_margin
              ? ": short of the recommended recovery margin"
              : "");
}

std::string curve_tip(const ReportCurve& c) {
  return "curve, radius " + metres_text(c.radius_m) + "\nfrom " + metres_text(c.from) + " to " +
         metres_text(c.to);
}

// A line through points, in route metres across and `scale`'s pixels down;
// `per_unit` turns the points' values into the scale's.
PathData line_path(const std::vector<LinePoint>& line, const Scale& scale, double per_unit = 1) {
  PathData path(kYDecimals);
  for (const LinePoint& p : line) {
    if (path.empty()) {
      path.move_to(p.metres, scale.y(p.value * per_unit));
    } else {
      path.line_to(p.metres, scale.y(p.value * per_unit));
    }
  }
  return path;
}

// The time band: the sections that cannot be kept or leave too little
// margin shaded, the timetable's times and the fastest run's.
void append_time_band(HtmlWriter& w, const ReportModel& model) {
  const Scale time = time_scale(model);
  for (const ReportSection& s : model.run.sections) {
    const std::string_view shade = verdict_class(s.verdict);
    if (shade.empty()) continue;
    append_rect(w, shade, model.stations[s.from].position, model.stations[s.to].position, time.top,
                time.height, -1, section_tip(model, s));
  }
  const std::vector<double> scheduled = scheduled_times(model);
  PathData timetable(kYDecimals);
  for (size_t k = 0; k < scheduled.size(); ++k) {
    if (scheduled[k] < 0) continue;
    const double y = time.y(scheduled[k] / 60);
    if (timetable.empty()) {
      timetable.move_to(model.stations[k].position, y);
    } else {
      timetable.line_to(model.stations[k].position, y);
    }
  }
  append_path(w, page::kSchedule, timetable);
  append_path(w, page::kRunTime, line_path(model.run.time, time, 1.0 / 60));
}

// The height of a curve's bar: full for a radius of 300 m or less, half at 1200 m.
double curve_bar_share(int32_t radius_m) {
  return std::min(1.0, std::sqrt(300.0 / std::max(radius_m, 1)));
}

void append_curves(HtmlWriter& w, const ReportModel& model) {
  const BandLayout::Band& band = BandLayout::band("curves");
  const double room = band.height - 14;
  for (const ReportCurve& c : model.run.curves) {
    const double height = std::max(2.0, room * curve_bar_share(c.radius_m));
    append_rect(w, page::kCurveBar, c.from, c.to, band.top + band.height - 2 - height, height, -1,
                curve_tip(c));
  }
}

// Drawn in route metres across, stretched by the script's zoom.
void append_scaled(HtmlWriter& w, const ReportModel& model, const Axis& axis) {
  std::string transform = "matrix(";
  append_fixed(transform, axis.scale, 9);
  transform += " 0 0 1 ";
  append_fixed(transform, axis.left - axis.first * axis.scale, 3);
  transform += " 0)";
  w.open("g").attribute("id", page::kScaled).attribute("transform", transform);
  append_elevation(w, model, elevation_scale(model));
  const Scale speed = band_scale("speed", 0, speed_ceiling(model), 4);
  constexpr std::string_view kBoardClasses[] = {page::kBoardA, page::kBoardB, page::kBoardC};
  for (int category = 2; category >= 0; --category) {
    append_path(w, kBoardClasses[category], step_path(model.board_speed[category], speed));
  }
  append_path(w, page::kLimit, step_path(model.speed_limit, speed));
  append_path(w, page::kRunSpeed, line_path(model.run.speed, speed));
  append_time_band(w, model);
  append_curves(w, model);
  if (model.repetition) {
    const BandLayout::Band& repetition = BandLayout::band("repetition");
    append_rect(w, page::kRepetitionBar, model.repetition->from, model.repetition->to,
                repetition.top + 3, repetition.height - 6, -1,
                "signal repetition, " + std::to_string(model.repetition->value) + " codes\nfrom " +
                    metres_text(model.repetition->from) + " to " +
                    metres_text(model.repetition->to));
  }
  append_path(w, page::kAdhesion,
              step_path(model.adhesion, band_scale("adhesion", 0, adhesion_ceiling(model), 4)));
  const BandLayout::Band& mountain = BandLayout::band("mountain");
  for (const Run& r : model.mountain) {
    append_rect(w, page::kMountainBar, r.from, r.to, mountain.top + 14, mountain.height - 16);
  }
  const BandLayout::Band& stations = BandLayout::band("stations");
  for (size_t i = 0; i < model.stations.size(); ++i) {
    const ReportStation& s = model.stations[i];
    append_rect(w, page::kZone, s.zone_from, s.zone_to, stations.top + stations.height - 6, 5,
                static_cast<int64_t>(i));
  }
  const BandLayout::Band& slowdowns = BandLayout::band("slowdowns");
  for (const ReportSlowdown& s : model.slowdowns) {
    append_rect(w, page::kSlowdownBar, s.start, s.end, slowdowns.top + 8, 6);
  }
  w.close();
}

// Ends the start tag of an element placed at a route position, which the
// script moves across on zoom.
void place_at(HtmlWriter& w, int32_t metres, const Axis& axis) {
  std::string transform = "translate(";
  append_fixed(transform, axis.x(metres), kYDecimals);
  transform += " 0)";
  w.attribute(page::kDataMetres, metres).attribute("transform", transform);
}

// A label drawn over a stretch, shown by the script only where it fits.
void append_stretch_label(HtmlWriter& w, std::string_view css_class, const Run& run,
                          const std::string& text, double y, const Axis& axis) {
  w.open("g").attribute("class", css_class).attribute(page::kDataWidth, run.to - run.from);
  place_at(w, run.from + (run.to - run.from) / 2, axis);
  w.open("text").attribute_fixed("y", y, kYDecimals).text(text).close();
  w.close();
}

void append_profile_labels(HtmlWriter& w, const ReportModel& model, const Axis& axis) {
  const BandLayout::Band& elevation = BandLayout::band("elevation");
  for (const Run& r : model.gradient) {
    append_stretch_label(w, page::kGradientLabel, r, gradient_text(r.value), elevation.top + 11,
                         axis);
  }
  const Scale speed = band_scale("speed", 0, speed_ceiling(model), 4);
  for (const Run& r : model.speed_limit) {
    append_stretch_label(w, page::kLimitLabel, r, std::to_string(r.value), speed.y(r.value) - 4,
                         axis);
  }
  const Scale adhesion = band_scale("adhesion", 0, adhesion_ceiling(model), 4);
  for (const Run& r : model.adhesion) {
    append_stretch_label(w, page::kAdhesionLabel, r, std::to_string(r.value),
                         std::max(adhesion.y(r.value) - 3, adhesion.top + 9), axis);
  }
  const BandLayout::Band& mountain = BandLayout::band("mountain");
  for (const Run& r : model.mountain) {
    append_stretch_label(w, page::kMountainLabel, r, "type " + std::to_string(r.value),
                         mountain.top + 10, axis);
  }
  const BandLayout::Band& curves = BandLayout::band("curves");
  for (const ReportCurve& c : model.run.curves) {
    append_stretch_label(w, page::kCurveLabel, {c.from, c.to, c.radius_m},
                         "R " + std::to_string(c.radius_m), curves.top + 9, axis);
  }
  if (model.repetition) {
    const BandLayout::Band& repetition = BandLayout::band("repetition");
    append_stretch_label(w, page::kRepetitionLabel, *model.repetition,
                         std::to_string(model.repetition->value) + " codes", repetition.top + 12,
                         axis);
  }
  const BandLayout::Band& time = BandLayout::band("time");
  for (const ReportSection& s : model.run.sections) {
    const Run stretch{model.stations[s.from].position, model.stations[s.to].position, 0};
    w.open("g")
        .attribute("class", {page::kMarginLabel, verdict_class(s.verdict)})
        .attribute(page::kDataWidth, stretch.to - stretch.from);
    place_at(w, stretch.from + (stretch.to - stretch.from) / 2, axis);
    append_title(w, section_tip(model, s));
    w.open("text").attribute_fixed("y", time.top + 12, kYDecimals).text(margin_text(s)).close();
    w.close();
  }
}

// A signal's mast with a head on each side that has a signal: round for
// kind 2, square for kind 1, a triangle for any other kind.
std::string signal_glyph(const cella& c) {
  std::string d = "M0 20V1";
  for (const bool left : {true, false}) {
    const int32_t kind = signal_side(c, left).kind;
    const std::string x = std::to_string(left ? -7 : 1);
    if (kind == 0) continue;
    if (kind == 2) {
      d += "M" + x + " 5a3 3 0 1 0 6 0a3 3 0 1 0 -6 0";
    } else if (kind == 1) {
      d += "M" + x + " 2h6v6h-6Z";
    } else {
      d += "M" + x + " 8l3 -6l3 6Z";
    }
  }
  return d;
}

void append_glyph(HtmlWriter& w, const ReportObject& o) {
  const ObjectDrawing& drawing = drawing_of(o.oggetto);
  // Shift the glyph down to its band.
  w.open("path")
      .attribute("class", page::kGlyph)
      .attribute("transform",
                 "translate(0 " + std::to_string(BandLayout::band(drawing.band).top) + ")")
      .attribute("d", o.oggetto == kSignal ? signal_glyph(o.raw) : std::string(drawing.glyph))
      .close_empty();
}

// ` data-d="3 7"`: the diagnostics of an element, if it has any.
void diagnostics_attribute(HtmlWriter& w, const std::vector<int32_t>& diagnostics) {
  if (diagnostics.empty()) return;
  std::string list;
  for (int32_t d : diagnostics) list += (list.empty() ? "" : " ") + std::to_string(d);
  w.attribute(page::kDataDiagnostics, list);
}

void append_object_classes(HtmlWriter& w, const ReportObject& o) {
  const std::string kind = std::string(page::kKindPrefix) + std::to_string(o.oggetto);
  const std::string sides = o.oggetto == kSignal ? std::string(page::kSignalSidesPrefix) +
                                                       std::to_string(signal_side(o.raw, true).kind)
                                                 : "";
  w.attribute("class", {page::kObject, kind, sides, o.automatic ? page::kAutomatic : "",
                        o.diagnostics.empty() ? "" : page::kBad});
}

void append_object_label(HtmlWriter& w, const ReportObject& o) {
  const ObjectDrawing& drawing = drawing_of(o.oggetto);
  if (o.label.empty() || !drawing.label_drawn) return;
  const int top = BandLayout::band(drawing.band).top;
  w.open("text")
      .attribute("class", page::kLabel)
      .attribute("x", drawing.label_x)
      .attribute("y", top + drawing.label_y);
  w.text(o.label).close();
}

void append_objects(HtmlWriter& w, const ReportModel& model, const Axis& axis) {
  for (size_t i = 0; i < model.objects.size(); ++i) {
    const ReportObject& o = model.objects[i];
    w.open("g");
    append_object_classes(w, o);
    w.attribute("id", std::string(page::kBandObject) + std::to_string(i))
        .attribute(page::kDataKind, o.oggetto);
    diagnostics_attribute(w, o.diagnostics);
    place_at(w, o.metres, axis);
    append_title(w, object_tip(model, o));
    append_glyph(w, o);
    append_object_label(w, o);
    w.close();
  }
}

void append_stations(HtmlWriter& w, const ReportModel& model, const Axis& axis) {
  const BandLayout::Band& band = BandLayout::band("stations");
  const int base = band.top + band.height - 8;
  for (size_t i = 0; i < model.stations.size(); ++i) {
    const ReportStation& s = model.stations[i];
    w.open("g")
        .attribute("class", {page::kStationGroup, s.stops() ? page::kStop : ""})
        .attribute("id", std::string(page::kBandStation) + std::to_string(i))
        .attribute(page::kDataStation, i);
    diagnostics_attribute(w, s.diagnostics);
    place_at(w, s.position, axis);
    append_title(w, station_tip(model, s));
    w.open("path")
        .attribute("class", page::kGlyph)
        .attribute("d",
                   "M0 " + std::to_string(base - 10) + "L5.5 " + std::to_string(base) + "H-5.5Z")
        .close_empty();
    w.open("text")
        .attribute("class", page::kLabel)
        .attribute("transform", "translate(4 " + std::to_string(base - 13) + ") rotate(-90)")
        .text(s.name)
        .close();
    w.close();
  }
}

void append_errors(HtmlWriter& w, const ReportModel& model, const Axis& axis) {
  const BandLayout::Band& band = BandLayout::band("errors");
  for (size_t i = 0; i < model.diagnostics.size(); ++i) {
    const ReportDiagnostic& d = model.diagnostics[i];
    if (!d.position) continue;
    w.open("g")
        .attribute("class", {page::kErrorMark, d.severity})
        .attribute("id", std::string(page::kBandError) + std::to_string(i))
        .attribute(page::kDataDiagnostics, i);
    place_at(w, *d.position, axis);
    append_title(w, diagnostic_tip(model, d));
    w.open("circle").attribute("cy", band.top + 11).attribute("r", 7).close_empty();
    w.open("text").attribute("y", band.top + 15).text("!").close();
    w.close();
  }
}

void append_route_end(HtmlWriter& w, const ReportModel& model, const Axis& axis) {
  w.open("g").attribute("class", page::kRouteEnd);
  place_at(w, model.route_length, axis);
  append_title(w, "end of the route\nposition " + metres_text(model.route_length) + ", " +
                      kilometre_text(model, model.route_length));
  w.open("path").attribute("d", "M0 44V" + std::to_string(BandLayout::kHeight)).close_empty();
  w.open("text")
      .attribute("x", -4)
      .attribute("y", BandLayout::band("mountain").top + 10)
      .text("route end")
      .close();
  w.close();
}

void append_horizontal(HtmlWriter& w, const BandLayout& layout, double y,
                       std::string_view css_class) {
  w.open("line")
      .attribute("class", css_class)
      .attribute("x1", layout.left)
      .attribute("x2", layout.width - layout.right)
      .attribute_fixed("y1", y, kYDecimals)
      .attribute_fixed("y2", y, kYDecimals)
      .close_empty();
}

void append_scale_text(HtmlWriter& w, const BandLayout& layout, double y, const std::string& text) {
  w.open("text")
      .attribute("class", page::kTick)
      .attribute("x", layout.left - 6)
      .attribute_fixed("y", y + 3.5, kYDecimals)
      .text(text)
      .close();
}

void append_band_name(HtmlWriter& w, std::string_view line, int y) {
  w.open("text").attribute("class", page::kBandName).attribute("x", 8).attribute("y", y);
  w.text(line).close();
}

// Band names, grid lines and the values at the left of the bands.
void append_frame(HtmlWriter& w, const ReportModel& model, const BandLayout& layout) {
  w.open("g").attribute("class", "frame");
  for (const BandLayout::Band& band : BandLayout::kBands) {
    const std::string_view title = band.title;
    const size_t split = title.find('\n');
    append_band_name(w, title.substr(0, split), band.top + 14);
    if (split != std::string_view::npos) {
      append_band_name(w, title.substr(split + 1), band.top + 32);
    }
    if (std::strcmp(band.name, "axis") != 0) {
      append_horizontal(w, layout, band.top + band.height + 3, page::kSeparator);
    }
  }
  const Scale speed = band_scale("speed", 0, speed_ceiling(model), 4);
  for (int32_t v = 0; v <= speed.high; v += kSpeedGridStep) {
    append_horizontal(w, layout, speed.y(v), page::kHorizontalGrid);
    append_scale_text(w, layout, speed.y(v), std::to_string(v));
  }
  const Scale elevation = elevation_scale(model);
  for (double e : {elevation.low, elevation.high}) {
    append_horizontal(w, layout, elevation.y(e), page::kHorizontalGrid);
    append_scale_text(w, layout, elevation.y(e), fixed_decimals(e, 1));
  }
  if (model.run.made()) {
    const Scale time = time_scale(model);
    const int32_t step = time_grid_minutes(time.high);
    for (int32_t t = 0; t <= time.high; t += step) {
      append_horizontal(w, layout, time.y(t), page::kHorizontalGrid);
      append_scale_text(w, layout, time.y(t), std::to_string(t));
    }
  } else {
    w.open("text")
        .attribute("class", page::kRunMissing)
        .attribute("x", layout.left + 12)
        .attribute("y", BandLayout::band("time").top + 30)
        .text("No fastest run: " + model.run.missing)
        .close();
  }
  w.close();
}

}  // namespace

const BandLayout::Band& BandLayout::band(const char* name) {
  for (const Band& b : kBands) {
    if (std::strcmp(b.name, name) == 0) return b;
  }
  return kBands[0];
}

void append_bands_svg(HtmlWriter& w, const ReportModel& model) {
  const BandLayout layout;
  const Axis axis = full_view(model, layout);
  w.open("svg")
      .attribute("id", page::kBands)
      .attribute("viewBox",
                 "0 0 " + std::to_string(layout.width) + " " + std::to_string(BandLayout::kHeight))
      .attribute(page::kDataLeft, layout.left)
      .attribute(page::kDataRight, layout.right)
      .attribute(page::kDataPadding, layout.padding)
      .attribute("role", "img")
      .attribute("aria-label", "profile of the route");
  w.open("defs").open("clipPath").attribute("id", "plot");
  w.open("rect")
      .attribute("id", page::kPlotRect)
      .attribute("x", layout.left)
      .attribute("y", 0)
      .attribute("width", layout.plot_width())
      .attribute("height", BandLayout::kHeight)
      .close_empty();
  w.close().close();
  append_frame(w, model, layout);
  w.open("g").attribute("id", page::kAxis).close();
  w.open("g").attribute("clip-path", "url(#plot)");
  if (model.has_cell_row) {
    append_scaled(w, model, axis);
    w.open("g").attribute("id", page::kPlaced);
    append_profile_labels(w, model, axis);
    append_route_end(w, model, axis);
    append_stations(w, model, axis);
    append_objects(w, model, axis);
    append_errors(w, model, axis);
    w.close();
  }
  w.open("line")
      .attribute("id", page::kCursor)
      .attribute("x1", 0)
      .attribute("x2", 0)
      .attribute("y1", 0)
      .attribute("y2", BandLayout::kHeight)
      .attribute("visibility", "hidden")
      .close_empty();
  w.close().close();
}

}  // namespace scenario
