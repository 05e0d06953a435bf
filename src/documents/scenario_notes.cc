// `dati_note`: the scenario's notes, twelve lines of free text for the user
// ending with the author's signature.
#include "documents/scenario_notes.h"

#include <iterator>

#include "base/file_naming.h"

namespace scenario {
namespace {

// Lines 1 and 5 end with a blank: their sentences go on in the next line.
// "\xE0" is the single byte of the "a" with grave accent.
// clang-format off
constexpr const char* kNotes[] = {
    "Simulazione del treno IC 904 'Val Sirenta' Cordivale - Porto Ermano nel tratto ",
    "Velmora Centrale - Dorsel.",
    "Il tratto Aspromille Valdenza e' a binario unico perche' nella realta' il",
    "binario di destra segue un altro tracciato.",
    "La marcia fra le stazioni di San Fidaldo e Pieve d'Arsena e' rallentata dal fatto che ",
    "il treno 3194 per Lissaro, partito in ritardo da Velmora, viaggia davanti.",
    "Per il resto la simulazione non presenta particolari difficolt\xE0.",
    "Buon divertimento",
    "                   Renzo Galvaterra",
    "                  (renzo.galvaterra@example.org)",
    "Orario Giugno 2001",
    "2A",
};
// clang-format on

}  // namespace

Righe scenario_notes_lines() {
  Righe righe(std::begin(kNotes), std::end(kNotes));
  righe.emplace_back(kEndMarker);
  return righe;
}

void dati_note(const BuildIdentity& id) {
  salva_testo(id.cartella, notes_name(id.nome, id.treno), scenario_notes_lines());
}

}  // namespace scenario
