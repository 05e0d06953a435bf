// `dati_linea`: the built-in scenario's line source, held as fixed text.
#pragma once

#include "compiler/scenario_records.h"
#include "source/text_writer.h"

namespace scenario {

// The 171 lines of the line source, followed by the end marker.
Righe builtin_line_source();

// Writes the line source file `nome`_linea.txt into the build's folder.
void dati_linea(const BuildContext& ctx);

}  // namespace scenario
