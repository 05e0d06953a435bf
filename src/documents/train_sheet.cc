#include "documents/train_sheet.h"

#include "build/file_naming.h"

namespace scenario {

Righe train_sheet_lines() { return {std::string(kEndMarker)}; }

void dati_scheda(const BuildContext& ctx) { salva_testo(ctx.cartella, train_sheet_name(ctx.nome, ctx.treno), train_sheet_lines()); }

}  // namespace scenario
