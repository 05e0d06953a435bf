// `dati_treno`: the built-in scenario's train source, held as fixed text.
#pragma once

#include <string_view>

#include "base/build_identity.h"
#include "source/text_writer.h"

namespace scenario {

// The built-in train's number, `treno`.
inline constexpr std::string_view kBuiltinTreno = "904";

// The 202 lines of the train source, followed by the end marker.
Righe builtin_train_source();

// Writes the train source file `nome`_`treno`-.txt into the build's folder.
void dati_treno(const BuildIdentity& id);

}  // namespace scenario
