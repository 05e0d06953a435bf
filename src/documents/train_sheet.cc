// `dati_scheda`: the train sheet of the built-in route, its values held as
// fixed data (nothing is taken from the route's records) and written through
// the sheet's form: two filled pages, then the two blank pages.
#include "documents/train_sheet.h"

#include <vector>

#include "base/file_naming.h"
#include "documents/sheet_layout.h"

namespace scenario {
namespace {

constexpr int64_t hm(int64_t hours, int64_t minutes) { return (hours * 60 + minutes) * 60; }

TimeColumn departs(int64_t t) { return {TimeForm::departure, t, std::nullopt, ""}; }
TimeColumn passes(int64_t t) { return {TimeForm::passing, t, std::nullopt, ""}; }
TimeColumn stops(int64_t arrival, int64_t departure, const char* mark = "") {
  return {TimeForm::stop, arrival, departure, mark};
}
TimeColumn arrives(int64_t t) { return {TimeForm::arrival, t, std::nullopt, ""}; }

SheetHeader builtin_header() {
  SheetHeader header;
  header.train = "904";
  header.origin = "Velmora Centrale";
  header.destination = "Dorsel";
  header.maximum_speed = 200;
  header.rank = "C";
  header.braked_percentage = 130;
  header.category = "IC";
  header.blocked_mass = 800;
  return header;
}

// The 58 rows of the route, in travel order: speed limit, chainage in metres,
// place, time, recovery in tenths of a minute.
std::vector<SheetRow> route_rows() {
  // clang-format off
  return {
    {115, 349970, "VELMORA CENTRALE", departs(hm(10, 33)), 0},
    {0, 348835, "SI COD Km 348.835", {}, 0},
    {160, 348000, "Cippo Km 348.000", {}, 0},
    {150, 345557, "Km 345.557", {}, 0},
    {0, 342990, "BORGO TESSALDI", passes(hm(10, 38)), 0},
    {130, 341500, "Km 341.500", {}, 0},
    {150, 337140, "CALVIGNATE", passes(hm(10, 41)), 0},
    {0, 330730, "ROVENTELLA", passes(hm(10, 44)), 5},
    {140, 326000, "Cippo Km 326.000", {}, 0},
    {150, 323402, "Km 323.402", {}, 0},
    {0, 321660, "SAN FIDALDO", passes(hm(10, 48)), 0},
    {125, 314347, "Torrente Varsella", {}, 0},
    {150, 312360, "PIEVE D'ARSENA", stops(hm(10, 53), hm(10, 55)), 10},
    {0, 305980, "MONTECASTRIO", passes(hm(11, 0)), 0},
    {145, 303510, "Segn.Prot. Ostigliero", {}, 0},
    {0, 302190, "OSTIGLIERO", passes(hm(11, 2)), 5},
    {150, 300050, "Km 300.050", {}, 0},
    {0, 293270, "VALLORSA", passes(hm(11, 6)), 0},
    {0, 288490, "CASTEL BRANDONE", stops(hm(11, 9), hm(11, 11)), 5},
    {0, 283970, "FORNASELLE ALTE", passes(hm(11, 15)), 10},
    {0, 280580, "SERRAVIGLIO", passes(hm(11, 17)), 5},
    {130, 274204, "Torrente Lisorba", {}, 0},
    {0, 272530, "CAPORSINO", passes(hm(11, 23)), 5},
    {175, 271000, "Cippo Km 271.000", {}, 0},
    {0, 262290, "TERNOVALLE", stops(hm(11, 27), hm(11, 28)), 5},
    {0, 253200, "LIMBRIANO", passes(hm(11, 34)), 5},
    {135, 248000, "Cippo Km 248.000", {}, 0},
    {0, 246700, "MARZENGO", stops(hm(11, 38), hm(11, 40)), 0},
    {170, 246000, "Cippo Km 246.000", {}, 0},
    {0, 240590, "ROCCA VIGNALDA", passes(hm(11, 46)), 10},
    {160, 231810, "S. ELIDIO VALLE", passes(hm(11, 50)), 10},
    {135, 228604, "Segn.Prot. Corvaldino", {}, 0},
    {0, 227500, "CORVALDINO", passes(hm(11, 53)), 10},
    {160, 226100, "Km 226.100", {}, 0},
    {135, 220000, "Cippo Km 220.000", {}, 0},
    {0, 219190, "PONTE LUGARA", passes(hm(11, 57)), 10},
    {105, 210500, "Km 210.500", {}, 0},
    {0, 209500, "ASPROMILLE", passes(hm(12, 3)), 10},
    {75, 204676, "Imb. Sud Gall. Km 204.676", {}, 0},
    {0, 204000, "VALDENZA", stops(hm(12, 14), hm(12, 17)), 25},
    {160, 201452, "Km 201.452", {}, 0},
    {0, 198310, "GROTTALBINA", passes(hm(12, 23)), 0},
    {0, 195300, "FONTANESCO", passes(hm(12, 25)), 0},
    {175, 193000, "Cippo Km 193.000", {}, 0},
    {0, 190560, "ORTEVAGLIA", passes(hm(12, 27)), 0},
    {0, 185030, "BRUSAVIA", passes(hm(12, 29)), 0},
    {0, 178160, "TORREMAGNO", stops(hm(12, 31), hm(12, 32)), 0},
    {0, 169110, "SELVACORTA", passes(hm(12, 39)), 0},
    {0, 156880, "MOLINASCO", passes(hm(12, 44)), 5},
    {110, 147000, "Cippo Km 147.000", {}, 0},
    {0, 144420, "PRATOVERSO", stops(hm(12, 50), hm(12, 51)), 5},
    {150, 132000, "Cippo Km 132.000", {}, 0},
    {170, 129320, "CASALDORNO", passes(hm(13, 0)), 0},
    {0, 124960, "LUVIGNA-SCARPENE", passes(hm(13, 3)), 10},
    {0, 121030, "QUARNETTO", stops(hm(13, 6), hm(13, 7), "(*)"), 10},
    {0, 116280, "PALUDELLA", passes(hm(13, 13)), 10},
    {115, 114000, "Cippo Km 114.000", {}, 0},
    {0, 111040, "DORSEL", arrives(hm(13, 18)), 20},
  };
  // clang-format on
}

}  // namespace

Righe train_sheet_lines() {
  return train_sheet_document(builtin_header(), route_rows(),
                              {"(*) Ferma a Quarnetto", "    fino al 29/09/01"});
}

void dati_scheda(const BuildIdentity& id) {
  salva_testo(id.cartella, train_sheet_name(id.nome, id.treno), train_sheet_lines());
}

}  // namespace scenario
