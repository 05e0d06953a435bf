// `dati_rallentamenti`: the slowdown order of the built-in route, its three
// slowdowns held as fixed data and written through the order's form.
#include "documents/slowdown_order.h"

#include "base/file_naming.h"
#include "documents/order_layout.h"

namespace scenario {

// Stations 4-5, 21-22 and 26-27 of the route, as on the train sheet.
Righe slowdown_order_lines() {
  return slowdown_order_document("VELMORA CENTRALE - DORSEL", "904",
                                 {
                                     {1, "ROVENTELLA - SAN FIDALDO", 326, 60, 200, ""},
                                     {2, "ASPROMILLE - VALDENZA", 209, 60, 1650, ""},
                                     {3, "BRUSAVIA - TORREMAGNO", 182, 40, 200, ""},
                                 });
}

void dati_rallentamenti(const BuildIdentity& id) {
  salva_testo(id.cartella, slowdown_order_name(id.nome, id.treno), slowdown_order_lines());
}

}  // namespace scenario
