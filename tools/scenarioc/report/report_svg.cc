#include "scenarioc/report/report_svg.h"

#include "scenarioc/output/html_text.h"

namespace scenario {
namespace {

std::string fact_line(const Fact& fact) { return fact.name + ": " + fact.value; }

std::string facts_line(const std::vector<Fact>& facts) {
  std::string line;
  for (const Fact& fact : facts) {
    if (!line.empty()) line += ", ";
    line += fact.name + " " + fact.value;
  }
  return line;
}

void add_diagnostic_lines(std::string& tip, const ReportModel& model,
                          const std::vector<int32_t>& diagnostics) {
  for (int32_t d : diagnostics) {
    const ReportDiagnostic& diagnostic = model.diagnostics[d];
    tip += "\n" + diagnostic.severity + " " + diagnostic.name + ": " + diagnostic.message;
    for (const std::string& note : diagnostic.notes) tip += "\nnote: " + note;
  }
}

}  // namespace

void PathData::point(char command, double x, double y) {
  if (!d_.empty()) d_ += ' ';
  d_ += command;
  append_fixed(d_, x, decimals_);
  d_ += ' ';
  append_fixed(d_, y, decimals_);
}

void PathData::move_to(double x, double y) { point('M', x, y); }
void PathData::line_to(double x, double y) { point('L', x, y); }
void PathData::dot(double x, double y) {
  point('M', x, y);
  d_ += "h0";
}

std::string kilometre_text(const ReportModel& model, int64_t metres) {
  return "km " + chainage_text(model.chainage.at(metres));
}

std::string object_tip(const ReportModel& model, const ReportObject& o) {
  std::string tip = o.title;
  tip += "\nposition " + metres_text(o.metres) + " (cell " + std::to_string(o.cell) + "), " +
         kilometre_text(model, o.metres);
  for (const Fact& fact : o.facts) tip += "\n" + fact_line(fact);
  if (o.slowdown >= 0) {
    const ReportSlowdown& s = model.slowdowns[o.slowdown];
    tip += "\nslowdown " + speed_text(s.speed) + " from " + metres_text(s.start) + " to " +
           metres_text(s.end);
  }
  tip += "\nin force: " + facts_line(o.stretch);
  tip += "\nsource " + (o.source.known() ? o.source.text() : std::string("not known"));
  add_diagnostic_lines(tip, model, o.diagnostics);
  return tip;
}

std::string station_tip(const ReportModel& model, const ReportStation& s) {
  std::string tip = "station " + s.name;
  tip += "\nposition " + metres_text(s.position) + ", " + kilometre_text(model, s.position);
  tip += "\nzone " + metres_text(s.zone_from) + " to " + metres_text(s.zone_to);
  tip += "\nkind " + std::to_string(s.genere) + ": " + station_kind_text(s.genere);
  if (s.stop_seconds > 0) tip += "\nstop " + seconds_text(s.stop_seconds);
  if (s.time != 0)
    tip += std::string("\n") + (s.arrival ? "arrival " : "departure ") + clock_text(s.time);
  tip += "\nsource " + (s.source.known() ? s.source.text() : std::string("not known"));
  add_diagnostic_lines(tip, model, s.diagnostics);
  return tip;
}

std::string diagnostic_tip(const ReportModel& model, const ReportDiagnostic& d) {
  std::string tip = d.severity + (d.name.empty() ? "" : " " + d.name);
  if (d.position) {
    tip += "\nposition " + metres_text(*d.position) + ", " + kilometre_text(model, *d.position);
  }
  tip += "\n" + d.message;
  for (const std::string& note : d.notes) tip += "\nnote: " + note;
  if (d.source.known()) tip += "\nsource " + d.source.text();
  return tip;
}

void append_title(HtmlWriter& w, const std::string& tip) { w.open("title").text(tip).close(); }

}  // namespace scenario
