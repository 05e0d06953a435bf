#include "scenarioc/report/report_plan.h"

#include <algorithm>

#include "scenarioc/output/html_text.h"
#include "scenarioc/output/html_writer.h"
#include "scenarioc/report/report_names.h"
#include "scenarioc/report/report_svg.h"

namespace scenario {
namespace {

constexpr int kDecimals = 1;           // coordinates to 0.1 m
constexpr double kMargin = 0.04;       // of the larger side, around the track
constexpr double kMinSide = 200;       // metres: a frame for a route of almost no length
constexpr double kDesignWidth = 1200;  // pixels the static page is laid out for
constexpr double kDesignHeight = 600;
constexpr double kTextPixels = 12;

// North up: the plan's y grows northwards, the SVG's downwards.
double svg_y(double y) { return -y; }

void append_polyline(PathData& path, const std::vector<PlanPoint>& points) {
  for (size_t i = 0; i < points.size(); ++i) {
    if (i == 0) {
      path.move_to(points[i].x, svg_y(points[i].y));
    } else {
      path.line_to(points[i].x, svg_y(points[i].y));
    }
  }
}

// The simplified axis between two metres, with exact ends on the polyline.
std::vector<PlanPoint> stretch(const std::vector<PlanPoint>& plan, int32_t from, int32_t to) {
  std::vector<PlanPoint> points = {point_at_metre(plan, from)};
  for (const PlanPoint& p : plan) {
    if (p.metre > from && p.metre < to) points.push_back(p);
  }
  points.push_back(point_at_metre(plan, to));
  return points;
}

void append_path(HtmlWriter& w, std::string_view css_class, const PathData& path) {
  w.open("path").attribute("class", css_class).raw_attribute("d", path.str()).close_empty();
}

void append_track(HtmlWriter& w, const ReportModel& model) {
  const int32_t end = std::clamp(model.route_length, 0, model.plan.back().metre);
  PathData runout(kDecimals);
  append_polyline(runout, stretch(model.plan, end, model.plan.back().metre));
  append_path(w, page::kRunout, runout);
  PathData track(kDecimals);
  append_polyline(track, stretch(model.plan, 0, end));
  append_path(w, page::kTrack, track);
}

void append_tunnels(HtmlWriter& w, const ReportModel& model) {
  w.open("g").attribute("class", "tunnels");
  for (const Run& run : model.mountain) {
    PathData path(kDecimals);
    append_polyline(path, stretch(model.plan, run.from, run.to));
    w.open("path").attribute("class", page::kTunnel).raw_attribute("d", path.str());
    append_title(w, "mountain stretch, type " + std::to_string(run.value) + "\n" +
                        metres_text(run.from) + " to " + metres_text(run.to) + ", " +
                        kilometre_text(model, run.from) + " to " + kilometre_text(model, run.to));
    w.close();
  }
  w.close();
}

// Which labels a kilometre post shows at a coarse zoom: every 100th, 50th, 10th, 5th.
std::string kilometre_classes(int64_t km) {
  std::string classes(page::kKilometrePost);
  for (int step : {5, 10, 50, 100}) {
    if (km % step == 0) classes += " " + std::string(page::kKindPrefix) + std::to_string(step);
  }
  return classes;
}

void append_dot_and_label(HtmlWriter& w, const PlanPoint& p, const std::string& label,
                          std::string_view dot_class, std::string_view dx = "0.6em") {
  PathData dot(kDecimals);
  dot.dot(p.x, svg_y(p.y));
  append_path(w, dot_class, dot);
  w.open("text")
      .attribute_fixed("x", p.x, kDecimals)
      .attribute_fixed("y", svg_y(p.y), kDecimals)
      .attribute("dx", dx)
      .attribute("dy", "0.35em")
      .text(label)
      .close();
}

void append_kilometre_posts(HtmlWriter& w, const ReportModel& model) {
  w.open("g").attribute("class", "kms");
  for (size_t i = 0; i < model.kilometre_posts.size(); ++i) {
    const KilometrePost& post = model.kilometre_posts[i];
    w.open("g")
        .attribute("class", kilometre_classes(post.kilometre))
        .attribute(page::kDataMetres, post.metres);
    append_dot_and_label(w, model.kilometre_points[i], "km " + std::to_string(post.kilometre),
                         page::kKilometreDot);
    w.close();
  }
  w.close();
}

void append_stations(HtmlWriter& w, const ReportModel& model) {
  w.open("g").attribute("class", "pstations");
  for (size_t i = 0; i < model.stations.size(); ++i) {
    const ReportStation& s = model.stations[i];
    w.open("g")
        .attribute("class", {page::kPlanStationGroup, s.stops() ? page::kStop : ""})
        .attribute("id", std::string(page::kPlanStation) + std::to_string(i))
        .attribute(page::kDataStation, i)
        .attribute(page::kDataMetres, s.position);
    append_title(w, station_tip(model, s));
    append_dot_and_label(w, s.plan, s.name, page::kDot);
    w.close();
  }
  w.close();
}

void append_end(HtmlWriter& w, std::string_view which, int32_t metres, const std::string& tip,
                const PlanPoint& point, const char* label) {
  w.open("g")
      .attribute("class", {page::kRouteEndPoint, which})
      .attribute(page::kDataMetres, metres);
  append_title(w, tip);
  append_dot_and_label(w, point, label, page::kDot, "-0.7em");
  w.close();
}

void append_ends(HtmlWriter& w, const ReportModel& model) {
  append_end(w, page::kStart, 0, "start of the route\nposition 0 m, " + kilometre_text(model, 0),
             model.plan_start, "start");
  append_end(w, page::kEnd, model.route_length,
             "end of the route\nposition " + metres_text(model.route_length) + ", " +
                 kilometre_text(model, model.route_length),
             model.plan_route_end, "end");
}

void append_errors(HtmlWriter& w, const ReportModel& model) {
  w.open("g").attribute("class", "perrs");
  for (size_t i = 0; i < model.diagnostics.size(); ++i) {
    const ReportDiagnostic& d = model.diagnostics[i];
    if (!d.position) continue;
    PathData dot(kDecimals);
    dot.dot(d.plan.x, svg_y(d.plan.y));
    w.open("path")
        .attribute("class", {page::kPlanErrorDot, d.severity})
        .attribute("id", std::string(page::kPlanError) + std::to_string(i))
        .attribute(page::kDataDiagnostics, i)
        .raw_attribute("d", dot.str());
    append_title(w, diagnostic_tip(model, d));
    w.close();
  }
  w.close();
}

}  // namespace

PlanFrame plan_frame(const ReportModel& model) {
  if (model.plan.empty()) return {-kMinSide / 2, -kMinSide / 2, kMinSide, kMinSide};
  double x_min = model.plan[0].x, x_max = x_min;
  double y_min = svg_y(model.plan[0].y), y_max = y_min;
  for (const PlanPoint& p : model.plan) {
    x_min = std::min(x_min, p.x);
    x_max = std::max(x_max, p.x);
    y_min = std::min(y_min, svg_y(p.y));
    y_max = std::max(y_max, svg_y(p.y));
  }
  const double side = std::max({x_max - x_min, y_max - y_min, kMinSide});
  const double margin = side * kMargin;
  const double cx = (x_min + x_max) / 2;
  const double cy = (y_min + y_max) / 2;
  const double width = std::max(x_max - x_min, kMinSide) + 2 * margin;
  const double height = std::max(y_max - y_min, kMinSide) + 2 * margin;
  return {cx - width / 2, cy - height / 2, width, height};
}

void append_plan_svg(HtmlWriter& w, const ReportModel& model) {
  const PlanFrame frame = plan_frame(model);
  std::string view_box;
  for (double value : {frame.x, frame.y, frame.width, frame.height}) {
    if (!view_box.empty()) view_box += ' ';
    append_fixed(view_box, value, kDecimals);
  }
  w.open("svg")
      .attribute("id", page::kPlan)
      .attribute("viewBox", view_box)
      .attribute("preserveAspectRatio", "xMidYMid meet")
      .attribute("role", "img")
      .attribute("aria-label", "plan of the line");
  // Text keeps its size on the screen: the script sets it for each zoom.
  const double units_per_pixel = std::max(frame.width / kDesignWidth, frame.height / kDesignHeight);
  w.open("g")
      .attribute("id", page::kPlanRoot)
      .attribute_fixed("font-size", kTextPixels * units_per_pixel, kDecimals);
  if (!model.plan.empty()) {
    append_track(w, model);
    append_tunnels(w, model);
    append_kilometre_posts(w, model);
    append_ends(w, model);
    append_stations(w, model);
    append_errors(w, model);
  }
  w.open("path")
      .attribute("id", page::kPlanCursor)
      .attribute("class", page::kCursor)
      .attribute("d", "M0 0h0")
      .attribute("visibility", "hidden")
      .close_empty();
  w.close().close();
}

}  // namespace scenario
