// A canonical one-line text of a route cell, for the authoring tool's dump and
// for tests that compare cells as text.
#pragma once

#include <cstdint>
#include <string>

#include "compiler/scenario_records.h"

namespace scenario {

// The object kind's name in the table (object_kinds.h): "signal", "speed
// board", "no object" for kind 0; "kind N" for a code no rule produces.
std::string object_kind_name(uint8_t oggetto);

// "cell 34: signal dato1=41 dato2=0 dato3=0 dato4=8 tempo_segnale=0 preavviso=0
// montagna=0 velocita=0 pendenza=0 aderenza=0": every field, always in this order.
std::string describe_cell(int64_t index, const cella& c);

}  // namespace scenario
