#include "scenarioc/report/report_plan.h"

#include <algorithm>

#include "scenarioc/output/html_text.h"
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

void append_attribute(std::string& out, const char* name, double value) {
  out += ' ';
  out += name;
  out += "=\"";
  append_fixed(out, value, kDecimals);
  out += '"';
}

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

void append_path(std::string& out, const char* css_class, const PathData& path) {
  out += "<path class=\"";
  out += css_class;
  out += "\" d=\"";
  out += path.str();
  out += "\"/>";
}

void append_track(std::string& out, const ReportModel& model) {
  const int32_t end = std::clamp(model.route_length, 0, model.plan.back().metre);
  PathData runout(kDecimals);
  append_polyline(runout, stretch(model.plan, end, model.plan.back().metre));
  append_path(out, "runout", runout);
  PathData track(kDecimals);
  append_polyline(track, stretch(model.plan, 0, end));
  append_path(out, "track", track);
}

void append_tunnels(std::string& out, const ReportModel& model) {
  out += "<g class=\"tunnels\">";
  for (const Run& run : model.mountain) {
    PathData path(kDecimals);
    append_polyline(path, stretch(model.plan, run.from, run.to));
    out += "<path class=\"tunnel\" d=\"" + path.str() + "\">";
    append_title(out, "mountain stretch, type " + std::to_string(run.value) + "\n" +
                          metres_text(run.from) + " to " + metres_text(run.to) + ", " +
                          kilometre_text(model, run.from) + " to " + kilometre_text(model, run.to));
    out += "</path>";
  }
  out += "</g>";
}

// Which labels a kilometre post shows at a coarse zoom: every 100th, 50th, 10th, 5th.
std::string kilometre_classes(int64_t km) {
  std::string classes = "km";
  for (int step : {5, 10, 50, 100}) {
    if (km % step == 0) classes += " k" + std::to_string(step);
  }
  return classes;
}

void append_dot_and_label(std::string& out, const PlanPoint& p, const std::string& label,
                          const char* dot_class, const char* dx = "0.6em") {
  PathData dot(kDecimals);
  dot.dot(p.x, svg_y(p.y));
  append_path(out, dot_class, dot);
  out += "<text";
  append_attribute(out, "x", p.x);
  append_attribute(out, "y", svg_y(p.y));
  out += " dx=\"";
  out += dx;
  out += "\" dy=\"0.35em\">";
  append_escaped(out, label);
  out += "</text>";
}

void append_kilometre_posts(std::string& out, const ReportModel& model) {
  out += "<g class=\"kms\">";
  for (size_t i = 0; i < model.kilometre_posts.size(); ++i) {
    const KilometrePost& post = model.kilometre_posts[i];
    out += "<g class=\"" + kilometre_classes(post.kilometre) + "\" data-m=\"" +
           std::to_string(post.metres) + "\">";
    append_dot_and_label(out, model.kilometre_points[i], "km " + std::to_string(post.kilometre),
                         "kd");
    out += "</g>";
  }
  out += "</g>";
}

void append_stations(std::string& out, const ReportModel& model) {
  out += "<g class=\"pstations\">";
  for (size_t i = 0; i < model.stations.size(); ++i) {
    const ReportStation& s = model.stations[i];
    const std::string index = std::to_string(i);
    out += "<g class=\"pst" + std::string(s.stops() ? " stop" : "") + "\" id=\"ps" + index +
           "\" data-s=\"" + index + "\" data-m=\"" + std::to_string(s.position) + "\">";
    append_title(out, station_tip(model, s));
    append_dot_and_label(out, s.plan, s.name, "dot");
    out += "</g>";
  }
  out += "</g>";
}

void append_ends(std::string& out, const ReportModel& model) {
  out += "<g class=\"pend start\" data-m=\"0\">";
  append_title(out, "start of the route\nposition 0 m, " + kilometre_text(model, 0));
  append_dot_and_label(out, model.plan_start, "start", "dot", "-0.7em");
  out += "</g><g class=\"pend end\" data-m=\"" + std::to_string(model.route_length) + "\">";
  append_title(out, "end of the route\nposition " + metres_text(model.route_length) + ", " +
                        kilometre_text(model, model.route_length));
  append_dot_and_label(out, model.plan_route_end, "end", "dot", "-0.7em");
  out += "</g>";
}

void append_errors(std::string& out, const ReportModel& model) {
  out += "<g class=\"perrs\">";
  for (size_t i = 0; i < model.diagnostics.size(); ++i) {
    const ReportDiagnostic& d = model.diagnostics[i];
    if (!d.position) continue;
    PathData dot(kDecimals);
    dot.dot(d.plan.x, svg_y(d.plan.y));
    const std::string index = std::to_string(i);
    out += "<path class=\"perr " + d.severity + "\" id=\"pe" + index + "\" data-d=\"" + index +
           "\" d=\"" + dot.str() + "\">";
    append_title(out, diagnostic_tip(model, d));
    out += "</path>";
  }
  out += "</g>";
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

void append_plan_svg(std::string& out, const ReportModel& model) {
  const PlanFrame frame = plan_frame(model);
  out += "<svg id=\"plan\" viewBox=\"";
  append_fixed(out, frame.x, kDecimals);
  out += ' ';
  append_fixed(out, frame.y, kDecimals);
  out += ' ';
  append_fixed(out, frame.width, kDecimals);
  out += ' ';
  append_fixed(out, frame.height, kDecimals);
  out += "\" preserveAspectRatio=\"xMidYMid meet\" role=\"img\" aria-label=\"plan of the line\">";
  // Text keeps its size on the screen: the script sets it for each zoom.
  const double units_per_pixel = std::max(frame.width / kDesignWidth, frame.height / kDesignHeight);
  out += "<g id=\"plan-root\"";
  append_attribute(out, "font-size", kTextPixels * units_per_pixel);
  out += '>';
  if (!model.plan.empty()) {
    append_track(out, model);
    append_tunnels(out, model);
    append_kilometre_posts(out, model);
    append_ends(out, model);
    append_stations(out, model);
    append_errors(out, model);
  }
  out += "<path id=\"plan-cursor\" class=\"cursor\" d=\"M0 0h0\" visibility=\"hidden\"/>";
  out += "</g></svg>";
}

}  // namespace scenario
