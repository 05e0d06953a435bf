#include "scenarioc/report/report_page.h"

#include <cmath>

#include "scenarioc/output/html_text.h"
#include "scenarioc/output/json_text.h"
#include "scenarioc/report/report_assets.h"
#include "scenarioc/report/report_bands.h"
#include "scenarioc/report/report_documents.h"
#include "scenarioc/report/report_plan.h"
#include "scenarioc/report/report_svg.h"

namespace scenario {
namespace {

constexpr double kPlanClosestZoom = 2;  // pixels a metre

std::string plural(int64_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

void append_text_element(std::string& out, const char* open, const std::string& text,
                         const char* close) {
  out += open;
  append_escaped(out, text);
  out += close;
}

void append_head(std::string& out, const ReportModel& model) {
  out +=
      "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
      "<link rel=\"icon\" href=\"data:,\">\n";
  append_text_element(out, "<title>", model.nome + ", train " + model.treno + ": route report",
                      "</title>\n");
  out += "<style>\n";
  out += report_style();
  out += "</style>\n</head>\n";
}

void append_count(std::string& out, int64_t n, const char* one, const char* many,
                  const char* css_class = "") {
  out += "<li class=\"";
  out += css_class;
  out += "\">";
  append_escaped(out, plural(n, one, many));
  out += "</li>";
}

void append_header(std::string& out, const ReportModel& model) {
  out += "<header>";
  append_text_element(out, "<h1>", model.nome + " \u00b7 train " + model.treno, "</h1>");
  append_text_element(out, "<p class=\"sub\">",
                      "Route report of " + model.source_files[0] + " and " + model.source_files[1] +
                          ", compiled by scenarioc",
                      "</p>");
  out += "<ul class=\"counts\">";
  append_text_element(out, "<li>", "route " + metres_text(model.route_length), "</li>");
  append_count(out, static_cast<int64_t>(model.stations.size()), "station", "stations");
  append_count(out, model.count(kSignal), "signal", "signals");
  append_count(out, static_cast<int64_t>(model.slowdowns.size()), "slowdown", "slowdowns");
  append_count(out, model.count(kSpeedBoard), "speed board", "speed boards");
  append_count(out, model.count(kIndicationBoard), "indication board", "indication boards");
  append_count(out, model.count(kAbbattimento) + model.count(kAbbattimentoNoValue),
               "abbattimento marker", "abbattimento markers");
  int64_t errors = 0, warnings = 0;
  for (const ReportDiagnostic& d : model.diagnostics)
    (d.severity == "warning" ? warnings : errors)++;
  append_count(out, errors, "error", "errors", errors > 0 ? "bad" : "good");
  if (warnings > 0) append_count(out, warnings, "warning", "warnings", "warn");
  out += "</ul><dl class=\"facts\">";
  for (const Fact& fact : model.scenario_facts) {
    append_text_element(out, "<div><dt>", fact.name, "</dt>");
    append_text_element(out, "<dd>", fact.value, "</dd></div>");
  }
  out += "</dl></header>\n";
}

void append_plan_section(std::string& out, const ReportModel& model) {
  out +=
      "<section id=\"plan-section\"><h2>Plan <span class=\"hint\">north up \u00b7 drag to "
      "move \u00b7 wheel to zoom \u00b7 double-click to see it all</span></h2>"
      "<ul class=\"legend\"><li><i class=\"l-track\"></i>track</li>"
      "<li><i class=\"l-tunnel\"></i>mountain stretch</li><li><i class=\"l-runout\"></i>beyond "
      "the route end</li><li><i class=\"dot l-station\"></i>station (filled: the train stops)</li>"
      "<li><i class=\"dot l-km\"></i>kilometre post (chainage)</li></ul><div class=\"plan-box\">";
  append_plan_svg(out, model);
  out +=
      "<div class=\"north\" aria-hidden=\"true\">N<br>\u2191</div>"
      "<div id=\"scalebar\"><div id=\"scalebar-bar\"></div><span id=\"scalebar-text\"></span>"
      "</div></div></section>\n";
}

void append_profile_section(std::string& out, const ReportModel& model) {
  out +=
      "<section id=\"profile-section\"><h2>Along the route <span class=\"hint\">hover to "
      "read the values and see the place on the plan \u00b7 wheel to zoom \u00b7 drag to move "
      "\u00b7 double-click to see it all</span></h2>"
      "<ul class=\"legend\"><li><i class=\"l-limit\"></i>train's speed limit</li>"
      "<li><i class=\"l-board-a\"></i>boards A</li><li><i class=\"l-board-b\"></i>boards B</li>"
      "<li><i class=\"l-board-c\"></i>boards C</li><li><i class=\"dot l-signal\"></i>signal</li>"
      "<li><i class=\"dot l-auto\"></i>marker added for a slowdown</li>"
      "<li><i class=\"dot l-err\"></i>error</li></ul>"
      "<div id=\"readout\">&#160;</div>";
  append_bands_svg(out, model);
  out += "</section>\n";
}

void append_diagnostics(std::string& out, const ReportModel& model) {
  out +=
      "<section id=\"diagnostics\"><h2>Errors and warnings <span class=\"hint\">click one "
      "to see its place</span></h2>";
  if (model.diagnostics.empty()) {
    out += "<p class=\"none\">The compiler recorded no error and no warning.</p></section>\n";
    return;
  }
  out += "<ol>";
  for (size_t i = 0; i < model.diagnostics.size(); ++i) {
    const ReportDiagnostic& d = model.diagnostics[i];
    const std::string index = std::to_string(i);
    out += "<li id=\"d" + index + "\" class=\"" + d.severity + "\" data-d=\"" + index + "\"";
    if (d.position) out += " data-m=\"" + std::to_string(*d.position) + "\"";
    if (d.object >= 0) out += " data-o=\"" + std::to_string(d.object) + "\"";
    if (d.station >= 0) out += " data-s=\"" + std::to_string(d.station) + "\"";
    out += "><a href=\"#";
    out += d.object >= 0    ? "o" + std::to_string(d.object)
           : d.position     ? "e" + index
           : d.station >= 0 ? "s" + std::to_string(d.station)
                            : "d" + index;
    out += "\">";
    append_escaped(out, d.text());
    out += "</a>";
    for (const std::string& note : d.notes)
      append_text_element(out, "<br><small>note: ", note, "</small>");
    out += "</li>";
  }
  out += "</ol></section>\n";
}

std::string time_cell(const ReportStation& s) {
  if (s.time == 0) return "";
  return std::string(s.arrival ? "arr. " : "dep. ") + clock_text(s.time);
}

void append_cell(std::string& out, const std::string& text, const char* css_class = nullptr) {
  out += css_class ? std::string("<td class=\"") + css_class + "\">" : "<td>";
  append_escaped(out, text);
  out += "</td>";
}

void append_station_table(std::string& out, const ReportModel& model) {
  out +=
      "<section id=\"stations\"><h2>Stations <span class=\"hint\">the timetable as "
      "compiled; click a row to see the station</span></h2>";
  out +=
      "<table><thead><tr><th>#</th><th>Name</th><th class=\"n\">Position</th><th>Chainage"
      "</th><th class=\"n\">Zone</th><th>Kind</th><th class=\"n\">Stop</th><th>Time</th>"
      "<th>Source</th></tr></thead><tbody>";
  for (size_t i = 0; i < model.stations.size(); ++i) {
    const ReportStation& s = model.stations[i];
    const std::string index = std::to_string(i);
    out += "<tr id=\"r" + index + "\" data-s=\"" + index + "\" data-m=\"" +
           std::to_string(s.position) + "\"" + (s.stops() ? " class=\"stop\"" : "") + ">";
    append_cell(out, std::to_string(i + 1), "n");
    append_cell(out, s.name);
    append_cell(out, metres_text(s.position), "n");
    append_cell(out, chainage_text(s.chainage));
    append_cell(out, std::to_string(s.zone_from) + " to " + std::to_string(s.zone_to), "n");
    out += "<td>" + std::to_string(s.genere) + " <small>";
    append_escaped(out, station_kind_text(s.genere));
    out += "</small></td>";
    append_cell(out, s.stop_seconds > 0 ? seconds_text(s.stop_seconds) : "", "n");
    append_cell(out, time_cell(s));
    append_cell(out, s.source.text(), "src");
    out += "</tr>";
  }
  out += "</tbody></table></section>\n";
}

// A real number as the page keeps it, to a tenth; one that is not finite reads 0.
Json tenths(double value) { return std::isfinite(value) ? value : 0.0; }

Json runs_json(const std::vector<Run>& runs) {
  Json json = Json::array();
  for (const Run& run : runs) {
    json.push_back(run.from);
    json.push_back(run.value);
  }
  return json;
}

// What the script needs besides the drawing: the plan polyline, the values
// along the route and the chainage, as JSON with its real numbers to a tenth.
void append_data(std::string& out, const ReportModel& model) {
  Json data = Json::object();
  data["first"] = model.first_metres;
  data["last"] = model.last_metres;
  data["routeEnd"] = model.route_length;
  data["closestZoom"] = kPlanClosestZoom;
  Json& plan = data["plan"] = Json::array();
  for (const PlanPoint& point : model.plan) {
    plan.push_back(point.metre);
    plan.push_back(tenths(point.x));
    plan.push_back(tenths(-point.y));
  }
  data["limit"] = runs_json(model.speed_limit);
  data["gradient"] = runs_json(model.gradient);
  data["adhesion"] = runs_json(model.adhesion);
  Json& elevation = data["elevation"] = Json::array();
  for (const ElevationPoint& point : model.elevation) {
    elevation.push_back(point.metres);
    elevation.push_back(point.millimetres);
  }
  Json& chainage = data["chainage"] = Json::array();
  for (const ChainageReference& reference : model.chainage.references()) {
    chainage.push_back(reference.from);
    chainage.push_back(reference.chainage);
    chainage.push_back(reference.decreasing ? -1 : 1);
  }
  out += "<script type=\"application/json\" id=\"report-data\">";
  out += json_text(data, JsonReals::tenths);
  out += "</script>\n";
}

}  // namespace

std::string render_report_page(const ReportModel& model) {
  std::string out;
  out.reserve(1 << 19);
  append_head(out, model);
  out += "<body>\n";
  append_header(out, model);
  out += "<main>\n";
  append_plan_section(out, model);
  append_profile_section(out, model);
  append_diagnostics(out, model);
  append_station_table(out, model);
  append_documents_section(out, model.documents);
  out += "</main>\n<div id=\"tip\" role=\"tooltip\" hidden></div>\n";
  append_data(out, model);
  out += "<script>\n";
  out += report_script();
  out += "</script>\n</body>\n</html>\n";
  return out;
}

}  // namespace scenario
