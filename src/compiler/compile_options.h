// What a compile does besides reading the sources into the station table and
// the route cells: whether it traces and writes the track plan, and whether it
// is a check that reads past the errors that end a compile.
#pragma once

#include <optional>

#include "compiler/timetable/train_model.h"

namespace scenario {

struct CompileOptions {
  // Traces `tracciato` and writes the track plan (the parser's `scrivi_linea`).
  // Without it the curve records are passed over and only the station table
  // and the route cells are written.
  bool track_plan = true;
  // A check: a record that would end the compile is recorded and set aside,
  // and the parse reads on, so that every error shows at once. The files
  // written are then not those of a compile.
  bool read_past_errors = false;
  // Sets the timetable beside the fastest run of this train after a compile
  // that recorded no error, and warns of what cannot be kept (warnings
  // running-time and recovery-margin). The authoring tool sets it; without it
  // there is no run and no such warning.
  std::optional<timetable::TrainModel> timetable = std::nullopt;
};

}  // namespace scenario
