// `dati_scheda`: the train sheet, the driver's timetable on two filled pages
// and two blank template pages.
#pragma once

#include "base/build_identity.h"
#include "source/text_writer.h"

namespace scenario {

// The 204 lines of the sheet, followed by the end marker.
Righe train_sheet_lines();

void dati_scheda(const BuildIdentity& id);

}  // namespace scenario
