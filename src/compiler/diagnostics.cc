#include "compiler/diagnostics.h"

#include <string>

#include "compiler/cell_text.h"

namespace scenario {
namespace {

std::string metres(int32_t position) { return std::to_string(position) + " m"; }

std::string with_article(const std::string& noun) {
  const bool vowel = !noun.empty() && std::string("aeiou").find(noun[0]) != std::string::npos;
  return (vowel ? "an " : "a ") + noun;
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

std::string with_reason(std::string text, const Recording& r) {
  if (!r.reason.empty()) text += ": " + r.reason;
  return text;
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
      return with_reason(slowdown_of(r) + ": no free cell for an abbattimento marker near " + cell,
                         r);
  }
}

}  // namespace

std::string occupant_name(uint8_t oggetto) {
  return oggetto == kSpeedBoard ? "speed-indicator board" : object_kind_name(oggetto);
}

std::string describe(const Recording& r) {
  if (r.carried_over) return describe_stop_after_15(r);
  switch (r.numero) {
    case 1:
      return with_reason("the route length is above 1000000 m", r);
    case 2:
      return with_reason("a kilometric reference is not on a multiple of 50 m", r);
    case 3:
      return with_reason("the start of the signal repetition is not a multiple of 50 m", r);
    case 4:
      return with_reason("the end of the signal repetition is not a multiple of 50 m", r);
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
      return with_reason(
          "no entry left in the table that stations and indication-board texts "
          "share (entries 1 to 80)",
          r);
    case 11:
    case 12:
    case 13:
      return describe_post_processing(r);
    case 15:
      return with_reason(metres(r.posizione) +
                             " lies beyond the cell row; the rest of this file "
                             "is skipped",
                         r);
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
      return at("station", r) +
             ": its zone starts less than 350 m after the zone end of the station before it";
    case 24:
      return "the station's zone ends at or before 100 m, leaving no cell for its mark";
    case 25:
      return with_reason("run-time failure", r);
    case 101:
      return "the line source file does not exist";
    case 102:
      return "no field holds \"[generale]\" before the end of the file";
    case 103:
      return with_reason("curve or track plan error", r);
    default:
      return with_reason("error", r);
  }
}

std::string format_diagnostic(const Recording& recording, const SourceFiles& sources) {
  std::string prefix;
  const SourceLocation& where = recording.where;
  if (where.file != SourceFile::none) {
    prefix = sources.display_name(where.file) + ":";
    if (where.line > 0) {
      prefix += std::to_string(where.line) + ":" + std::to_string(where.column) + ":";
    }
    prefix += " ";
  }
  return prefix + "error " + std::to_string(recording.numero) + ": " + describe(recording);
}

std::string cell_row_missing_reason(const BuildContext& ctx) {
  if (ctx.has_cell_row()) return "the route length leaves no header cell (cell 1)";
  return "the parse stopped with error " + std::to_string(ctx.codice_errore) +
         " before a route length (\"lunghezza percorso\") gave the route its cell row";
}

}  // namespace scenario
