#include "source/builtin_train.h"

#include "build/file_naming.h"

namespace scenario {

Righe builtin_train_source() { return {std::string(kEndMarker)}; }

void dati_treno(const BuildContext& ctx) { salva_testo(ctx.cartella, train_source_name(ctx.nome, ctx.treno), builtin_train_source()); }

}  // namespace scenario
