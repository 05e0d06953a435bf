// The steps of the decompiler that recover the records from a decoded set, one
// kind of record (or a few that share their cells) per file, and the state
// they share: which cell's object a record already accounts for.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "compiler/decompile/compiled_set.h"
#include "compiler/decompile/recovered_scenario.h"

namespace scenario {

class Recovery {
 public:
  explicit Recovery(const DecodedSet& set) : set(set), explained_(set.percorso.size(), false) {}

  const DecodedSet& set;
  RecoveredScenario scenario;
  int first_board_entry = kFirstBoardEntry + 1;  // the lowest entry of a board text
  // What could not be recovered as the set holds it, for the decompiler's warnings.
  std::vector<std::string> notes;

  int32_t n() const { return set.last_cell(); }
  const cella& cell(int64_t c) const { return set.percorso[static_cast<size_t>(c)]; }
  bool in_row(int64_t c) const { return c >= 0 && c <= n(); }
  uint8_t kind(int64_t c) const { return in_row(c) ? cell(c).oggetto : uint8_t{kNoObject}; }

  // Notes that a record or a marker accounts for the object in cell `c`.
  void explain(int64_t c) { explained_[static_cast<size_t>(c)] = true; }
  bool explained(int64_t c) const { return explained_[static_cast<size_t>(c)]; }

  // Throws RunTimeFailure naming the route cell file and `c`.
  [[noreturn]] void fail_at_cell(int64_t c, const std::string& why) const;
  // The same for an entry of the station table.
  [[noreturn]] void fail_at_entry(int entry, const std::string& why) const;
  // Throws unless cell `c` holds a position a record may give, (p + 100) / 50
  // at most n with p = (c − 1) × 50; `what` names the object.
  void require_inside_row(int64_t c, const std::string& what) const;

 private:
  std::vector<bool> explained_;
};

// The general records of both files: route length, chainage references,
// backgrounds, signal repetition, consist, clock and sand.
void recover_general(Recovery& r);

// The gradient, speed and adhesion profiles of the cells.
void recover_profiles(Recovery& r);

// The mountain stretches, with their tunnel lights.
void recover_mountains(Recovery& r);

// The speed-indicator boards and the indication boards with their texts.
void recover_boards(Recovery& r);

// The stations of the station table and their stop marks.
void recover_stations(Recovery& r);

// The signals and the slowdowns with their warning boards and countdown markers.
void recover_signals(Recovery& r);
void recover_slowdowns(Recovery& r);

// The abbattimento records among the abbattimento markers: those the
// post-processing pass does not place by itself.
void recover_abbattimenti(Recovery& r);

// The order of the train file's object records that gives every approach mark
// (`preavviso`) its value: where a signal's marks and a station's fall on one
// cell, the one written later wins.
void order_train_records(Recovery& r);

// Every object of the cells is accounted for; throws naming the first that is not.
void require_every_object_explained(const Recovery& r);

}  // namespace scenario
