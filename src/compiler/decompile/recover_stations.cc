// The stations from their entries of the station table, 1 up, each checked
// against the zone and the stop mark its record gives. The length, not kept,
// follows from the zone; values 5 and 6, cleared for some stations, are
// written as 0 where the compile cleared them.
#include <cstdint>
#include <string>

#include "base/run_time_failure.h"
#include "compiler/cells.h"
#include "compiler/decompile/recovery.h"
#include "compiler/decompile/table_fields.h"
#include "compiler/decompile/writable_text.h"

namespace scenario {
namespace {

constexpr int32_t kMarkedStationKinds = 25;  // kinds below this get a stop mark
constexpr int32_t kShortStation = 600;       // shorter stations keep no value 5
constexpr int64_t kZoneSpacing = 350;        // metres between one zone's end and the next start
constexpr int64_t kEndExtension = 50;        // a nonzero value 6 moves the zone end this far

bool is_empty(const voce& e) {
  return e.genere == 0 && e.valore2 == 0 && e.valore3 == 0 && e.valore1 == 0;
}

std::string str(int64_t v) { return std::to_string(v); }

// The length and value 6 of a station from its zone; throws when the zone is
// not one the station's type gives.
void zone_values(const Recovery& r, int index, const voce& e, StationRecord& s) {
  const int64_t p = e.valore3;
  const int64_t start = e.valore1;
  const int64_t end = e.valore2;
  int64_t length = 0;
  int64_t expected_end = 0;
  int32_t value6 = e.colonna6;
  if (e.genere == 5 || e.genere == 6 || e.genere == 7 || e.genere == 8) {
    length = p - start;
    expected_end = e.genere <= 6 ? p + 150 : p + length;
    if (e.colonna6 != 0)
      r.fail_at_entry(index, "colonna6 holds " + str(e.colonna6) +
                                 ", which the compile clears for a station "
                                 "of type 5 to 8");
  } else {
    length = 2 * (p - start);
    const int64_t extension = end - (p + length / 2);
    // The first station's value 6 is cleared after its zone is computed.
    if (index == 1 && extension == kEndExtension) value6 = 1;
    expected_end = p + length / 2 + (value6 != 0 ? kEndExtension : 0);
  }
  if (end != expected_end) {
    r.fail_at_entry(index, "the zone " + str(start) + " to " + str(end) + " m is not one a type-" +
                               str(e.genere) + " station at " + str(p) + " m has");
  }
  if (length % 100 != 0) {
    r.fail_at_entry(index, "a station " + str(length) +
                               " m long, where a station's length is a multiple of 100");
  }
  if ((length < kShortStation || index == 1) && e.colonna5 != 0) {
    r.fail_at_entry(index, "colonna5 holds " + str(e.colonna5) +
                               ", which the compile clears for the first station and for one "
                               "shorter than 600 m");
  }
  s.length = static_cast<int32_t>(length);
  s.codes[2] = value6;
}

// The stop mark of a station below type 25, in the cell before its zone's end.
void require_stop_mark(Recovery& r, int index, const voce& e) {
  if (in_cells(e.valore2) - 1 <= 1) {
    r.fail_at_entry(index, "a station of type " + str(e.genere) + " whose zone ends at " +
                               str(e.valore2) + " m, where a stop mark needs it beyond 100 m");
  }
  const int64_t c = cell_two_before(e.valore2);
  if (!r.in_row(c) || r.cell(c).oggetto != kStationMark || r.set.dato1(c) != index) {
    r.fail_at_entry(index, "no stop mark for this station in " + cell_name(c) +
                               ", the cell before its zone's end");
  }
  r.explain(c);
}

// A station as its entry holds it. The last one may be the record a compile
// stopped on (`stops` then set): its zone too close to the one before (22),
// its stop mark not beyond 100 m (24), or its entry the last one free (10).
StationRecord station_of(Recovery& r, int index, bool last, bool& stops) {
  const voce& e = r.set.tabella[index];
  StationRecord s;
  s.position = e.valore3;
  s.genere = e.genere;
  zone_values(r, index, e, s);
  s.codes[0] = e.colonna4;
  s.codes[1] = e.colonna5;
  s.codes[3] = e.colonna7;
  s.codes[4] = e.colonna8;
  s.codes[5] = e.colonna9;
  s.codes[6] = e.colonna10;
  s.codes[7] = e.colonna11;
  s.codes[8] = e.colonna12;
  s.codes[9] = e.colonna13;
  // orario = (hours × 60 + minutes) × 60 + seconds, minutes and seconds 0 to 59.
  const int64_t t = e.orario;
  const int64_t hours = t >= 0 ? t / 3600 : -((-t + 3599) / 3600);
  s.hours = static_cast<int32_t>(hours);
  s.minutes = static_cast<int32_t>((t - hours * 3600) / 60);
  s.seconds = static_cast<int32_t>(t - hours * 3600 - int64_t{s.minutes} * 60);
  require_writable_text(r, index, e.testo, "station name");
  s.name = e.testo;
  const bool too_close =
      index > 1 && int64_t{e.valore1} - kZoneSpacing < r.set.tabella[index - 1].valore2;
  const bool early_mark = e.genere < kMarkedStationKinds && in_cells(e.valore2) - 1 <= 1;
  // A compile that stopped on error 24 placed no stop mark; on error 22 it had.
  if (last && early_mark) {
    stops = true;
  } else if (e.genere < kMarkedStationKinds) {
    require_stop_mark(r, index, e);
  }
  if (last && too_close) {
    stops = true;
  } else if (too_close) {
    r.fail_at_entry(index, "a zone that starts at " + str(e.valore1) +
                               " m, less than 350 m after the zone of the station before it "
                               "ends (" +
                               str(r.set.tabella[index - 1].valore2) + " m)");
  }
  return s;
}

// The record a compile stopped on before it had read all of it: its position
// off the grid (8) or beyond the row (15), or its length off the grid (9),
// which is not kept; the entry holds what was read.
bool stopped_early(const Recovery& r, const voce& e, StationRecord& s) {
  const bool at_position = !on_cell_grid(e.valore3) || !station_inside_row(e.valore3, r.n());
  const bool at_length = e.valore1 == 0 && e.valore2 == 0 && e.testo.empty() && e.orario == 0 &&
                         e.colonna4 == 0 && e.colonna5 == 0 && e.colonna6 == 0 && e.colonna7 == 0 &&
                         e.colonna8 == 0 && e.colonna9 == 0 && e.colonna10 == 0 &&
                         e.colonna11 == 0 && e.colonna12 == 0 && e.colonna13 == 0;
  if (!at_position && !at_length) return false;
  s = StationRecord{};
  s.position = e.valore3;
  if (!at_position) {
    s.genere = e.genere;
    s.length = kCellMetres;  // a length that is no multiple of 100 stops the record here
  }
  return true;
}

void require_on_grid(const Recovery& r, int index, const voce& e) {
  if (!on_cell_grid(e.valore3)) {
    r.fail_at_entry(index, "a station at " + str(e.valore3) +
                               " m, where a station's position is a multiple of 50");
  }
  if (!station_inside_row(e.valore3, r.n())) {
    r.fail_at_entry(index, "a station at " + str(e.valore3) +
                               " m, beyond the last position a station may take");
  }
}

}  // namespace

void recover_stations(Recovery& r) {
  int last = 0;
  for (int entry = 1; entry < r.first_board_entry; ++entry) {
    if (!is_empty(r.set.tabella[entry])) last = entry;
  }
  for (int entry = last + 1; entry < r.first_board_entry; ++entry) {
    require_only_fields(r, entry, {});
  }
  RecoveredTrain& train = r.scenario.train;
  for (int entry = 1; entry <= last; ++entry) {
    const voce& e = r.set.tabella[entry];
    StationRecord s;
    bool stops = false;
    if (entry == last && stopped_early(r, e, s)) {
      stops = true;
    } else {
      require_on_grid(r, entry, e);
      s = station_of(r, entry, entry == last, stops);
    }
    // After a station, the next entry may not reach the board texts (error 10).
    if (entry == last && entry + 1 >= r.first_board_entry - 1) stops = true;
    train.stations.push_back(s);
    train.last_station_stops = stops;
  }
}

}  // namespace scenario
