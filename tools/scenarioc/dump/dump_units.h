// What `scenarioc dump` shows under each cell and entry: the raw numbers read
// in units and words (km/h, ‰, m, s, the kind of an object, the name of a
// station at its mark), one indented line.
#pragma once

#include <cstddef>
#include <string>

#include "compiler/scenario_records.h"

namespace scenario {

// "  at 1650 m, km 348+350: signal; left signal: kind 2, codes 4 0 0; ... | in
// force: speed limit 115 km/h, ...". With the station table beside the cells,
// station marks and indication boards name their text and positions their
// chainage; without it (`tabella` null) they give the entry's number only.
std::string cell_in_units(size_t index, const cella& c, const Tabella* tabella);

// "  station BORGO TESSALDI at 7000 m, ..." for an entry of the station table;
// empty for an entry that holds nothing.
std::string entry_in_units(int index, const Tabella& tabella);

}  // namespace scenario
