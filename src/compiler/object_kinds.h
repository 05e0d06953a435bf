// The kinds of object a route cell holds in `cella::oggetto`, each stated once
// as a row of one table: its code, its names and what the compiler, the
// diagnostics, the dump and the decoder need to know of it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string_view>

namespace scenario {

// Kind codes held in `cella::oggetto`. Kinds 7, 8 and 9 are never produced.
enum ObjectKind : uint8_t {
  kNoObject = 0,
  kSignal = 1,
  kSlowdownEnd = 2,
  kSlowdownStart = 3,
  kSlowdownWarning = 4,
  kCountdownMarker = 5,
  kSpeedBoard = 6,
  kStationMark = 10,
  kTunnelLight = 11,
  kAbbattimento = 12,
  kAbbattimentoNoValue = 13,
  kIndicationBoard = 14,
  kObjectKindEnd,  // not a kind: one past the highest code; a new kind goes before it
};

// Which source file holds the records that place a kind.
enum class PlacedBy : uint8_t { nothing, line_file, train_file };

// Which of the cell's values the object carries, as the dump and the report show them.
enum class ObjectValues : uint8_t {
  none,
  signal,       // the codes of its two sides, rapp and its time
  slowdown,     // speed, second speed and whether it holds for the whole train
  warning,      // speed and second speed
  countdown,    // its number, 1 nearest the warning board
  speed_board,  // the speeds of categories A, B and C and the stripes
  station,      // the entry of its station
  value,        // the abbattimento value
  board_text,   // the entry of its text
};

struct ObjectKindRow {
  ObjectKind code;
  std::string_view name;  // the dump, its JSON and the cell texts: "speed board"
  std::string_view noun;  // the diagnostics' prose and the report's titles: "speed-indicator board"
  bool occupies;          // false: a cell holding it counts as free, and an object may replace it
  PlacedBy placed_by;
  // The diagnostics' words for an object of the kind that a record placed,
  // before the record's position; empty for "the NOUN at".
  std::string_view placed;
  ObjectValues values;
};

// Every kind, in ascending order of code. The dump and the diagnostics name the
// speed-indicator board differently; both texts are fixed output.
inline constexpr ObjectKindRow kObjectKinds[] = {
    {kNoObject, "no object", "no object", false, PlacedBy::nothing, "", ObjectValues::none},
    {kSignal, "signal", "signal", true, PlacedBy::train_file, "", ObjectValues::signal},
    {kSlowdownEnd, "slowdown end", "slowdown end", true, PlacedBy::train_file,
     "the end of the slowdown at", ObjectValues::slowdown},
    {kSlowdownStart, "slowdown start", "slowdown start", true, PlacedBy::train_file,
     "the start of the slowdown at", ObjectValues::slowdown},
    {kSlowdownWarning, "slowdown warning", "slowdown warning", true, PlacedBy::train_file,
     "the warning board of the slowdown at", ObjectValues::warning},
    {kCountdownMarker, "countdown marker", "countdown marker", true, PlacedBy::train_file,
     "a countdown marker of the slowdown at", ObjectValues::countdown},
    {kSpeedBoard, "speed board", "speed-indicator board", true, PlacedBy::line_file, "",
     ObjectValues::speed_board},
    {kStationMark, "station mark", "station mark", true, PlacedBy::train_file,
     "the stop mark of the station at", ObjectValues::station},
    {kTunnelLight, "tunnel light", "tunnel light", false, PlacedBy::line_file,
     "a tunnel light of the mountain stretch from", ObjectValues::none},
    {kAbbattimento, "abbattimento", "abbattimento", true, PlacedBy::train_file, "",
     ObjectValues::value},
    {kAbbattimentoNoValue, "abbattimento without value", "abbattimento without value", true,
     PlacedBy::train_file, "", ObjectValues::none},
    {kIndicationBoard, "indication board", "indication board", true, PlacedBy::line_file, "",
     ObjectValues::board_text},
};

// The codes below kObjectKindEnd that no rule produces.
inline constexpr uint8_t kNeverProducedKinds[] = {7, 8, 9};

// The row of a code; null for a code no rule produces.
constexpr const ObjectKindRow* find_object_kind(uint8_t oggetto) {
  for (const ObjectKindRow& row : kObjectKinds) {
    if (row.code == oggetto) return &row;
  }
  return nullptr;
}

// A cell is free when it holds nothing or only a tunnel light; a code no rule
// produces occupies it.
constexpr bool is_free_kind(uint8_t oggetto) {
  const ObjectKindRow* row = find_object_kind(oggetto);
  return row != nullptr && !row->occupies;
}

// Every code below kObjectKindEnd has exactly one row or is never produced, so
// a kind added to ObjectKind fails here until the table has its row.
static_assert(
    [] {
      std::size_t row = 0, never = 0;
      for (int code = 0; code < kObjectKindEnd; ++code) {
        const bool has_row = row < std::size(kObjectKinds) && kObjectKinds[row].code == code;
        const bool is_never =
            never < std::size(kNeverProducedKinds) && kNeverProducedKinds[never] == code;
        if (has_row == is_never) return false;
        if (has_row) {
          if (kObjectKinds[row].name.empty() || kObjectKinds[row].noun.empty()) return false;
          ++row;
        } else {
          ++never;
        }
      }
      return row == std::size(kObjectKinds) && never == std::size(kNeverProducedKinds);
    }(),
    "kObjectKinds needs one row for every code of ObjectKind, in ascending order");

}  // namespace scenario
