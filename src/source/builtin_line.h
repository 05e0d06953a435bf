// `dati_linea`: the built-in scenario's line source, held as fixed text.
#pragma once

#include <string_view>

#include "base/build_identity.h"
#include "source/text_writer.h"

namespace scenario {

// The built-in scenario's name, `nome`.
inline constexpr std::string_view kBuiltinNome = "Velmora_Dorsel";

// The 171 lines of the line source, followed by the end marker.
Righe builtin_line_source();

// Writes the line source file `nome`_linea.txt into the build's folder.
void dati_linea(const BuildIdentity& id);

}  // namespace scenario
