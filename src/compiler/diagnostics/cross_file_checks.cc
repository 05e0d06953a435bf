#include "compiler/diagnostics/cross_file_checks.h"

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "compiler/diagnostics/warnings.h"

namespace scenario {
namespace {

// How far past a board the train's limit may still come down to it: the
// built-in train lowers its limit up to 1250 m past the boards that lower theirs.
constexpr int32_t kBoardReach = 1500;
// "Most positions": more than half of a file's, and at least this many.
constexpr int32_t kFewestBeyond = 3;

std::string metres(int64_t p) { return std::to_string(p) + " m"; }

int32_t route_length(const BuildContext& ctx) { return ctx.tabella[kEntryTrain].valore2; }

// "52 km", "52.5 km"; below a kilometre in metres.
std::string in_kilometres(int32_t length) {
  if (length < 1000) return metres(length);
  std::string text = std::to_string(length / 1000);
  if (length % 1000 != 0) {
    std::string fraction = std::to_string(1000 + length % 1000).substr(1);
    while (fraction.back() == '0') fraction.pop_back();
    text += "." + fraction;
  }
  return text + " km";
}

void warn(BuildContext& ctx, WarningClass kind, SourceLocation where, std::string message,
          std::vector<Note> notes = {}) {
  record_warning_in_order(ctx.trail, Warning{kind, where, std::move(message), std::move(notes)});
}

std::string station_name(const BuildContext& ctx, const StretchRead& station) {
  return "the station " + quote_text(ctx.tabella[static_cast<size_t>(station.entry)].testo);
}

std::string from_to(const StretchRead& s) { return metres(s.from) + " to " + metres(s.to); }

template <typename T>
std::vector<T> by_position(const std::vector<T>& records) {
  std::vector<T> sorted = records;
  std::stable_sort(sorted.begin(), sorted.end(),
                   [](const T& a, const T& b) { return a.position < b.position; });
  return sorted;
}

// --- Speed limits against the boards ---

// The category of the train is not in the sources, so a limit is set against
// the highest speed a board shows for any category: a train's limit above it
// is above its own category's speed, whatever that category is. The limit in
// force at a board must come down to it within kBoardReach past the board.
void check_board_speeds(BuildContext& ctx) {
  const std::vector<BoardRead> boards = by_position(ctx.trail.read.boards);
  const std::vector<SpeedLimitRead> limits = by_position(ctx.trail.read.speed_limits);
  std::vector<bool> told(limits.size(), false);
  size_t next = 0;  // the first limit beyond the board
  for (const BoardRead& board : boards) {
    while (next < limits.size() && limits[next].position <= board.position) ++next;
    if (next == 0) continue;  // no limit is in force at the board
    const size_t in_force = next - 1;
    int32_t lowest = limits[in_force].speed;
    for (size_t j = next;
         j < limits.size() && int64_t{limits[j].position} <= int64_t{board.position} + kBoardReach;
         ++j) {
      lowest = std::min(lowest, limits[j].speed);
    }
    if (lowest <= board.highest || told[in_force]) continue;
    told[in_force] = true;
    const SpeedLimitRead& limit = limits[in_force];
    warn(ctx, WarningClass::board_speed, limit.where,
         "the speed limit of " + std::to_string(limit.speed) + " km/h from " +
             metres(limit.position) +
             " is above every category's speed on the speed-indicator board at " +
             metres(board.position) + " (" + std::to_string(board.highest) +
             " km/h at most), and the limit does not come down to it within " +
             metres(kBoardReach) +
             " past the board: a train runs at most at its category's speed; lower the limit, or "
             "check the board's speeds",
         {{board.where, "the speed-indicator board at " + metres(board.position) + " is here"}});
  }
}

// --- Stations against mountain stretches ---

void check_stations_in_mountains(BuildContext& ctx) {
  const RecordsRead& read = ctx.trail.read;
  for (const StretchRead& station : read.stations) {
    for (const StretchRead& mountain : read.mountains) {
      if (mountain.from >= mountain.to || station.from < mountain.from ||
          station.to > mountain.to) {
        continue;
      }
      warn(ctx, WarningClass::station_in_mountain, station.where,
           "the zone of " + station_name(ctx, station) + ", " + from_to(station) +
               ", lies inside the mountain stretch from " + from_to(mountain) +
               ": a station in a tunnel is seldom meant; check the station's position and the "
               "stretch",
           {{mountain.where, "the mountain stretch from " + metres(mountain.from) + " is here"}});
      break;
    }
  }
}

// --- Slowdowns against stations and one another ---

bool overlap(const StretchRead& a, const StretchRead& b) { return a.from < b.to && b.from < a.to; }

void check_slowdowns(BuildContext& ctx) {
  const RecordsRead& read = ctx.trail.read;
  for (size_t i = 0; i < read.slowdowns.size(); ++i) {
    const StretchRead& slowdown = read.slowdowns[i];
    if (slowdown.told || slowdown.to < slowdown.from) continue;
    const std::string what = "the slowdown from " + from_to(slowdown);
    for (size_t j = 0; j < i; ++j) {
      const StretchRead& earlier = read.slowdowns[j];
      if (earlier.to < earlier.from || !overlap(slowdown, earlier)) continue;
      warn(ctx, WarningClass::slowdown_overlap, slowdown.where,
           what + " overlaps the slowdown from " + from_to(earlier) +
               ": their boards, markers and speeds fall on the same track; join them into one "
               "slowdown, or check the lengths",
           {{earlier.where, "the slowdown at " + metres(earlier.position) + " is here"}});
      break;
    }
    for (const StretchRead& station : read.stations) {
      if (!overlap(slowdown, station)) continue;
      warn(ctx, WarningClass::slowdown_overlap, slowdown.where,
           what + " covers the zone of " + station_name(ctx, station) + ", " + from_to(station) +
               ": its objects and markers then compete for cells with the station's stop mark, "
               "which takes its cell whatever it holds; a slowdown over a station is seldom "
               "meant, so check its start and length",
           {{station.where, station_name(ctx, station) + " is here"}});
      break;
    }
  }
}

// --- A file written for another line ---

size_t fold_errors_15(BuildContext& ctx, SourceFile file) {
  return std::erase_if(ctx.trail.recordings, [file](const Recording& r) {
    return r.numero == 15 && r.after_stop && r.where.file == file;
  });
}

bool has_error_in(const BuildContext& ctx, SourceFile file) {
  return std::any_of(ctx.trail.recordings.begin(), ctx.trail.recordings.end(),
                     [file](const Recording& r) { return r.where.file == file; });
}

// Whether most of the file's positions lie beyond the route's end. A compile
// reads no further than an error in the file, so it tells only of a file read whole.
bool mostly_beyond(const BuildContext& ctx, const PositionsRead& p, SourceFile file,
                   bool read_past_errors) {
  if (p.beyond_route < kFewestBeyond || int64_t{p.beyond_route} * 2 <= p.count) return false;
  return read_past_errors || !has_error_in(ctx, file);
}

std::string how_many(const PositionsRead& p, const std::string& end, size_t folded) {
  std::string text = std::to_string(p.beyond_route) + " of the " + std::to_string(p.count) +
                     " records with a position lie beyond " + end + ", the first of them here";
  if (folded > 0) {
    text += "; the errors 15 of the " + std::to_string(folded) +
            " after it that lie beyond the cell row are not listed";
  }
  return text;
}

void check_other_line(BuildContext& ctx, bool read_past_errors) {
  const RecordsRead& read = ctx.trail.read;
  const int32_t length = route_length(ctx);
  const bool line_beyond =
      mostly_beyond(ctx, read.line_positions, SourceFile::line, read_past_errors);
  if (line_beyond) {
    const size_t folded = read_past_errors ? fold_errors_15(ctx, SourceFile::line) : 0;
    warn(ctx, WarningClass::other_line, read.line_positions.first_beyond_where,
         "most positions lie beyond this route's end at " + metres(length) +
             ": is the route length right? " +
             how_many(read.line_positions, "the route's end", folded),
         {{read.route_length_where, "the route length is here"}});
  }
  if (!mostly_beyond(ctx, read.train_positions, SourceFile::train, read_past_errors)) return;
  const size_t folded = read_past_errors ? fold_errors_15(ctx, SourceFile::train) : 0;
  const std::string question = line_beyond
                                   ? ", as do most of the line file's: is the route length right? "
                                   : ": is this the train file of another line? ";
  warn(ctx, WarningClass::other_line, read.train_positions.first_beyond_where,
       "most positions lie beyond this line's " + in_kilometres(length) + question +
           how_many(read.train_positions, "the route's end at " + metres(length), folded));
}

}  // namespace

void check_across_files(BuildContext& ctx, bool read_past_errors) {
  if (!ctx.has_cell_row()) return;
  check_board_speeds(ctx);
  check_stations_in_mountains(ctx);
  check_slowdowns(ctx);
  check_other_line(ctx, read_past_errors);
}

bool judged_across_files(WarningClass kind) {
  return kind == WarningClass::board_speed || kind == WarningClass::station_in_mountain ||
         kind == WarningClass::slowdown_overlap || kind == WarningClass::other_line;
}

}  // namespace scenario
