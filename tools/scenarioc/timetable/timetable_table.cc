#include "scenarioc/timetable/timetable_table.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "base/text_encoding.h"
#include "compiler/timetable/timetable_judgement.h"
#include "scenarioc/output/json_text.h"
#include "scenarioc/version.h"

namespace scenario {
namespace {

using timetable::Section;
using timetable::TimetableCheck;

std::string fixed(double x, int decimals) {
  char text[48];
  std::snprintf(text, sizeof text, "%.*f", decimals, x);
  return text;
}

std::string whole(double x) { return fixed(x, 0); }

// A row of the text table: cells padded to their column's width, the names
// to the left and the numbers to the right.
using Row = std::vector<std::string>;
constexpr size_t kNameColumns = 2;

std::string verdict_of(const Section& s, const TimetableCheck& check) {
  return timetable::verdict_name(timetable::judge(s, check.top_speed_kmh));
}

Row row_of(const Section& s, const std::string& from, const std::string& to,
           const std::string& verdict) {
  return {from,
          to,
          whole(s.distance_m) + " m",
          std::to_string(s.scheduled_s) + " s",
          fixed(s.minimum_s, 1) + " s",
          fixed(s.margin_s, 1) + " s",
          fixed(s.margin_percent, 1) + " %",
          verdict};
}

std::string laid_out(const std::vector<Row>& rows) {
  std::vector<size_t> widths(rows.front().size(), 0);
  for (const Row& row : rows) {
    for (size_t k = 0; k < row.size(); ++k) widths[k] = std::max(widths[k], row[k].size());
  }
  std::string text;
  for (const Row& row : rows) {
    std::string line;
    for (size_t k = 0; k < row.size(); ++k) {
      const std::string pad(widths[k] - row[k].size(), ' ');
      const bool last = k + 1 == row.size();
      if (k < kNameColumns || last) {
        line += row[k] + (last ? "" : pad);
      } else {
        line += pad + row[k];
      }
      if (!last) line += "  ";
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    text += line + "\n";
  }
  return text;
}

// A CSV field, quoted when it holds a comma, a quote or a line end.
std::string csv_field(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

}  // namespace

std::string timetable_text(const TimetableCheck& check) {
  if (check.sections.empty()) return "no two stations have a time: the timetable has no section\n";
  std::vector<Row> rows = {
      {"From", "To", "Distance", "Scheduled", "Minimum", "Margin", "", "Verdict"}};
  for (const Section& s : check.sections) {
    rows.push_back(row_of(s, printable_from_1252(s.from_name), printable_from_1252(s.to_name),
                          verdict_of(s, check)));
  }
  const Section& whole_run = check.whole;
  rows.push_back(
      row_of(whole_run, "Total", "",
             timetable::verdict_name(timetable::judge_run(whole_run, check.top_speed_kmh))));
  if (any_section_cannot_be_kept(check)) rows.back().back() = "cannot be kept";
  return laid_out(rows);
}

std::string timetable_csv(const TimetableCheck& check) {
  std::string text = "from,to,distance_m,scheduled_s,minimum_s,margin_s,margin_percent,verdict\n";
  for (const Section& s : check.sections) {
    text += csv_field(utf8_from_1252(s.from_name)) + "," + csv_field(utf8_from_1252(s.to_name)) +
            "," + whole(s.distance_m) + "," + std::to_string(s.scheduled_s) + "," +
            fixed(s.minimum_s, 1) + "," + fixed(s.margin_s, 1) + "," + fixed(s.margin_percent, 1) +
            "," + verdict_of(s, check) + "\n";
  }
  return text;
}

std::string timetable_json(const TimetableCheck& check) {
  Json document;
  Json sections = Json::array();
  for (const Section& s : check.sections) {
    Json section;
    section["from"] = json_1252(s.from_name);
    section["to"] = json_1252(s.to_name);
    section["distance_m"] = std::llround(s.distance_m);
    section["scheduled_s"] = s.scheduled_s;
    section["minimum_s"] = s.minimum_s;
    section["margin_s"] = s.margin_s;
    sections.push_back(std::move(section));
  }
  document["sections"] = std::move(sections);
  Json run = Json::array();
  for (const timetable::RunSample& sample : timetable::samples_per_cell(check.run)) {
    Json point;
    point["position_m"] = std::llround(sample.position_m);
    point["speed_kmh"] = sample.speed_kmh;
    point["time_s"] = sample.time_s;
    run.push_back(std::move(point));
  }
  document["run"] = std::move(run);
  document["version"] = json_native(scenarioc_version());
  return json_text(document, JsonReals::tenths) + "\n";
}

bool any_section_cannot_be_kept(const TimetableCheck& check) {
  return std::any_of(check.sections.begin(), check.sections.end(),
                     [](const Section& s) { return timetable::cannot_be_kept(s); });
}

}  // namespace scenario
