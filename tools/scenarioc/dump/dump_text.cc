#include "scenarioc/dump/dump_text.h"

#include <charconv>
#include <cmath>

#include "base/text_encoding.h"
#include "compiler/cells.h"
#include "compiler/format/binary_layout.h"
#include "compiler/format/cell_text.h"
#include "scenarioc/dump/dump_units.h"
#include "scenarioc/dump/track_plan_summary.h"
#include "scenarioc/output/json_text.h"
#include "scenarioc/version.h"

namespace scenario {
namespace {

using cell_layout::kHeaderCell;

std::string shortest(double value) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

// A Windows-1252 text between double quotes, as UTF-8, with quotes,
// backslashes and control characters escaped.
std::string quoted(const std::string& text) {
  std::string out = "\"";
  for (char ch : text) {
    if (ch == '"' || ch == '\\') {
      out += '\\';
      out += ch;
    } else if (ch == '\t') {
      out += "\\x09";  // a tab would hide where one field ends
    } else {
      out += printable_from_1252(std::string_view(&ch, 1));
    }
  }
  return out + "\"";
}

bool worth_showing(size_t index, const cella& c) {
  return index == kHeaderCell || c.oggetto != kNoObject || c.preavviso != 0;
}

// " name=value" for a number field of a record.
template <typename Field, typename Record>
std::string name_value(const Field& field, const Record& record) {
  return " " + std::string(field.name) + "=" + std::to_string(field.value(record));
}

// The route position where a cell's stretch starts: cell 1 begins at 0 m.
int64_t cell_metres(size_t index) { return cell_start(static_cast<int64_t>(index)); }

std::string route_cells_heading(const std::vector<cella>& percorso, const DumpView& view) {
  std::string text = "route cells: " + printable_from_native(view.file) + ", " +
                     std::to_string(view.bytes) + " bytes, " + std::to_string(percorso.size()) +
                     " cells";
  if (!percorso.empty()) text += " (0 to " + std::to_string(percorso.size() - 1) + ")";
  if (percorso.size() <= kHeaderCell) return text + "; no header cell\n";
  const cella& header = percorso[kHeaderCell];
  text += "; header cell " + std::to_string(kHeaderCell) + ":" +
          name_value(cell_layout::dato1, header) + name_value(cell_layout::dato2, header) + "\n";
  if (!view.all) {
    text +=
        "the header cell and the cells that hold an object or an approach mark (--all: every "
        "cell)\n";
  }
  return text;
}

Json cell_json(size_t index, const cella& c) {
  Json json = Json::object();
  json["cell"] = index;
  json["metres"] = cell_metres(index);
  for_each_field(cell_layout::kFields, [&](const auto& field) {
    json[std::string(field.name)] = field.value(c);
    if (same_field(field, cell_layout::oggetto)) {
      json["object"] = json_native(object_kind_name(c.oggetto));
    }
  });
  return json;
}

Json begin_json_dump(const char* kind, const DumpView& view) {
  Json json = Json::object();
  json["kind"] = json_native(kind);
  json["file"] = json_native(view.file);
  json["bytes"] = view.bytes;
  return json;
}

// The version comes last, after the fields of every earlier version.
std::string end_json_dump(Json& json) {
  json["version"] = json_native(scenarioc_version());
  return json_text(json) + "\n";
}

// What an entry of `tabella` is for, by its index.
std::string entry_role(int index) {
  if (index == 0) return "unused";
  if (index <= kFirstBoardEntry) return "station or board text";
  if (index < kEntryTrain) return "kilometric reference";
  if (index == kEntryTrain) return "train";
  if (index == kEntryScenario) return "header";
  return "signal repetition and train number";
}

std::string station_line(int index, const voce& v) {
  std::string line = "entry " + std::to_string(index) + " (" + entry_role(index) + "):";
  station_layout::for_each_record_field([&](const auto& field) {
    if constexpr (is_text_field<decltype(field)>) {
      line += " " + std::string(field.name) + "=" + quoted(field.text(v));
    } else {
      line += name_value(field, v);
    }
  });
  return line + "\n";
}

Json station_json(int index, const voce& v) {
  Json json = Json::object();
  json["index"] = index;
  json["role"] = json_native(entry_role(index));
  station_layout::for_each_record_field([&](const auto& field) {
    if constexpr (is_text_field<decltype(field)>) {
      json[std::string(field.name)] = json_1252(field.text(v));
    } else {
      json[std::string(field.name)] = field.value(v);
    }
  });
  return json;
}

std::string entry_text(const TrackEntry& e) {
  return e.tag == TrackTag::empty ? std::string() : shortest(e.value);
}

std::string track_points_csv(const DecodedTrackPlan& plan) {
  std::string csv = "metre,x,y\n";
  for (int32_t m = 0; m <= plan.metri_totali; ++m) {
    csv += std::to_string(m) + "," + entry_text(plan.tracciato.entry(m, 0)) + "," +
           entry_text(plan.tracciato.entry(m, 1)) + "\n";
  }
  return csv;
}

std::string track_summary_text(const TrackPlanSummary& s, const DumpView& view) {
  std::string text = "track plan: " + printable_from_native(view.file) + ", " +
                     std::to_string(view.bytes) + " bytes\n";
  if (s.metri_totali < 0) return text + "no element\n";
  text += "metres: 0 to " + std::to_string(s.metri_totali) + " (route length + 7000 m)\n";
  text += "points with x and y: " + std::to_string(s.filled_points) +
          "; empty entries: " + std::to_string(s.empty_entries) + "\n";
  if (s.has_box) {
    text += "bounding box: x " + shortest(s.x_min) + " to " + shortest(s.x_max) + ", y " +
            shortest(s.y_min) + " to " + shortest(s.y_max) + "\n";
  }
  text += "length along the axis: " + shortest(s.axis_length) + " m\n";
  text += "total turning: " + shortest(s.total_turning) +
          " degrees; net change of heading: " + shortest(s.net_turning) + " degrees\n";
  return text;
}

// A double as JSON; a non-finite one has no JSON form and is null.
Json real_json(double value) { return std::isfinite(value) ? Json(value) : Json(nullptr); }

void add_track_fields(Json& json, const DecodedTrackPlan& plan, const TrackPlanSummary& s,
                      bool points) {
  json["metri_totali"] = s.metri_totali;
  json["points_with_x_and_y"] = s.filled_points;
  json["empty_entries"] = s.empty_entries;
  if (s.has_box) {
    json["bounding_box"] = {{"x_min", real_json(s.x_min)},
                            {"x_max", real_json(s.x_max)},
                            {"y_min", real_json(s.y_min)},
                            {"y_max", real_json(s.y_max)}};
  } else {
    json["bounding_box"] = nullptr;
  }
  json["axis_length"] = real_json(s.axis_length);
  json["total_turning_degrees"] = real_json(s.total_turning);
  json["net_turning_degrees"] = real_json(s.net_turning);
  if (!points) return;
  Json& all = json["points"] = Json::array();
  for (int32_t m = 0; m <= plan.metri_totali; ++m) {
    Json point = Json::array({m});
    for (int axis = 0; axis < 2; ++axis) {
      const TrackEntry e = plan.tracciato.entry(m, axis);
      point.push_back(e.tag == TrackTag::empty ? Json(nullptr) : real_json(e.value));
    }
    all.push_back(std::move(point));
  }
}

}  // namespace

std::string dump_route_cells(const std::vector<cella>& percorso, const DumpView& view) {
  if (!view.json) {
    std::string text = route_cells_heading(percorso, view);
    for (size_t i = 0; i < percorso.size(); ++i) {
      if (!view.all && !worth_showing(i, percorso[i])) continue;
      text += describe_cell(i, percorso[i]) + "\n";
      text += cell_in_units(i, percorso[i], view.stations) + "\n";
    }
    return text;
  }
  Json json = begin_json_dump("cells", view);
  json["cell_count"] = percorso.size();
  json["all"] = view.all;
  Json& cells = json["cells"] = Json::array();
  for (size_t i = 0; i < percorso.size(); ++i) {
    if (view.all || worth_showing(i, percorso[i])) cells.push_back(cell_json(i, percorso[i]));
  }
  return end_json_dump(json);
}

std::string dump_station_table(const Tabella& tabella, const DumpView& view) {
  if (!view.json) {
    std::string text = "station table: " + printable_from_native(view.file) + ", " +
                       std::to_string(view.bytes) + " bytes, " + std::to_string(tabella.size()) +
                       " records\n";
    for (int k = 0; k < kTableEntries; ++k) {
      text += station_line(k, tabella[k]);
      const std::string units = entry_in_units(k, tabella);
      if (!units.empty()) text += units + "\n";
    }
    return text;
  }
  Json json = begin_json_dump("stations", view);
  Json& records = json["records"] = Json::array();
  for (int k = 0; k < kTableEntries; ++k) records.push_back(station_json(k, tabella[k]));
  return end_json_dump(json);
}

std::string dump_track_plan(const DecodedTrackPlan& plan, const DumpView& view) {
  const TrackPlanSummary summary = summarize_track_plan(plan.tracciato, plan.metri_totali);
  if (!view.json) {
    return view.points ? track_points_csv(plan) : track_summary_text(summary, view);
  }
  Json json = begin_json_dump("track", view);
  add_track_fields(json, plan, summary, view.points);
  return end_json_dump(json);
}

}  // namespace scenario
