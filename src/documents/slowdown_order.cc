// `dati_rallentamenti`: the slowdown order, a one-page form that lists the
// three slowdowns of the built-in route and the legend of the prescriptions.
#include "documents/slowdown_order.h"

#include <iterator>

#include "base/file_naming.h"

namespace scenario {
namespace {

// clang-format off
constexpr const char* kHeading[] = {
    "",
    "                               Modulo M. 3",
    "                           ORDINE DI RALLENTAMENTO",
    " ________________________________________________________________________________",
    " Linea  VELMORA CENTRALE - DORSEL",
    "",
    "  Si ordina al macchinista del treno  904  di effettuare i seguenti rallentamenti",
    "  _______________________________________________________________________________",
    " |   |                            |Inizio dopo |          |         |            |",
    " | N.|      FRA LE STAZIONI       | il cippo   | Velocita'|Lunghezza|Prescrizioni|",
    " |   |   (o nelle Stazioni di)    |chilometrico|          |   metri | specifiche |",
    " |___|____________________________|____________|__________|_________|____________|",
};

// Stations 4-5, 21-22 and 26-27 of the route, as on the train sheet.
constexpr const char* kSlowdownRows[] = {
    " | 1 | ROVENTELLA - SAN FIDALDO   |    326     |    60    |   200   |   -----    |",
    " | 2 | ASPROMILLE - VALDENZA      |    209     |    60    |  1650   |   -----    |",
    " | 3 | BRUSAVIA - TORREMAGNO      |    182     |    40    |   200   |   -----    |",
};

constexpr const char* kEmptyRow    = " |   |                            |            |          |         |            |";
constexpr const char* kClosingRule = " |___|____________________________|____________|__________|_________|____________|";

// The legend stands in the order A, B, D, C, and keeps the form's own wording.
constexpr const char* kLegend[] = {
    "",
    "              Prescrizioni specifiche",
    " A - Da rispettare con tutto il treno (per i treni viaggiatori)",
    " B - Interessa anche la stazione di.......",
    " D - Rallentamneto N. ... e N. ...  sono contigui",
    " C - Da rispettare dalle ore ....  alle ore ..... di tutti",
    "     i giorni esclusi i seguenti:.........",
};
// clang-format on

constexpr int kEmptyRows = 21;

}  // namespace

Righe slowdown_order_lines() {
  Righe righe(std::begin(kHeading), std::end(kHeading));
  righe.insert(righe.end(), std::begin(kSlowdownRows), std::end(kSlowdownRows));
  righe.insert(righe.end(), kEmptyRows, kEmptyRow);
  righe.emplace_back(kClosingRule);
  righe.insert(righe.end(), std::begin(kLegend), std::end(kLegend));
  righe.emplace_back(kEndMarker);
  return righe;
}

void dati_rallentamenti(const BuildIdentity& id) {
  salva_testo(id.cartella, slowdown_order_name(id.nome, id.treno), slowdown_order_lines());
}

}  // namespace scenario
