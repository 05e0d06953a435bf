// The record kinds of the two source files as an author sees them: the keyword
// as written, the kind in words and the names of its values, in order. The
// diagnostics name records and values with them, and an unknown keyword is
// compared with them.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace scenario {

// Where a kind of record is read.
enum class RecordPart : uint8_t {
  general,  // the general part of the line file
  object,   // the object part of the line file
  train,    // the train file
};

enum class RecordId : uint8_t {
  route_length,
  reference_tre,
  reference_due,
  reference_uno,
  background_uno,
  background_due,
  background_tre,
  signal_repetition,
  gradient,
  curve,
  mountain,
  speed_board,
  indication_board,
  braked_mass,
  coaches,
  speed,
  adhesion,
  clock,
  sand,
  signal,
  slowdown,
  abbattimento,
  station,
};

struct RecordKind {
  RecordId id;
  RecordPart part;
  std::string_view words;                       // "speed-indicator board"
  std::span<const std::string_view> spellings;  // the keywords as written, the usual one first
  std::span<const std::string_view> values;     // the names of its values, in order
};

const RecordKind& record_kind(RecordId id);
std::span<const RecordKind> record_kinds();

// "the signal", "the station".
std::string the(const RecordKind& kind);
// "1st", "2nd", "11th".
std::string ordinal(int32_t n);

// "line file, general part" in words, for the hints that say where a record belongs.
std::string_view part_name(RecordPart part);

}  // namespace scenario
