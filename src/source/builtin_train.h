// `dati_treno`: the built-in scenario's train source, held as fixed text.
#pragma once

#include "compiler/scenario_records.h"
#include "source/text_writer.h"

namespace scenario {

// The 202 lines of the train source, followed by the end marker.
Righe builtin_train_source();

// Writes the train source file `nome`_`treno`-.txt into the build's folder.
void dati_treno(const BuildContext& ctx);

}  // namespace scenario
