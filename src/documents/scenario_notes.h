// `dati_note`: the scenario's notes, twelve lines of free text and a signature.
#pragma once

#include "base/build_identity.h"
#include "source/text_writer.h"

namespace scenario {

// The 12 lines of the notes, followed by the end marker.
Righe scenario_notes_lines();

void dati_note(const BuildIdentity& id);

}  // namespace scenario
