// The three compiled files of one scenario, the track plan, the station table
// and the route cells, decoded together and checked to belong together; and
// the errors of the decompiler, each naming its file and the cell, entry or
// metre at fault.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/format/track_plan_view.h"
#include "compiler/scenario_records.h"

namespace scenario {

// The bytes of the three files and the names messages give them. The bytes
// must outlive everything decoded from them.
struct CompiledSet {
  std::string_view track_plan;
  std::string_view station_table;
  std::string_view route_cells;
  std::string track_plan_name = "track plan";
  std::string station_table_name = "station table";
  std::string route_cells_name = "route cells";
};

class DecodedSet {
 public:
  // Throws RunTimeFailure, "NAME: byte N: why" for a file the decoder refuses
  // and "NAME: why" for files that cannot belong to one compile.
  explicit DecodedSet(const CompiledSet& files);

  const CompiledSet& files;
  TrackPlanView plan;
  Tabella tabella;
  std::vector<cella> percorso;

  int32_t last_cell() const { return static_cast<int32_t>(percorso.size()) - 1; }
  int32_t route_length() const { return tabella[kEntryTrain].valore2; }
  // The objects' dato1 and dato2 as a source set them: cell 1 holds the header
  // values there, which the compile writes over a 0.
  int16_t dato1(int32_t c) const { return c == 1 ? 0 : percorso[c].dato1; }
  int16_t dato2(int32_t c) const { return c == 1 ? 0 : percorso[c].dato2; }
};

// "cell 297 (14800 m)": a cell and the position of its objects.
std::string cell_name(int64_t c);

// Throws RunTimeFailure "FILE: what".
[[noreturn]] void fail_in(const std::string& file, const std::string& what);

}  // namespace scenario
