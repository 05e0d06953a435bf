#include "compiler/diagnostics/diagnostics.h"

#include <string>

#include "base/text_encoding.h"
#include "compiler/cells.h"
#include "compiler/diagnostics/warnings.h"
#include "compiler/format/binary_layout.h"
#include "compiler/format/cell_text.h"
#include "compiler/object_kinds.h"
#include "compiler/parse/record_kinds.h"

namespace scenario {
namespace {

using cell_layout::kHeaderCell;

std::string metres(int32_t position) { return std::to_string(position) + " m"; }

// What the diagnostics quote reaches a terminal as UTF-8 with its control
// characters escaped: text from a source is Windows-1252; a file name or a
// system message is the system's own.
std::string quoted_source_text(const std::string& text_1252) {
  return printable_from_1252(text_1252);
}
std::string printable_native(const std::string& text) {
  return escape_controls(utf8_from_native(text));
}

// "cell 297 already holds a speed-indicator board", or where the cell lies outside the row.
std::string cell_taken(const Recording& r) {
  const std::string cell = "cell " + std::to_string(r.cell);
  if (r.occupant == kNoObject) return cell + " lies outside the cell row";
  return cell + " already holds " + with_article(occupant_name(r.occupant));
}

std::string at(const char* what, const Recording& r) {
  return std::string(what) + " at " + metres(r.posizione);
}

std::string slowdown_of(const Recording& r) {
  return r.has_slowdown ? "slowdown at " + metres(r.slowdown_x) : std::string("slowdown");
}

// The recording's reason and values in words; empty when it gives none.
std::string reason_text(const Recording& r) {
  switch (r.reason) {
    case Reason::none:
    case Reason::earlier_15_stands:
      break;
    case Reason::station_zone_beyond_row:
      if (r.row_end == 0) return "the station's zone ends beyond the cell row";
      return "the station's zone ends at " + metres(r.value) +
             ", so its stop mark would fall in cell " + std::to_string(cell_two_before(r.value)) +
             ", beyond the row's last cell, cell " + std::to_string(cell_ending_at(r.row_end)) +
             " (" + metres(r.row_end) + ")";
    case Reason::board_without_entry:
      return "an 81st indication board has no entry for its text";
    case Reason::station_without_entry:
      return "the station has no entry left";
    case Reason::walk_reached_row_end:
      return "the walk along the slowdown reached the end of the cell row without meeting its end";
    case Reason::signal_after_slowdown:
      return "";
    case Reason::generale_misspelt:
      return quote_text(r.text) + " here is near it: did you mean \"[generale]\"?";
    case Reason::curve_without_class:
      return "the keyword \"" + quoted_source_text(r.text) + "\" holds no class digit 1 to 6";
    case Reason::track_plan_past_limit:
      return "the track plan would pass metre 1000000";
  }
  switch (r.numero) {
    case 1:
    case 3:
    case 4:
      return metres(r.value);
    case 2:
      return "the kilometric reference at " + metres(r.value) + " with chainage " +
             metres(r.chainage);
    default:
      return "";
  }
}

// "the signal's 11th value, tempo,"; "the sand setting's value" for a record of one value.
std::string value_subject(const Recording& r) {
  const std::string owner = "the " + r.record + "'s ";
  if (r.value_count == 1) return owner + "value";
  return owner + ordinal(r.value_index) + " value, " + r.value_name + ",";
}

// Error 25 while a record's values were read: which value, what was found, and
// where it came from when the record's line was short of values.
std::string describe_value_failure(const Recording& r) {
  std::string text = value_subject(r);
  switch (r.failure) {
    case FieldFailure::not_a_number:
      text += " is not a whole number: " + quote_text(r.found);
      if (r.found.find('.') != std::string::npos) text += " (the files hold whole numbers only)";
      if (r.found.find(';') != std::string::npos) text += " (only commas separate fields)";
      break;
    case FieldFailure::out_of_range:
      text += " is out of range: " + printable_native(r.text);
      break;
    case FieldFailure::too_long:
      text += " is longer than 65535 characters";
      break;
    case FieldFailure::past_end:
      text += " is missing: the file ends before it";
      break;
    case FieldFailure::none:
      text += " " + printable_native(r.text);
      break;
  }
  if (r.values_on_line >= 0 && r.found_at.line > r.where.line) {
    text += ", on line " + std::to_string(r.found_at.line) + "; the " + r.record +
            "'s own line holds " +
            (r.values_on_line == 0 ? std::string("none") : std::to_string(r.values_on_line)) +
            " of its " + std::to_string(r.value_count) + " values, so " +
            (r.value_count - r.values_on_line == 1
                 ? "the " + ordinal(r.value_count) + " was taken from the next line"
                 : std::string("the rest were taken from the lines after it"));
    if (r.separator == ';') text += ", and its fields are separated by semicolons, not commas";
    if (r.separator == '\t') text += ", and its fields are separated by tabs, not commas";
  }
  return text;
}

std::string describe_failure(const Recording& r) {
  if (r.value_index > 0) return describe_value_failure(r);
  const std::string failure =
      r.text.empty() ? "run-time failure" : "run-time failure: " + printable_native(r.text);
  return r.record.empty() ? failure : "the " + r.record + ": " + failure;
}

std::string describe_15(const Recording& r) {
  const std::string what = (r.record.empty() ? "" : r.record + " at ") + metres(r.posizione);
  const std::string skipped = "; the rest of this file is skipped";
  if (r.row_end == 0) {
    const std::string reason = reason_text(r);
    return what + " lies beyond the cell row" + skipped + (reason.empty() ? "" : ": " + reason);
  }
  const std::string row_end =
      "the row's end at " + metres(r.row_end) + " (7000 m past the route's end)";
  if (r.reason == Reason::station_zone_beyond_row) {
    return what + ": " + reason_text(r) + skipped;
  }
  if (r.record == "station") {
    return what + " lies too near the end of the cell row: a station's position may be at most " +
           metres(r.limit) + ", 800 m before " + row_end +
           ", so that its zone and marks fit in the row" + skipped;
  }
  return what + " lies beyond the cell row: a record's position may be at most " + metres(r.limit) +
         ", 100 m before " + row_end + skipped;
}

std::string describe_22(const Recording& r) {
  if (r.posizione <= r.previous) {
    return at("station", r) + " comes after the station at " + metres(r.previous) +
           ": stations are written in ascending order of position, each zone starting at least "
           "350 m after the zone end of the station before it";
  }
  return at("station", r) + ": its zone starts at " + metres(r.value) +
         ", less than 350 m after the zone end of the station before it; it may start at " +
         metres(r.limit) + " at the earliest";
}

std::string describe_stop_after_15(const Recording& r) {
  return "record at " + metres(r.posizione) +
         ": parsing stops here because the error 15 recorded earlier still stands";
}

std::string describe_post_processing(const Recording& r) {
  const std::string cell = "cell " + std::to_string(r.cell) + " (" + metres(r.posizione) + ")";
  switch (r.numero) {
    case 11:
      return "signal in " + cell + ", within 1000 m before the warning board of the " +
             slowdown_of(r) + ": no free cell and no marker in the two cells in front of it";
    case 12:
      return slowdown_of(r) +
             ": none of the three cells of one of its look-back windows (250 to 350, 550 to 650 "
             "or 900 to 1000 m before its start, cell " +
             std::to_string(r.cell) + " at " + metres(r.posizione) +
             ") is free for an abbattimento marker";
    default:
      break;
  }
  const std::string none_free = slowdown_of(r) + ": no free cell for an abbattimento marker ";
  if (r.reason == Reason::signal_after_slowdown) {
    return none_free + "in front of the first signal after its end, near " + cell;
  }
  // The markers of a walk stand every 400 m from the start to the end.
  if (r.reason == Reason::none && r.has_slowdown && r.slowdown_end > r.slowdown_x) {
    return none_free + "near " + cell + ", one of those every 400 m along it, from its start to " +
           "its end at " + metres(r.slowdown_end);
  }
  return none_free + "near " + cell;
}

// The number's own explanation, before any reason.
std::string describe_number(const Recording& r) {
  switch (r.numero) {
    case 1:
      return "the route length is above 1000000 m";
    case 2:
      return "a kilometric reference is not on a multiple of 50 m";
    case 3:
      return "the start of the signal repetition is not a multiple of 50 m";
    case 4:
      return "the end of the signal repetition is not a multiple of 50 m";
    case 5:
      return "the signal-repetition keyword names neither 4 nor 9 codes";
    case 6:
      return at("indication board", r) + ": " + cell_taken(r);
    case 7:
      return at("abbattimento", r) + ": " + cell_taken(r);
    case 8:
      return at("station", r) + ": the position is not a multiple of 50 m";
    case 9:
      return at("station", r) + ": the length is not a multiple of 100 m";
    case 10:
      return "no entry left in the table that stations and indication-board texts share "
             "(entries 1 to 80)";
    case 11:
    case 12:
    case 13:
      return describe_post_processing(r);
    case 15:
      return describe_15(r);
    case 16:
      return at("signal", r) + ": " + cell_taken(r);
    case 17:
      return at("slowdown", r) + ": the warning board's " + cell_taken(r);
    case 18:
      return at("slowdown", r) + ": the start " + cell_taken(r);
    case 19:
      return at("slowdown", r) + ": the end " + cell_taken(r);
    case 20:
      return at("slowdown", r) + ": the countdown " + cell_taken(r);
    case 21:
      return at("speed-indicator board", r) + ": " + cell_taken(r);
    case 22:
      return describe_22(r);
    case 24:
      return "the station's zone ends at or before 100 m, leaving no cell for its mark";
    case 25:
      return describe_failure(r);
    case 101:
      return "the line source file does not exist";
    case 102:
      return "no field holds \"[generale]\" before the end of the file";
    case 103:
      return "curve or track plan error";
    default:
      return "error";
  }
}

// The objects the line file places; every other kind comes from the train file.
bool placed_by_line_file(uint8_t oggetto) {
  const ObjectKindRow* row = find_object_kind(oggetto);
  return row != nullptr && row->placed_by == PlacedBy::line_file;
}

// Whether a slowdown's record placed `p`: the post-processing pass's markers carry it.
bool placed_for_slowdown(const BuildContext& ctx, const Placement& p) {
  for (const SlowdownRecord& slowdown : ctx.trail.rallentamenti) {
    const SourceLocation& w = slowdown.where;
    if (w.file == p.where.file && w.line == p.where.line && w.column == p.where.column) {
      return true;
    }
  }
  return false;
}

// "a signal (dato1=41)", or the field alone when the cell names no object.
std::string header_content(const cella& header, const std::string& field) {
  if (header.oggetto == kNoObject) return "no object, yet " + field;
  return with_article(occupant_name(header.oggetto)) + " (" + field + ")";
}

}  // namespace

std::string occupant_name(uint8_t oggetto) {
  const ObjectKindRow* row = find_object_kind(oggetto);
  return row != nullptr ? std::string(row->noun) : object_kind_name(oggetto);
}

std::string with_article(const std::string& noun) {
  const bool vowel = !noun.empty() && std::string("aeiou").find(noun[0]) != std::string::npos;
  return (vowel ? "an " : "a ") + noun;
}

std::string placed_object(const BuildContext& ctx, const Placement& p) {
  const std::string position = metres(p.position);
  if (p.oggetto == kAbbattimento && placed_for_slowdown(ctx, p)) {
    return "an abbattimento marker of the slowdown at " + position;
  }
  const ObjectKindRow* row = find_object_kind(p.oggetto);
  if (row != nullptr && !row->placed.empty()) return std::string(row->placed) + " " + position;
  return "the " + occupant_name(p.oggetto) + " at " + position;
}

std::string placed_here(const BuildContext& ctx, const Placement& p) {
  return placed_object(ctx, p) + " placed here";
}

std::string describe(const Recording& r) {
  if (r.reason == Reason::earlier_15_stands) return describe_stop_after_15(r);
  std::string text = describe_number(r);
  if (r.numero == 15 || r.numero == 25) return text;
  const std::string reason = reason_text(r);
  if (!reason.empty()) text += ": " + reason;
  return text;
}

std::string format_diagnostic(const Recording& recording, const SourceFiles& sources) {
  std::string prefix;
  const SourceLocation& where = recording.where;
  if (where.file != SourceFile::none) {
    prefix = printable_native(sources.display_name(where.file)) + ":";
    if (where.line > 0) {
      prefix += std::to_string(where.line) + ":" + std::to_string(where.column) + ":";
    }
    prefix += " ";
  }
  return prefix + "error " + std::to_string(recording.numero) + ": " + describe(recording);
}

FatalExplanation explain_fatal(const BuildContext& ctx, int32_t numero) {
  if (!ctx.in_row(kHeaderCell)) return {SourceFile::none, cell_row_missing_reason(ctx), {}};
  const voce& entry = ctx.tabella[kEntryScenario];
  const bool codes = numero == 1251;
  const int32_t entry_value = codes ? entry.orario : entry.colonna7;
  if (entry_value != 0) {
    return {SourceFile::none,
            std::string("entry 85 of the station table, the header entry, ") + "already holds " +
                (codes ? "orario=" : "colonna7=") + std::to_string(entry_value),
            {}};
  }
  const cella& header = ctx.percorso[kHeaderCell];
  const Placement* holder = ctx.trail.placement_in(kHeaderCell);
  const SourceLocation where = holder != nullptr ? holder->where : SourceLocation{};
  const std::string field =
      codes ? "dato2=" + std::to_string(header.dato2) : "dato1=" + std::to_string(header.dato1);
  const std::string carries =
      codes ? "its dato2 carries the competition code"
            : "its dato1 carries the header value " + std::to_string(cell_layout::kHeaderValue);
  const SourceFile file = where.file != SourceFile::none        ? where.file
                          : placed_by_line_file(header.oggetto) ? SourceFile::line
                                                                : SourceFile::train;
  return {file,
          "cell 1 is the header cell and " + carries + ", but it already holds " +
              header_content(header, field) +
              ": an object at the very start of the route fills it; move that object "
              "further along the route",
          where};
}

std::string format_fatal_diagnostic(const BuildContext& ctx, int32_t numero,
                                    const SourceFiles& sources, std::string_view program) {
  const FatalExplanation fatal = explain_fatal(ctx, numero);
  std::string prefix = fatal.file == SourceFile::none
                           ? std::string(program)
                           : printable_native(sources.display_name(fatal.file));
  if (fatal.where.line > 0) {
    prefix += ":" + std::to_string(fatal.where.line) + ":" + std::to_string(fatal.where.column);
  }
  return prefix + ": error " + std::to_string(numero) + ": " + fatal.text +
         "; no compiled file was written";
}

std::string cell_row_missing_reason(const BuildContext& ctx) {
  if (ctx.has_cell_row()) return "the route length leaves no header cell (cell 1)";
  return "the parse stopped with error " + std::to_string(ctx.codice_errore) +
         " before a route length (\"lunghezza percorso\") gave the route its cell row";
}

}  // namespace scenario
