#include "documents/scenario_notes.h"

#include "build/file_naming.h"

namespace scenario {

Righe scenario_notes_lines() { return {std::string(kEndMarker)}; }

void dati_note(const BuildContext& ctx) { salva_testo(ctx.cartella, notes_name(ctx.nome, ctx.treno), scenario_notes_lines()); }

}  // namespace scenario
