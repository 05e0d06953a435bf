#include "scenarioc/report/report_page.h"

#include <cmath>

#include "scenarioc/output/html_text.h"
#include "scenarioc/output/html_writer.h"
#include "scenarioc/output/json_text.h"
#include "scenarioc/report/report_assets.h"
#include "scenarioc/report/report_bands.h"
#include "scenarioc/report/report_documents.h"
#include "scenarioc/report/report_names.h"
#include "scenarioc/report/report_plan.h"
#include "scenarioc/report/report_svg.h"
#include "scenarioc/version.h"

namespace scenario {
namespace {

constexpr double kPlanClosestZoom = 2;  // pixels a metre

std::string plural(int64_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

void append_head(HtmlWriter& w, const ReportModel& model) {
  w.raw("<!DOCTYPE html>\n");
  w.open("html").attribute("lang", "en").text("\n");
  w.open("head").text("\n");
  w.open_void("meta").attribute("charset", "utf-8").text("\n");
  w.open_void("meta")
      .attribute("name", "viewport")
      .attribute("content", "width=device-width, initial-scale=1")
      .text("\n");
  w.open_void("link").attribute("rel", "icon").attribute("href", "data:,").text("\n");
  w.open("title").text(model.nome + ", train " + model.treno + ": route report").close().text("\n");
  w.open("style").text("\n").raw(report_style()).close().text("\n");
  w.close().text("\n");
}

void append_count(HtmlWriter& w, int64_t n, const char* one, const char* many,
                  std::string_view css_class = "") {
  w.open("li").attribute("class", css_class).text(plural(n, one, many)).close();
}

void append_header(HtmlWriter& w, const ReportModel& model) {
  w.open("header");
  w.open("h1").text(model.nome + " \u00b7 train " + model.treno).close();
  w.open("p")
      .attribute("class", page::kSub)
      .text("Route report of " + model.source_files[0] + " and " + model.source_files[1] +
            ", compiled by scenarioc " + std::string(scenarioc_version()))
      .close();
  w.open("ul").attribute("class", page::kCounts);
  w.open("li").text("route " + metres_text(model.route_length)).close();
  append_count(w, static_cast<int64_t>(model.stations.size()), "station", "stations");
  append_count(w, model.count(kSignal), "signal", "signals");
  append_count(w, static_cast<int64_t>(model.slowdowns.size()), "slowdown", "slowdowns");
  append_count(w, model.count(kSpeedBoard), "speed board", "speed boards");
  append_count(w, model.count(kIndicationBoard), "indication board", "indication boards");
  append_count(w, model.count(kAbbattimento) + model.count(kAbbattimentoNoValue),
               "abbattimento marker", "abbattimento markers");
  int64_t errors = 0, warnings = 0, past_stop = 0;
  for (const ReportDiagnostic& d : model.diagnostics) {
    (d.severity == "warning" ? warnings : errors)++;
    past_stop += d.after_stop ? 1 : 0;
  }
  if (past_stop > 0) {
    w.open("li")
        .attribute("class", page::kBad)
        .text(plural(errors, "error", "errors") + ", " + std::to_string(past_stop) +
              " of them past the compile's stop")
        .close();
  } else {
    append_count(w, errors, "error", "errors", errors > 0 ? page::kBad : page::kGood);
  }
  if (warnings > 0) append_count(w, warnings, "warning", "warnings", page::kWarn);
  w.close();
  w.open("dl").attribute("class", page::kFacts);
  for (const Fact& fact : model.scenario_facts) {
    w.open("div");
    w.open("dt").text(fact.name).close();
    w.open("dd").text(fact.value).close();
    w.close();
  }
  w.close();
  w.close().text("\n");
}

// `<h2>title <span class="hint">hint</span></h2>`
void append_heading(HtmlWriter& w, std::string_view title, std::string_view hint) {
  w.open("h2").text(title).text(" ");
  w.open("span").attribute("class", page::kHint).text(hint).close();
  w.close();
}

struct LegendEntry {
  std::string_view sample;  // its class
  std::string_view label;
  bool dot = false;    // a dot rather than a stroke
  bool as_is = false;  // the label written unescaped, as the page always had it
};

void append_legend(HtmlWriter& w, std::initializer_list<LegendEntry> entries) {
  w.open("ul").attribute("class", page::kLegend);
  for (const LegendEntry& entry : entries) {
    w.open("li");
    w.open("i").attribute("class", {entry.dot ? page::kDot : "", entry.sample}).close();
    if (entry.as_is) {
      w.raw(entry.label);
    } else {
      w.text(entry.label);
    }
    w.close();
  }
  w.close();
}

void append_plan_section(HtmlWriter& w, const ReportModel& model) {
  w.open("section").attribute("id", page::kPlanSection);
  append_heading(w, "Plan",
                 "north up \u00b7 drag to move \u00b7 wheel to zoom \u00b7 double-click to see "
                 "it all");
  append_legend(w, {{page::kLegendTrack, "track"},
                    {page::kLegendTunnel, "mountain stretch"},
                    {page::kLegendRunout, "beyond the route end"},
                    {page::kLegendStation, "station (filled: the train stops)", true},
                    {page::kLegendKm, "kilometre post (chainage)", true}});
  w.open("div").attribute("class", page::kPlanBox);
  append_plan_svg(w, model);
  w.open("div").attribute("class", page::kNorth).attribute("aria-hidden", "true").text("N");
  w.open_void("br").text("\u2191").close();
  w.open("div").attribute("id", page::kScalebar);
  w.open("div").attribute("id", page::kScalebarBar).close();
  w.open("span").attribute("id", page::kScalebarText).close();
  w.close();
  w.close();
  w.close().text("\n");
}

void append_profile_section(HtmlWriter& w, const ReportModel& model) {
  w.open("section").attribute("id", "profile-section");
  append_heading(w, "Along the route",
                 "hover to read the values and see the place on the plan \u00b7 wheel to zoom "
                 "\u00b7 drag to move \u00b7 double-click to see it all");
  const char* boards[] = {"boards A", "boards B", "boards C"};
  const std::string train_boards =
      std::string(boards[model.board_category]) + " (the train's category)";
  boards[model.board_category] = train_boards.c_str();
  append_legend(w, {{page::kLegendLimit, "train's speed limit", false, true},
                    {page::kLegendRun, "fastest run"},
                    {page::kLegendBoardA, boards[0]},
                    {page::kLegendBoardB, boards[1]},
                    {page::kLegendBoardC, boards[2]},
                    {page::kLegendSchedule, "timetable"},
                    {page::kLegendLate, "section that cannot be kept", true},
                    {page::kLegendTight, "section short of recovery margin", true},
                    {page::kLegendCurve, "curve", true},
                    {page::kLegendRepetition, "signal repetition", true},
                    {page::kLegendSignal,
                     "signal (its heads: left, right; round: kind 2, square: kind 1)", true},
                    {page::kLegendAuto, "marker added for a slowdown", true},
                    {page::kLegendError, "error", true}});
  w.open("div").attribute("id", page::kReadout).raw("&#160;").close();
  append_bands_svg(w, model);
  w.close().text("\n");
}

std::string indexed(std::string_view prefix, int64_t index) {
  return std::string(prefix) + std::to_string(index);
}

// Where a diagnostic's entry leads: its object, its place on the bands, its
// station, or itself.
std::string diagnostic_target(const ReportDiagnostic& d, size_t index) {
  if (d.object >= 0) return "#" + indexed(page::kBandObject, d.object);
  if (d.position) return "#" + indexed(page::kBandError, index);
  if (d.station >= 0) return "#" + indexed(page::kBandStation, d.station);
  return "#" + indexed(page::kDiagnosticItem, index);
}

void append_diagnostics(HtmlWriter& w, const ReportModel& model) {
  w.open("section").attribute("id", page::kDiagnostics);
  append_heading(w, "Errors and warnings", "click one to see its place");
  if (model.diagnostics.empty()) {
    w.open("p")
        .attribute("class", page::kNone)
        .text("The compiler recorded no error and no warning.")
        .close();
    w.close().text("\n");
    return;
  }
  w.open("ol");
  for (size_t i = 0; i < model.diagnostics.size(); ++i) {
    const ReportDiagnostic& d = model.diagnostics[i];
    w.open("li")
        .attribute("id", indexed(page::kDiagnosticItem, i))
        .attribute("class", d.severity)
        .attribute(page::kDataDiagnostics, i);
    if (d.position) w.attribute(page::kDataMetres, *d.position);
    if (d.object >= 0) w.attribute(page::kDataObject, d.object);
    if (d.station >= 0) w.attribute(page::kDataStation, d.station);
    w.open("a").attribute("href", diagnostic_target(d, i)).text(d.text()).close();
    for (const std::string& note : d.notes) {
      w.open_void("br");
      w.open("small").text("note: " + note).close();
    }
    w.close();
  }
  w.close();
  w.close().text("\n");
}

std::string time_cell(const ReportStation& s) {
  if (s.time == 0) return "";
  return std::string(s.arrival ? "arr. " : "dep. ") + clock_text(s.time);
}

void append_cell(HtmlWriter& w, const std::string& text, std::string_view css_class = {}) {
  w.open("td");
  if (!css_class.empty()) w.attribute("class", css_class);
  w.text(text).close();
}

// The section that ends at each station, or none.
std::vector<const ReportSection*> sections_by_end(const ReportModel& model) {
  std::vector<const ReportSection*> ending(model.stations.size(), nullptr);
  for (const ReportSection& s : model.run.sections) {
    if (s.to >= 0 && static_cast<size_t>(s.to) < ending.size()) ending[s.to] = &s;
  }
  return ending;
}

// Distance, scheduled and minimum times and the margin of the section that
// ends at a station; empty cells where none ends.
void append_section_cells(HtmlWriter& w, const ReportSection* s) {
  if (s == nullptr) {
    for (int i = 0; i < 4; ++i) append_cell(w, "", page::kNumber);
    return;
  }
  append_cell(w, fixed_decimals(s->distance_m / 1000, 2) + " km", page::kNumber);
  append_cell(w, duration_text(s->scheduled_s), page::kNumber);
  append_cell(w, duration_text(s->minimum_s), page::kNumber);
  w.open("td").attribute("class", {page::kNumber, verdict_class(s->verdict)});
  w.text(margin_text(*s) + " ");
  w.open("small").text("(" + margin_percent_text(*s) + ")").close();
  w.close();
}

// Why the run is missing, or what it took as it could.
void append_run_notes(HtmlWriter& w, const ReportModel& model) {
  if (model.run.made() && model.run.notes.empty()) return;
  w.open("ul").attribute("class", page::kRunNotes);
  if (!model.run.made()) {
    w.open("li").text("No fastest run, so no minimum times: " + model.run.missing + ".").close();
  }
  for (const std::string& note : model.run.notes) {
    w.open("li").text("The fastest run: " + note + ".").close();
  }
  w.close();
}

void append_station_table(HtmlWriter& w, const ReportModel& model) {
  w.open("section").attribute("id", page::kStations);
  append_heading(w, "Stations",
                 "the timetable as compiled, each section beside the fastest run of a "
                 "typical electric locomotive and its coaches; click a row to see the station");
  append_run_notes(w, model);
  w.open("table").open("thead").open("tr");
  const struct {
    const char* text;
    std::string_view css_class;
  } kColumns[] = {{"#", {}},
                  {"Name", {}},
                  {"Position", page::kNumber},
                  {"Chainage", {}},
                  {"Zone", page::kNumber},
                  {"Kind", {}},
                  {"Stop", page::kNumber},
                  {"Time", {}},
                  {"Distance", page::kNumber},
                  {"Scheduled", page::kNumber},
                  {"Minimum", page::kNumber},
                  {"Margin", page::kNumber},
                  {"Source", {}}};
  for (const auto& column : kColumns) {
    w.open("th");
    if (!column.css_class.empty()) w.attribute("class", column.css_class);
    w.text(column.text).close();
  }
  w.close().close().open("tbody");
  const std::vector<const ReportSection*> ending = sections_by_end(model);
  for (size_t i = 0; i < model.stations.size(); ++i) {
    const ReportStation& s = model.stations[i];
    w.open("tr")
        .attribute("id", indexed(page::kStationRow, i))
        .attribute(page::kDataStation, i)
        .attribute(page::kDataMetres, s.position);
    if (s.stops()) w.attribute("class", page::kStop);
    append_cell(w, std::to_string(i + 1), page::kNumber);
    append_cell(w, s.name);
    append_cell(w, metres_text(s.position), page::kNumber);
    append_cell(w, chainage_text(s.chainage));
    append_cell(w, std::to_string(s.zone_from) + " to " + std::to_string(s.zone_to), page::kNumber);
    w.open("td").text(std::to_string(s.genere) + " ");
    w.open("small").text(station_kind_text(s.genere)).close();
    w.close();
    append_cell(w, s.stop_seconds > 0 ? seconds_text(s.stop_seconds) : "", page::kNumber);
    append_cell(w, time_cell(s));
    append_section_cells(w, ending[i]);
    append_cell(w, s.source.text(), page::kSource);
    w.close();
  }
  w.close().close().close().text("\n");
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

Json line_json(const std::vector<LinePoint>& line) {
  Json json = Json::array();
  for (const LinePoint& p : line) {
    json.push_back(tenths(p.metres));
    json.push_back(tenths(p.value));
  }
  return json;
}

// What the script needs besides the drawing: the plan polyline, the values
// along the route and the chainage, as JSON with its real numbers to a tenth.
void append_data(HtmlWriter& w, const ReportModel& model) {
  Json data = Json::object();
  data[page::kKeyFirst] = model.first_metres;
  data[page::kKeyLast] = model.last_metres;
  data["routeEnd"] = model.route_length;
  data[page::kKeyClosestZoom] = kPlanClosestZoom;
  Json& plan = data[page::kKeyPlan] = Json::array();
  for (const PlanPoint& point : model.plan) {
    plan.push_back(point.metre);
    plan.push_back(tenths(point.x));
    plan.push_back(tenths(-point.y));
  }
  data[page::kKeyLimit] = runs_json(model.speed_limit);
  data[page::kKeyGradient] = runs_json(model.gradient);
  data[page::kKeyAdhesion] = runs_json(model.adhesion);
  Json& elevation = data[page::kKeyElevation] = Json::array();
  for (const ElevationPoint& point : model.elevation) {
    elevation.push_back(point.metres);
    elevation.push_back(point.millimetres);
  }
  Json& chainage = data[page::kKeyChainage] = Json::array();
  for (const ChainageReference& reference : model.chainage.references()) {
    chainage.push_back(reference.from);
    chainage.push_back(reference.chainage);
    chainage.push_back(reference.decreasing ? -1 : 1);
  }
  data[page::kKeyRunSpeed] = line_json(model.run.speed);
  data[page::kKeyRunTime] = line_json(model.run.time);
  // Numbers and keys alone: nothing in it can end the element.
  w.open("script").attribute("type", "application/json").attribute("id", page::kReportData);
  w.raw(json_text(data, JsonReals::tenths)).close().text("\n");
}

}  // namespace

std::string render_report_page(const ReportModel& model) {
  std::string out;
  out.reserve(1 << 19);
  HtmlWriter w(out);
  append_head(w, model);
  w.open("body").text("\n");
  append_header(w, model);
  w.open("main").text("\n");
  append_plan_section(w, model);
  append_profile_section(w, model);
  append_diagnostics(w, model);
  append_station_table(w, model);
  append_documents_section(w, model.documents);
  w.close().text("\n");
  w.open("div").attribute("id", page::kTip).attribute("role", "tooltip").flag("hidden").close();
  w.text("\n");
  append_data(w, model);
  w.open("script").text("\n").raw(report_script()).close().text("\n");
  w.close().text("\n");
  w.close().text("\n");
  return out;
}

}  // namespace scenario
