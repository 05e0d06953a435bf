#include "compiler/parse/record_checks.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <string>

#include "base/rounding.h"
#include "base/text_encoding.h"
#include "compiler/cells.h"
#include "compiler/diagnostics/diagnostics.h"

namespace scenario {
namespace {

std::string metres(int64_t p) { return std::to_string(p) + " m"; }

std::string at(const ParseSession& s, int64_t p) { return the(*s.kind()) + " at " + metres(p); }

int32_t route_length(const ParseSession& s) { return s.ctx.tabella[kEntryTrain].valore2; }

constexpr int32_t kLongestStretch = 5000;  // longer curves and slowdowns are seldom meant
constexpr double kDegreesPerRadian = 57.29577951308232;

// --- Positions ---

// A position off a multiple of 50 moves to the nearest one (half-way: to the even cell).
// `part` names a part of the record ("the end of "); the texts are made only for a warning.
void check_grid(ParseSession& s, int index, int64_t p, const char* part = "",
                bool profile = false) {
  if (on_cell_grid(p)) return;
  const std::string what = part + the(*s.kind());
  const int64_t nearest = nearest_grid_position(p);
  const int64_t below = grid_position_below(p);
  // An object at 0 m would stand in the header cell.
  const std::string choice =
      !profile && *part == '\0' && below == 0
          ? "write 50: an object at 0 m stands in cell 1, the header cell "
            "(error 1250)"
          : "write " + std::to_string(below) + " or " + std::to_string(below + kCellMetres);
  s.warn(WarningClass::off_grid, s.value_at(index),
         what + " at " + metres(p) + (profile ? " takes effect from " : " is placed at ") +
             metres(nearest) +
             ": cells are 50 m long, and a position off a multiple of 50 moves to the nearest "
             "one; " +
             choice);
}

// An object's position that reads as kilometres: below 1000 and off the 50 m
// grid (a position in metres near the start is mostly on it), on a route whose
// length in kilometres it does not pass.
bool check_kilometres(ParseSession& s, int index, int64_t p) {
  const int32_t length = route_length(s);
  if (p <= 0 || p >= 1000 || on_cell_grid(p) || p * 1000 > length) return false;
  s.warn(WarningClass::kilometres, s.value_at(index),
         at(s, p) + " lies at the very start of the route, which is " + metres(length) +
             " long: positions are in metres; if " + std::to_string(p) +
             " is in kilometres, write " + std::to_string(p * 1000));
  return true;
}

void check_on_route(ParseSession& s, int index, int64_t p, const char* part = "") {
  const int32_t length = route_length(s);
  if (length < 0 || (p >= 0 && p <= length)) return;
  const std::string what = part + the(*s.kind());
  if (p > length) {
    s.warn(WarningClass::beyond_route, s.value_at(index),
           what + " at " + metres(p) + " lies beyond the route's end at " + metres(length) +
               ": it is accepted because the cell row runs on 7000 m past the end, but it is "
               "off the route");
  } else if (p < 0) {
    s.warn(WarningClass::beyond_route, s.value_at(index),
           what + " at " + metres(p) + " lies before the route's start at 0 m");
  }
}

void check_position(ParseSession& s, int index, int64_t p, bool profile = false) {
  check_on_route(s, index, p);
  if (!profile && check_kilometres(s, index, p)) return;
  check_grid(s, index, p, "", profile);
}

// A curve or a slowdown far longer than any a line has: often its end,
// written where its length belongs.
void check_stretch_length(ParseSession& s, int32_t start, int32_t length, bool too_long,
                          const std::string& what) {
  if (!too_long) return;
  s.warn(WarningClass::implausible_length, s.value_at(s.kind()->id == RecordId::curve ? 1 : 2),
         what + "; " +
             (length > start ? "if " + metres(length) + " is where it ends, write its length, " +
                                   std::to_string(int64_t{length} - start)
                             : std::string("check its length")));
}

std::string clock_time(int32_t seconds) {
  const auto two = [](int32_t v) { return (v < 10 ? "0" : "") + std::to_string(v); };
  return std::to_string(seconds / 3600) + ":" + two(seconds / 60 % 60) + ":" + two(seconds % 60);
}

// Scheduled times rise along the route; one that falls by more than half a
// day is read as a time past midnight.
void check_schedule(ParseSession& s, const voce& e) {
  constexpr int32_t kHalfDay = 12 * 3600;
  if (e.orario == 0) {
    if (e.colonna13 == 0) return;
    s.warn(WarningClass::unscheduled_stop, s.value_at(12),
           "the station " + quote_text(e.testo) + " has a stop time of " +
               std::to_string(e.colonna13) +
               " s but no scheduled time (0, 0, 0): a stop carries the time the train leaves; "
               "write it as hours, minutes and seconds");
    return;
  }
  if (e.orario < 0) return;
  ScheduledStation& before = s.scheduled;
  if (before.seen && e.orario < before.orario && before.orario - e.orario < kHalfDay) {
    s.warn(WarningClass::schedule_order, s.value_at(13),
           "the station " + quote_text(e.testo) + " is scheduled at " + clock_time(e.orario) +
               ", earlier than the station " + quote_text(before.name) + " before it, at " +
               clock_time(before.orario) +
               ": scheduled times rise along the route (past midnight they start again from "
               "0:00:00); check the hours and minutes",
           {{before.where, "the station " + quote_text(before.name) + " at " +
                               metres(before.position) + " is scheduled here"}});
  }
  before = {true, e.orario, e.valore3, e.testo, s.record_location()};
}

// --- Profiles ---

Note earlier_record(const ProfileTrack& track, const std::string& what) {
  return {track.where, what + " at " + metres(track.position) + " is here"};
}

// A profile value holds from cell round(p / 50) to the next record's; `next`
// is the cell the fill has reached.
void check_profile_order(ParseSession& s, const ProfileTrack& track, int32_t p, int32_t next) {
  if (!track.seen || p > track.position) return;
  const int64_t k = cell_before(p);
  const int64_t from = k > 0 ? std::max<int64_t>(next + 1, k) : next;
  const std::string same = p == track.position
                               ? " repeats the position of the one before it, whose value still "
                                 "fills one cell,"
                               : " comes after one at " + metres(track.position) +
                                     ": a profile is written in ascending order of position,";
  s.warn(WarningClass::out_of_order, s.value_at(0),
         at(s, p) + same + " and this value takes effect only from " + metres(cell_end(from)),
         {earlier_record(track, the(*s.kind()))});
}

void check_profile_start(ParseSession& s, const ProfileTrack& track, int32_t p, const char* zero) {
  if (track.seen || cell_before(p) <= 0) return;
  s.warn(WarningClass::profile_start, s.value_at(0),
         "the first '" + std::string(s.kind()->spellings[0]) + "' record is at " + metres(p) +
             ", so the cells before it keep " + std::string(zero) +
             "; write the first one at position 0");
}

void track(ProfileTrack& track, const ParseSession& s, int32_t p, int32_t value) {
  track = {true, p, value, s.record_location()};
}

// --- Values the files cannot hold ---

void not_stored(ParseSession& s, int index, const std::string& message) {
  s.warn(WarningClass::value_not_stored, s.value_at(index), message);
}

void check_single_digit(ParseSession& s, int index, int32_t value, const char* packing) {
  if (value >= 0 && value <= 9) return;
  not_stored(s, index,
             "the signal's " + std::string(s.kind()->values[index]) + " is " +
                 std::to_string(value) + ", but the cell keeps " + packing +
                 " in one number, so each code is a single digit, 0 to 9");
}

void check_text_encoding(ParseSession& s, int index, const std::string& text, const char* what) {
  bool high = false;
  for (char c : text) high = high || static_cast<unsigned char>(c) >= 0x80;
  if (!high || !is_utf8(text)) return;
  s.warn(WarningClass::encoding, s.value_at(index),
         std::string(what) + " " + quote_text(text) +
             " is saved as UTF-8, but the compiled files hold Windows-1252 text, one byte a "
             "letter, so the simulator shows " +
             quote_text(utf8_from_1252(text)) +
             "; save the source file in the Windows-1252 (Western European) encoding");
}

void check_length(ParseSession& s, int index, int32_t length, const char* consequence) {
  if (length >= 0) return;
  s.warn(WarningClass::negative_length, s.value_at(index),
         the(*s.kind()) + " has a negative length, " + metres(length) + ": " + consequence);
}

// The speed pair of a speed-indicator board: (left / 5) x 100 + right / 5 in one number.
void check_board_speeds(ParseSession& s, int left_index, int32_t left, int32_t right) {
  const double packed = round_half_even(int64_t{left} * 20 + right / 5.0);
  if (packed < -32768 || packed > 32767) return;  // the stamper fails on it
  const auto dato = static_cast<int64_t>(packed);
  const int64_t left_read = dato / 100 * 5;
  const int64_t right_read = dato % 100 * 5;
  if (left_read == left && right_read == right) return;
  const bool rounded = left % 5 != 0 || right % 5 != 0;
  const std::string_view left_name = s.kind()->values[left_index];
  const std::string_view right_name = s.kind()->values[left_index + 4];
  s.warn(rounded ? WarningClass::speed_rounded : WarningClass::value_not_stored,
         s.value_at(left_index),
         "the board keeps " + std::string(left_name) + " and " + std::string(right_name) +
             " as one number, (" + std::string(left_name) + " / 5) x 100 + " +
             std::string(right_name) + " / 5: " + std::to_string(left) + " and " +
             std::to_string(right) + " km/h are stored as " + std::to_string(dato) +
             ", which reads as " + std::to_string(left_read) + " and " +
             std::to_string(right_read) +
             " km/h; write speeds in steps of 5 km/h, the right one below 500");
}

}  // namespace

// --- Line file ---

void check_route_length(ParseSession& s, int32_t length) {
  if (length >= 0) return;
  s.warn(WarningClass::negative_length, s.value_at(0),
         "the route length is negative, " + metres(length) + ": the cell row then ends " +
             metres(int64_t{length} + kRowBeyondEnd) +
             " past the start; write the route's length in metres");
}

void check_gradient(ParseSession& s, int32_t p, int32_t g) {
  check_position(s, 0, p, true);
  check_profile_order(s, s.gradients, p, s.cella_pendenza);
  if (g < -100 || g > 155) {
    const int stored = low8(int64_t{g} + 100) - 100;
    not_stored(s, 1,
               "a gradient of " + std::to_string(g) + " per mille is stored as " +
                   std::to_string(stored) +
                   ": a cell holds the gradient plus 100 in one byte, so it ranges from -100 "
                   "to 155 per mille");
  }
  track(s.gradients, s, p, g);
}

// Any letter "s" in a curve's keyword turns it left, so a right curve whose
// side is spelt out ("curva destra 2") turns left.
void check_curve_side(ParseSession& s, double c) {
  if (c >= 0 || !(s.has("destr") || s.has("curvad"))) return;
  const size_t digit = s.riga.find_first_of("123456");
  const std::string right = "curvad" + s.riga.substr(digit, 1);
  s.warn(WarningClass::curve_side, s.record_location(),
         quote_text(s.riga) +
             " is read as a left curve: any letter 's' in a curve's keyword turns it left, and "
             "this keyword holds one; for a right curve write \"" +
             right + "\", with no 's'");
}

void check_curve(ParseSession& s, int32_t a, int32_t b, double c) {
  check_curve_side(s, c);
  check_on_route(s, 0, a);
  check_length(s, 1, b, "it turns no metre of the track");
  const double degrees = round_half_even(std::abs(c) * b * kDegreesPerRadian);
  check_stretch_length(s, a, b, b > kLongestStretch || degrees > 180,
                       "the curve from " + metres(a) + " is " + metres(b) +
                           " long and turns through " + std::to_string(int64_t(degrees)) +
                           " degrees: a curve longer than " + metres(kLongestStretch) +
                           " or turning through more than a half circle is seldom meant");
  const ProfileTrack& before = s.curves;
  // The curve that ends furthest along, which every later curve must start after.
  const ProfileTrack& reach = s.curve_reach;
  const int64_t end = int64_t{a} + b;
  if (before.seen && a < before.position) {
    s.warn(WarningClass::out_of_order, s.value_at(0),
           at(s, a) + " comes after one at " + metres(before.position) +
               ": curves are written in ascending order of start, and the track plan, traced "
               "metre by metre, turns only the metres of this curve after " +
               metres(s.metro - 1),
           {earlier_record(before, "the curve")});
  } else if (reach.seen && a < reach.value) {
    const std::string inside =
        end <= reach.value
            ? " lies wholly inside the curve from " + metres(reach.position) + ", which ends at " +
                  metres(reach.value) +
                  ": the track plan has turned those metres already, so this curve turns none"
            : " begins before the curve from " + metres(reach.position) + " ends, at " +
                  metres(reach.value) + ": the metres they share keep that curve's turn";
    s.warn(WarningClass::overlap, s.value_at(0), at(s, a) + inside + "; curves may not overlap",
           {earlier_record(reach, "the curve")});
  }
  track(s.curves, s, a, b);
  if (!reach.seen || end > reach.value) {
    s.curve_reach = {true, a, static_cast<int32_t>(std::min<int64_t>(end, INT32_MAX)),
                     s.record_location()};
  }
}

void check_mountain(ParseSession& s, int32_t inizio, int32_t fine) {
  check_position(s, 0, inizio);
  check_grid(s, 1, fine, "the end of ");
  const ProfileTrack& before = s.mountains;
  if (fine <= inizio) {
    s.warn(WarningClass::out_of_order, s.value_at(1),
           the(*s.kind()) + " from " + metres(inizio) + " ends at " + metres(fine) +
               ", where it begins or before: it covers no cell");
  } else if (before.seen && inizio < before.value) {
    const bool backwards = inizio < before.position;
    s.warn(backwards ? WarningClass::out_of_order : WarningClass::overlap, s.value_at(0),
           the(*s.kind()) + " from " + metres(inizio) +
               (backwards ? " comes after one from " + metres(before.position)
                          : " begins before the one from " + metres(before.position) +
                                " ends, at " + metres(before.value)) +
               ": a stretch that begins 150 m or less after the previous one's end is made "
               "type 3, and so is this one",
           {earlier_record(before, "the mountain stretch from")});
  }
  track(s.mountains, s, inizio, fine);
  s.ctx.trail.read.mountains.push_back({inizio, fine, s.record_location(), inizio});
}

void check_speed_board(ParseSession& s, const SpeedBoardValues& b) {
  check_position(s, 0, b.posizione);
  // A side with no stripes is where its limit takes effect.
  int32_t highest = 0;
  if (b.strisces == 0) highest = std::max({highest, b.vas, b.vbs, b.vcs});
  if (b.strisced == 0) highest = std::max({highest, b.vad, b.vbd, b.vcd});
  if (highest > 0) s.ctx.trail.read.boards.push_back({b.posizione, highest, s.record_location()});
  check_board_speeds(s, 1, b.vas, b.vad);
  check_board_speeds(s, 2, b.vbs, b.vbd);
  check_board_speeds(s, 3, b.vcs, b.vcd);
  for (const auto& [index, stripes] : {std::pair{4, b.strisces}, std::pair{8, b.strisced}}) {
    if (stripes >= 0 && stripes <= 9) continue;
    not_stored(s, index,
               "the board keeps strisces x 10 + strisced in one number, so " +
                   std::string(s.kind()->values[index]) + " " + std::to_string(stripes) +
                   " does not stay apart from the other side's; stripes are 0, 1 or 2");
  }
}

void check_indication_board(ParseSession& s, int32_t p, const std::string& text) {
  check_position(s, 0, p);
  check_text_encoding(s, 1, text, "the board text");
}

// --- Train file ---

void check_speed(ParseSession& s, int32_t p, int32_t v) {
  check_position(s, 0, p, true);
  check_profile_order(s, s.speeds, p, s.cella_velocita);
  check_profile_start(s, s.speeds, p, "speed limit 0");
  if (v % 5 != 0 && v >= 0 && v <= 1275) {
    s.warn(WarningClass::speed_rounded, s.value_at(1),
           "a speed limit of " + std::to_string(v) + " km/h is stored as " +
               std::to_string(static_cast<int64_t>(round_half_even(v / 5.0)) * 5) +
               " km/h: a cell holds the speed divided by 5, rounded; write a multiple of 5");
  }
  track(s.speeds, s, p, v);
  s.ctx.trail.read.speed_limits.push_back({p, v, s.record_location()});
}

void check_adhesion(ParseSession& s, int32_t p, int32_t a) {
  check_position(s, 0, p, true);
  check_profile_order(s, s.adhesions, p, s.cella_aderenza);
  check_profile_start(s, s.adhesions, p, "adhesion 0");
  if (a < 0 || a > 255) {
    not_stored(s, 1,
               "an adhesion of " + std::to_string(a) + " is stored as " + std::to_string(low8(a)) +
                   ": a cell holds it in one byte, 0 to 255");
  }
  track(s.adhesions, s, p, a);
}

void check_signal(ParseSession& s, const SignalValues& v) {
  check_position(s, 0, v.posizione);
  for (const auto& [index, side] : {std::pair{1, v.sx}, std::pair{6, v.dx}}) {
    if (side >= 0 && side <= 2) continue;
    not_stored(s, index,
               "the signal's " + std::string(s.kind()->values[index]) + " is " +
                   std::to_string(side) +
                   ", but the cell keeps rapp x 10 + sx x 3 + dx in one number, so a side's "
                   "kind is 0, 1 or 2");
  }
  check_single_digit(s, 5, v.rapp, "rapp x 10 + sx x 3 + dx");
  check_single_digit(s, 2, v.s1, "s1 x 10 + d1");
  check_single_digit(s, 3, v.s2, "s2 x 10 + d2");
  check_single_digit(s, 4, v.s3, "s3 x 10 + d3");
  check_single_digit(s, 7, v.d1, "s1 x 10 + d1");
  check_single_digit(s, 8, v.d2, "s2 x 10 + d2");
  check_single_digit(s, 9, v.d3, "s3 x 10 + d3");
  const int32_t tempo = v.tempo >= 1 && v.tempo <= 100 ? 101 : v.tempo;
  if (v.sx == 2 && (tempo < 0 || tempo > 255)) {
    not_stored(s, 10,
               "a time of " + std::to_string(v.tempo) + " s is stored as " +
                   std::to_string(low8(tempo)) + ": the cell keeps it in one byte, at most 255");
  }
}

void check_slowdown(ParseSession& s, const SlowdownValues& v) {
  const int64_t end = int64_t{v.x} + v.l;
  check_on_route(s, 0, v.x);
  if (v.x <= route_length(s)) check_on_route(s, 2, end, "the end of ");
  if (!check_kilometres(s, 0, v.x)) {
    check_grid(s, 0, v.x);
    if (on_cell_grid(v.x)) check_grid(s, 2, end, "the end of ");
  }
  check_length(s, 2, v.l, "its end comes before its start");
  check_stretch_length(s, v.x, v.l, v.l > kLongestStretch,
                       at(s, v.x) + " is " + metres(v.l) + " long, to " + metres(end) +
                           ": a slowdown longer than " + metres(kLongestStretch) +
                           " is seldom meant");
  s.ctx.trail.read.slowdowns.push_back(
      {v.x, static_cast<int32_t>(std::clamp<int64_t>(end, INT32_MIN, INT32_MAX)),
       s.record_location(), v.x});
}

void check_abbattimento(ParseSession& s, int32_t p, int32_t a) {
  check_position(s, 0, p);
  if (a > 32767) {
    not_stored(s, 1,
               "a value of " + std::to_string(a) + " is stored as " + std::to_string(low16(a)) +
                   ": the cell keeps it in 16 bits, at most 32767");
  }
}

void check_station(ParseSession& s, const voce& e, int32_t length) {
  check_on_route(s, 0, e.valore3);
  check_length(s, 2, length, "its zone runs backwards");
  check_text_encoding(s, 16, e.testo, "the name");
  check_schedule(s, e);
}

void note_station(ParseSession& s, const voce& e) {
  s.ctx.trail.read.stations.push_back(
      {e.valore1, e.valore2, s.record_location(), e.valore3, s.indice_stazione});
}

void check_train_profiles(ParseSession& s) {
  const SourceLocation file{SourceFile::train, 0, 0};
  if (!s.saw_general_part) {
    const std::string nothing_read =
        "none of its records is read: every cell keeps speed limit 0 and adhesion 0, and the "
        "scenario has no station and no signal";
    if (s.generale_near) {
      s.warn(WarningClass::misspelt_header, s.generale_near->where,
             quote_text(s.generale_near->text) +
                 " is not \"[generale]\": a train file is read from its \"[generale]\" on, and "
                 "this one has none, so " +
                 nothing_read + "; did you mean \"[generale]\"?");
    } else if (!s.train_has_fields) {
      s.warn(WarningClass::profile_start, {SourceFile::train, 1, 1},
             "the train file is empty, so " + nothing_read +
                 "; a train file starts with the line \"[generale]\"");
    } else {
      s.warn(WarningClass::profile_start, {SourceFile::train, 1, 1},
             "the train file has no \"[generale]\", so " + nothing_read +
                 "; a train file's records follow a line \"[generale]\"");
    }
    return;
  }
  if (!s.speeds.seen) {
    s.warn(WarningClass::profile_start, file,
           "the train file has no speed-limit record ('velocita'), so every cell keeps speed "
           "limit 0");
  }
  if (!s.adhesions.seen) {
    s.warn(WarningClass::profile_start, file,
           "the train file has no adhesion record ('aderenza'), so every cell keeps adhesion 0");
  }
}

// --- Cells and marks taken from other objects ---

std::vector<TunnelLight> tunnel_lights_in(const BuildContext& ctx,
                                          std::initializer_list<int64_t> cells) {
  std::vector<TunnelLight> lights;
  for (int64_t c : cells) {
    if (!ctx.in_row(c) || ctx.percorso[c].oggetto != kTunnelLight) continue;
    const Placement* placed = ctx.trail.placement_in(c);
    lights.push_back({c, placed != nullptr ? *placed : Placement{}});
  }
  return lights;
}

void warn_replaced_tunnel_lights(ParseSession& s, const std::vector<TunnelLight>& lights) {
  for (const TunnelLight& light : lights) {
    const uint8_t now = s.ctx.percorso[light.cell].oggetto;
    if (now == kTunnelLight) continue;
    const std::string object = occupant_name(now);
    const std::string what =
        at(s, s.record_position()) +
        (object == s.kind()->words ? " goes" : " puts " + with_article(object));
    s.warn(WarningClass::overwrite, s.record_location(),
           what + " into cell " + std::to_string(light.cell) +
               ", where it replaces a tunnel light of the mountain stretch from " +
               metres(light.placed.position) +
               ": move it to a cell of the tunnel that holds no light",
           {{light.placed.where, placed_here(s.ctx, light.placed)}});
  }
}

namespace {

void warn_marks_lost(ParseSession& s, const MarkOwner& by, const std::string& self,
                     const std::vector<MarksLost>& lost) {
  for (const MarksLost& l : lost) {
    if (!approach_damaged(l, by)) continue;
    const std::string taken = "the approach marks of " + self + " replace " +
                              std::to_string(l.count) + " of the 4 that announce ";
    const std::string message =
        l.owner->station
            ? taken + "the stop of " + l.owner->what +
                  ": a signal that stands before a station's stop mark takes the cells that "
                  "announce the stop; move it beyond the stop mark, or 150 m or more before it"
            : taken + l.owner->what +
                  ": the cells 100 to 400 m before a signal announce it; keep it further from "
                  "the other objects that set approach marks";
    s.warn(WarningClass::overwrite, s.record_location(), message,
           {{l.owner->where, l.owner->what + " sets its approach marks here"}});
  }
}

}  // namespace

void note_signal_marks(ParseSession& s, const SignalValues& v) {
  const int64_t c = cell_of(v.posizione);
  const int64_t cells[] = {c - 2, c - 4, c - 6, c - 8};
  const MarkOwner self{s.record_location(), "the signal at " + metres(v.posizione), false, c};
  warn_marks_lost(s, self, "this signal", s.marks.set(self, cells, s.ctx.percorso.size()));
}

void note_station_marks(ParseSession& s, const voce& e, double mark) {
  std::vector<int64_t> cells;
  for (int i = 1; i <= 4; ++i) {
    if (mark - i > 1) cells.push_back(static_cast<int64_t>(round_half_even(mark - i)));
  }
  const MarkOwner self{s.record_location(),
                       "the station " + quote_text(e.testo) + " at " + metres(e.valore3), true,
                       static_cast<int64_t>(round_half_even(mark))};
  warn_marks_lost(s, self, "this station", s.marks.set(self, cells, s.ctx.percorso.size()));
}

namespace {

// "its start": the part of a slowdown an object of kind `oggetto` is; empty for another kind.
std::string slowdown_part(uint8_t oggetto) {
  switch (oggetto) {
    case kSlowdownStart:
      return "its start";
    case kSlowdownEnd:
      return "its end";
    case kSlowdownWarning:
      return "its warning board";
    case kCountdownMarker:
      return "a countdown marker";
    default:
      return "";
  }
}

// A slowdown written before a station loses the object in the cell the
// station's stop mark takes: told at the slowdown, which vanishes from the cells.
void warn_slowdown_lost(ParseSession& s, const voce& e, int64_t c, uint8_t held,
                        const Placement& placed) {
  const std::string effect =
      held == kSlowdownStart
          ? ": the cells then hold no start for it, so it is no slowdown to the simulator, and "
            "no marker is placed around it"
      : held == kSlowdownEnd ? ": the markers along it then run on to the end of the cell row"
                             : "";
  // Told at the slowdown's line, which the warnings after it follow.
  record_warning_in_order(
      s.ctx.trail, {WarningClass::slowdown_overlap,
                    placed.where,
                    "the slowdown at " + metres(placed.position) + " loses " + slowdown_part(held) +
                        " in cell " + std::to_string(c) + " to the stop mark of the station " +
                        quote_text(e.testo) + " at " + metres(e.valore3) +
                        ", which is written after it and takes its cell whatever it holds" +
                        effect + "; move the slowdown or the station",
                    {{s.record_location(), "the station " + quote_text(e.testo) + " is here"}}});
  for (StretchRead& slowdown : s.ctx.trail.read.slowdowns) {
    const SourceLocation& w = slowdown.where;
    if (w.file == placed.where.file && w.line == placed.where.line &&
        w.column == placed.where.column) {
      slowdown.told = true;
    }
  }
}

}  // namespace

void check_stop_mark_cell(ParseSession& s, const voce& e, int64_t c) {
  const uint8_t held = s.ctx.percorso[c].oggetto;
  if (held == kNoObject) return;
  const Placement* placed = s.ctx.trail.placement_in(c);
  if (placed != nullptr && !slowdown_part(held).empty()) {
    warn_slowdown_lost(s, e, c, held, *placed);
    return;
  }
  std::vector<Note> notes;
  if (placed != nullptr) notes.push_back({placed->where, placed_here(s.ctx, *placed)});
  s.warn(WarningClass::overwrite, s.record_location(),
         "the stop mark of the station " + quote_text(e.testo) + " goes into cell " +
             std::to_string(c) + ", near its zone's end at " + metres(e.valore2) +
             ", and replaces " + with_article(occupant_name(held)) +
             " there: a stop mark takes its cell whatever it holds",
         std::move(notes));
}

}  // namespace scenario
