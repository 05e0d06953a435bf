// How `scenarioc dump` shows a decoded compiled file: as lines of named fields,
// each followed by its values in units, or CSV for a person, or as one JSON
// object for a program.
#pragma once

#include <string>
#include <vector>

#include "compiler/format/compiled_file_decoder.h"
#include "compiler/scenario_records.h"

namespace scenario {

// What the dump shows besides the decoded data.
struct DumpView {
  std::string file;  // the file as given
  size_t bytes = 0;  // its size
  bool all = false;  // route cells: every cell, not only those worth seeing
  bool json = false;
  bool points = false;  // track plan: every metre instead of the summary
  // Route cells: the station table beside them, which names the stations at
  // their marks and gives the chainage; null when there is none.
  const Tabella* stations = nullptr;
};

std::string dump_route_cells(const std::vector<cella>& percorso, const DumpView& view);
std::string dump_station_table(const Tabella& tabella, const DumpView& view);
std::string dump_track_plan(const DecodedTrackPlan& plan, const DumpView& view);

}  // namespace scenario
