// `dati_rallentamenti`: the slowdown order form with its three slowdowns.
#pragma once

#include "base/build_identity.h"
#include "source/text_writer.h"

namespace scenario {

// The 44 lines of the order, followed by the end marker.
Righe slowdown_order_lines();

void dati_rallentamenti(const BuildIdentity& id);

}  // namespace scenario
