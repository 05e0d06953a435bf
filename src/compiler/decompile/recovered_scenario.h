// The records of a scenario's two sources as the decompiler recovers them from
// a compiled set, each kind in the order it is to be written: what
// scenario_text.h turns into the lines of the line file and the train file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "compiler/stampers.h"

namespace scenario {

struct ReferenceRecord {
  int32_t position = 0;
  int32_t chainage = 0;  // as written: without the 100 a flag of 1 adds
  int32_t flag = 0;
};

struct CurveRecord {
  char side = 'd';  // 's': to the left
  int klass = 1;    // 1 to 6
  int32_t start = 0;
  int32_t length = 0;
};

// A record of a gradient, speed or adhesion profile: the value from `position` on.
struct ProfileStep {
  int32_t position = 0;
  int32_t value = 0;
};

struct MountainRecord {
  int32_t inizio = 0;
  int32_t fine = 0;
  int32_t tipo = 0;  // above 10: with tunnel lights
};

struct SpeedBoardRecord {
  SpeedBoardValues values{};
  bool left_empty = false;  // a side without a board is written as empty fields
  bool right_empty = false;
};

struct IndicationBoardRecord {
  int32_t position = 0;
  std::string text;
};

struct StationRecord {
  int32_t position = 0;
  int32_t genere = 0;
  int32_t length = 0;
  int32_t codes[10] = {};  // values 4 to 13, in order
  int32_t hours = 0;
  int32_t minutes = 0;
  int32_t seconds = 0;
  std::string name;
};

struct AbbattimentoRecord {
  int32_t position = 0;
  int32_t value = 0;  // 0: without a value
};

struct RecoveredLine {
  int32_t lunghezza = 0;
  ReferenceRecord uno, due, tre;
  int32_t sfondo_uno = 0, sfondo_due = 0, sfondo_tre = 0;
  int32_t repetition_start = 0;
  int32_t repetition_end = 0;
  int32_t repetition_codes = 0;  // 4, 9, or 0: none, as after an end of 0
  std::vector<CurveRecord> curves;
  std::vector<ProfileStep> gradients;
  std::vector<MountainRecord> mountains;
  std::vector<SpeedBoardRecord> speed_boards;
  std::vector<IndicationBoardRecord> indication_boards;  // in the order of their entries, 80 down
  // The compile that wrote the set stopped on an error in the general part
  // (no metre of the track plan traced) or in the object part (the plan
  // traced only partway): the sources end that part with a record that stops
  // the compile there too, so that they give the same bytes.
  bool stops_in_general_part = false;
  bool stops_in_object_part = false;
};

// A record of the train file's object part, by kind and index into its list.
enum class TrainRecordKind : uint8_t { station, slowdown, signal, abbattimento };
struct TrainRecordRef {
  TrainRecordKind kind;
  std::size_t index;
};

struct RecoveredTrain {
  int32_t numero_vetture = 0;
  int32_t massa_frenata = 0;
  int32_t sabbia = 0;
  int32_t clock[3] = {};
  std::vector<ProfileStep> adhesion;
  std::vector<ProfileStep> speeds;
  std::vector<StationRecord> stations;  // in the order of their entries, 1 up
  // The last station's record is the one the compile that wrote the set
  // stopped on: it is written last of all, as the compile read nothing after it.
  bool last_station_stops = false;
  std::vector<SlowdownValues> slowdowns;
  std::vector<SignalValues> signals;
  std::vector<AbbattimentoRecord> abbattimenti;
  // The order the object records are written in: every record once.
  std::vector<TrainRecordRef> order;
};

struct RecoveredScenario {
  RecoveredLine line;
  RecoveredTrain train;
};

}  // namespace scenario
