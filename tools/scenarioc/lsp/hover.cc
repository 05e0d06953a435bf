#include "scenarioc/lsp/hover.h"

#include <charconv>
#include <optional>
#include <string_view>
#include <vector>

#include "base/text_case.h"
#include "base/text_encoding.h"
#include "compiler/cells.h"
#include "compiler/chainage.h"
#include "compiler/format/object_values.h"
#include "compiler/parse/record_kinds.h"
#include "scenarioc/report/report_model.h"

namespace scenario::lsp {
namespace {

// What Markdown lets a backslash escape.
bool is_ascii_punctuation(char c) {
  return (c >= '!' && c <= '/') || (c >= ':' && c <= '@') || (c >= '[' && c <= '`') ||
         (c >= '{' && c <= '~');
}

std::string cell_text(int64_t cell) {
  return "cell " + std::to_string(cell) + " (" + std::to_string(cell_start_metres(cell)) + " to " +
         std::to_string(cell_start_metres(cell + 1)) + " m)";
}

std::string heading(const std::string& title, int64_t metres, const std::string& cell,
                    const Chainage& chainage) {
  return "**" + markdown_text(title) + "** at " + metres_text(metres) + " · " + cell +
         " · chainage " + chainage_text(chainage.at(metres)) + "\n\n";
}

std::string fact_list(const std::vector<Fact>& facts) {
  std::string text;
  for (const Fact& fact : facts) {
    text += "- " + markdown_text(fact.name) + ": " + markdown_text(fact.value) + "\n";
  }
  return text;
}

std::string in_force(const BuildContext& ctx, int64_t cell) {
  if (!ctx.in_row(cell)) return "The cell lies outside the cell row.\n";
  return "In force over the cell:\n\n" + fact_list(stretch_facts(ctx.percorso[cell]));
}

// The marks a record set in `cells`, with the values it gave them: a later
// record may have set others there since.
std::string marks_text(const BuildContext& ctx, const char* what,
                       const std::vector<std::pair<int64_t, int>>& cells) {
  std::string text = std::string("\n") + what + ":\n\n";
  for (const auto& [cell, value] : cells) {
    text += "- " + cell_text(cell) + ": ";
    if (!ctx.in_row(cell)) {
      text += "outside the cell row\n";
      continue;
    }
    const int held = ctx.percorso[cell].preavviso;
    text += "mark " + std::to_string(held);
    if (held != value)
      text += " (this record set " + std::to_string(value) + "; a later one replaced it)";
    text += "\n";
  }
  return text;
}

std::string signal_marks(const BuildContext& ctx, const ReportObject& signal) {
  const int sides = signal.raw.dato4 % 10;
  std::vector<std::pair<int64_t, int>> cells;
  for (int b = 1; b <= 4; ++b) cells.push_back({signal.cell - 2 * b, (sides * 10 + b) & 0xFF});
  return marks_text(ctx, "Approach marks, 100 to 400 m before it", cells);
}

std::string object_text(const BuildContext& ctx, const ReportModel& model, const ReportObject& o) {
  std::string text = heading(o.title, o.metres, cell_text(o.cell), model.chainage);
  text += "The cell holds:\n\n" + fact_list(o.facts) + "\n" + in_force(ctx, o.cell);
  if (o.oggetto == kSignal) text += signal_marks(ctx, o);
  return text;
}

std::string station_text(const BuildContext& ctx, const ReportModel& model,
                         const ReportStation& s) {
  std::string text = "**station " + markdown_text(escape_controls(s.name)) + "** at " +
                     metres_text(s.position) + " · chainage " + chainage_text(s.chainage) + "\n\n";
  text += "- zone: " + std::to_string(s.zone_from) + " to " + std::to_string(s.zone_to) + " m\n";
  text += "- kind: " + std::to_string(s.genere) + ", " + station_kind_text(s.genere) + "\n";
  if (s.stop_seconds > 0) text += "- stop: " + seconds_text(s.stop_seconds) + "\n";
  if (s.time != 0) {
    text += std::string("- ") + (s.arrival ? "arrival" : "departure") + ": " + clock_text(s.time) +
            "\n";
  }
  text += fact_list(s.codes);
  if (s.mark_object < 0) return text + "\nNo stop mark: its kind has none, or it was not placed.\n";
  const ReportObject& mark = model.objects[static_cast<size_t>(s.mark_object)];
  text += "\nStop mark: " + cell_text(mark.cell) + "\n";
  std::vector<std::pair<int64_t, int>> cells;
  for (int i = 1; i <= 4; ++i) cells.push_back({mark.cell - i, 80 + i});
  text += marks_text(ctx, "Approach marks of the stop", cells);
  return text + "\n" + in_force(ctx, mark.cell);
}

// The fields of a line of source text, split at its commas, blanks trimmed.
std::vector<std::string_view> fields_of(std::string_view line) {
  std::vector<std::string_view> fields;
  while (true) {
    const size_t comma = line.find(',');
    std::string_view field = line.substr(0, comma);
    while (!field.empty() && (field.front() == ' ' || field.front() == '\t'))
      field.remove_prefix(1);
    while (!field.empty() && (field.back() == ' ' || field.back() == '\t')) field.remove_suffix(1);
    fields.push_back(field);
    if (comma == std::string_view::npos) return fields;
    line.remove_prefix(comma + 1);
  }
}

const RecordKind* kind_named(std::string_view keyword) {
  const std::string lower = to_lower_1252(keyword);
  for (const RecordKind& kind : record_kinds()) {
    for (std::string_view spelling : kind.spellings) {
      if (spelling == lower) return &kind;
    }
  }
  return nullptr;
}

bool is_profile(RecordId id) {
  return id == RecordId::gradient || id == RecordId::speed || id == RecordId::adhesion;
}

// A record that places no object: a profile value, a curve, a mountain
// stretch. Its position is its first value; a profile takes effect from
// cell round(p / 50), the rest are shown at that cell too.
std::string record_text(const BuildContext& ctx, const ReportModel& model, std::string_view line) {
  const std::vector<std::string_view> fields = fields_of(line);
  const RecordKind* kind = kind_named(fields[0]);
  if (kind == nullptr || kind->values.empty() || fields.size() < 2) return "";
  const std::string_view first = kind->values[0];
  if (first != "position" && first != "start" && first != "inizio") return "";
  int32_t position = 0;
  const auto [end, error] =
      std::from_chars(fields[1].data(), fields[1].data() + fields[1].size(), position);
  if (error != std::errc() || end != fields[1].data() + fields[1].size()) return "";
  const int64_t cell = cell_before(position);
  std::string text = heading(std::string(kind->words), position,
                             std::string(is_profile(kind->id) ? "from " : "at ") + cell_text(cell),
                             model.chainage);
  return text + in_force(ctx, cell);
}

}  // namespace

std::string markdown_text(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (const char c : text) {
    if (is_ascii_punctuation(c)) escaped += '\\';
    escaped += c;
  }
  return escaped;
}

std::string hover_text(ScenarioAnalysis& analysis, SourceFile which, int64_t line) {
  const BuildContext& ctx = analysis.context();
  const ReportModel& model = analysis.model();
  const std::string file = utf8_from_native(analysis.side(which).path.filename().string());
  const auto here = [&](const SourceRef& source) {
    return source.known() && source.file == file && source.line == line + 1;
  };
  std::string text;
  for (const ReportStation& station : model.stations) {
    if (here(station.source)) text += station_text(ctx, model, station);
  }
  if (!text.empty()) return text;
  for (const ReportObject& object : model.objects) {
    if (here(object.source) && !object.automatic) {
      text += (text.empty() ? "" : "\n---\n\n") + object_text(ctx, model, object);
    }
  }
  if (!text.empty()) return text;
  return record_text(ctx, model, analysis.side(which).text.byte_line(line));
}

}  // namespace scenario::lsp
