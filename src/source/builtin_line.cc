#include "source/builtin_line.h"

#include "build/file_naming.h"

namespace scenario {

Righe builtin_line_source() { return {std::string(kEndMarker)}; }

void dati_linea(const BuildContext& ctx) { salva_testo(ctx.cartella, line_source_name(ctx.nome), builtin_line_source()); }

}  // namespace scenario
