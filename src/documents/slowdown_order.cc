#include "documents/slowdown_order.h"

#include "build/file_naming.h"

namespace scenario {

Righe slowdown_order_lines() { return {std::string(kEndMarker)}; }

void dati_rallentamenti(const BuildContext& ctx) { salva_testo(ctx.cartella, slowdown_order_name(ctx.nome, ctx.treno), slowdown_order_lines()); }

}  // namespace scenario
