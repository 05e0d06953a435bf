// `dati_scheda`: the train sheet, the driver's timetable framed as ASCII
// tables: two filled pages for the built-in route, then two blank templates.
#include "documents/train_sheet.h"

#include <iterator>

#include "base/file_naming.h"

namespace scenario {
namespace {

// clang-format off
constexpr const char* kTitle1 = " |                   |                    SCHEDA 1/2               |              |";
constexpr const char* kTitle2 = " |                   |                    SCHEDA 2/2               |              |";
constexpr const char* kTitle0 = " |                   |                    SCHEDA 0/0               |              |";

// The filled header names this train; the template leaves x placeholders.
constexpr const char* kFilledTrain       = " |   TRENO n. 904    |                   da: Velmora Centrale      |    V200 C    |";
constexpr const char* kFilledDestination = " |___________________|                    a: Dorsel                |     130%     |";
constexpr const char* kFilledCategory    = " |        IC         |              |      800T         |";
constexpr const char* kTemplateTrain       = " |   TRENO n.xxxxx   |                   da: xxxxxx                |    Vxxx C    |";
constexpr const char* kTemplateDestination = " |___________________|                    a: xxxxxx                |     xxx%     |";
constexpr const char* kTemplateCategory    = " |        xxx        |              |      xxxT         |";

constexpr const char* kClosingRule = " |_____|_____|__________|_____|____________________________|________________|_____|";
constexpr const char* kEmptyRow    = " |     |     |          |     |                            |                |     |";

// Between pages: the first separator is longer than the other two.
constexpr const char* kFirstSeparator = ".................................................................................";
constexpr const char* kSeparator      = "........................................................................";

// The 58 rows of the route, in travel order; rows 1 to 32 fill the first page.
constexpr const char* kRouteRows[] = {
    " | 115 |     | 349.970  |     | VELMORA CENTRALE           |         10.33  |     |",
    " |     |     | 348.835  |     | SI COD Km 348.835          |                |     |",
    " | 160 |     | 348.000  |     | Cippo Km 348.000           |                |     |",
    " | 150 |     | 345.557  |     | Km 345.557                 |                |     |",
    " |     |     | 342.990  |     | BORGO TESSALDI             |      10.38     |     |",
    " | 130 |     | 341.500  |     | Km 341.500                 |                |     |",
    " | 150 |     | 337.140  |     | CALVIGNATE                 |      10.41     |     |",
    " |     |     | 330.730  |     | ROVENTELLA                 |      10.44     | 0.5 |",
    " | 140 |     | 326.000  |     | Cippo Km 326.000           |                |     |",
    " | 150 |     | 323.402  |     | Km 323.402                 |                |     |",
    " |     |     | 321.660  |     | SAN FIDALDO                |      10.48     |     |",
    " | 125 |     | 314.347  |     | Torrente Varsella          |                |     |",
    " | 150 |     | 312.360  |     | PIEVE D'ARSENA             | 10.53 - 10.55  | 1.0 |",
    " |     |     | 305.980  |     | MONTECASTRIO               |      11.00     |     |",
    " | 145 |     | 303.510  |     | Segn.Prot. Ostigliero      |                |     |",
    " |     |     | 302.190  |     | OSTIGLIERO                 |      11.02     | 0.5 |",
    " | 150 |     | 300.050  |     | Km 300.050                 |                |     |",
    " |     |     | 293.270  |     | VALLORSA                   |      11.06     |     |",
    " |     |     | 288.490  |     | CASTEL BRANDONE            | 11.09 - 11.11  | 0.5 |",
    " |     |     | 283.970  |     | FORNASELLE ALTE            |      11.15     | 1.0 |",
    " |     |     | 280.580  |     | SERRAVIGLIO                |      11.17     | 0.5 |",
    " | 130 |     | 274.204  |     | Torrente Lisorba           |                |     |",
    " |     |     | 272.530  |     | CAPORSINO                  |      11.23     | 0.5 |",
    " | 175 |     | 271.000  |     | Cippo Km 271.000           |                |     |",
    " |     |     | 262.290  |     | TERNOVALLE                 | 11.27 - 11.28  | 0.5 |",
    " |     |     | 253.200  |     | LIMBRIANO                  |      11.34     | 0.5 |",
    " | 135 |     | 248.000  |     | Cippo Km 248.000           |                |     |",
    " |     |     | 246.700  |     | MARZENGO                   | 11.38 - 11.40  |     |",
    " | 170 |     | 246.000  |     | Cippo Km 246.000           |                |     |",
    " |     |     | 240.590  |     | ROCCA VIGNALDA             |      11.46     | 1.0 |",
    " | 160 |     | 231.810  |     | S. ELIDIO VALLE            |      11.50     | 1.0 |",
    " | 135 |     | 228.604  |     | Segn.Prot. Corvaldino      |                |     |",
    " |     |     | 227.500  |     | CORVALDINO                 |      11.53     | 1.0 |",
    " | 160 |     | 226.100  |     | Km 226.100                 |                |     |",
    " | 135 |     | 220.000  |     | Cippo Km 220.000           |                |     |",
    " |     |     | 219.190  |     | PONTE LUGARA               |      11.57     | 1.0 |",
    " | 105 |     | 210.500  |     | Km 210.500                 |                |     |",
    " |     |     | 209.500  |     | ASPROMILLE                 |      12.03     | 1.0 |",
    " |  75 |     | 204.676  |     | Imb. Sud Gall. Km 204.676  |                |     |",
    " |     |     | 204.000  |     | VALDENZA                   | 12.14 - 12.17  | 2.5 |",
    " | 160 |     | 201.452  |     | Km 201.452                 |                |     |",
    " |     |     | 198.310  |     | GROTTALBINA                |      12.23     |     |",
    " |     |     | 195.300  |     | FONTANESCO                 |      12.25     |     |",
    " | 175 |     | 193.000  |     | Cippo Km 193.000           |                |     |",
    " |     |     | 190.560  |     | ORTEVAGLIA                 |      12.27     |     |",
    " |     |     | 185.030  |     | BRUSAVIA                   |      12.29     |     |",
    " |     |     | 178.160  |     | TORREMAGNO                 | 12.31 - 12.32  |     |",
    " |     |     | 169.110  |     | SELVACORTA                 |      12.39     |     |",
    " |     |     | 156.880  |     | MOLINASCO                  |      12.44     | 0.5 |",
    " | 110 |     | 147.000  |     | Cippo Km 147.000           |                |     |",
    " |     |     | 144.420  |     | PRATOVERSO                 | 12.50 - 12.51  | 0.5 |",
    " | 150 |     | 132.000  |     | Cippo Km 132.000           |                |     |",
    " | 170 |     | 129.320  |     | CASALDORNO                 |      13.00     |     |",
    " |     |     | 124.960  |     | LUVIGNA-SCARPENE           |      13.03     | 1.0 |",
    " |     |     | 121.030  |     | QUARNETTO                  |13.06 - 13.07(*)| 1.0 |",
    " |     |     | 116.280  |     | PALUDELLA                  |      13.13     | 1.0 |",
    " | 115 |     | 114.000  |     | Cippo Km 114.000           |                |     |",
    " |     |     | 111.040  |     | DORSEL                     | 13.18          | 2.0 |",
};

constexpr const char* kFootnoteRows[] = {
    " |     |     |          |     | (*) Ferma a Quarnetto      |                |     |",
    " |     |     |          |     |     fino al 29/09/01       |                |     |",
};
// clang-format on

constexpr int kFirstPageRows = 32;
constexpr int kTemplateRows = 31;

// The 14 header lines; line 7 keeps the seven blanks after its last bar.
void add_header_block(Righe& righe, const char* title, const char* train, const char* destination,
                      const char* category) {
  const char* const lines[] = {
      "  ___________________                                               ______________",
      title,
      train,
      destination,
      "                                                                   |______________|",
      "  ___________________                ___________________",
      " |  CLASSIFICAZIONE  |              |  MASSA BLOCCATA   |       ",
      category,
      " |___________________|              |___________________|",
      "",
      "  ________________________________________________________________________________",
      " | Vel.| Vel.| Progr Km |  No |   Localita' di  Servizio   |     Orario     | Rec |",
      " | Lim.|Marc.|          |  Rs |                            |                |     |",
      kClosingRule,
  };
  righe.insert(righe.end(), std::begin(lines), std::end(lines));
}

void add_lines(Righe& righe, int count, const char* text) {
  righe.insert(righe.end(), count, text);
}

void add_template_page(Righe& righe) {
  add_header_block(righe, kTitle0, kTemplateTrain, kTemplateDestination, kTemplateCategory);
  add_lines(righe, kTemplateRows, kEmptyRow);
  righe.emplace_back(kClosingRule);
}

}  // namespace

Righe train_sheet_lines() {
  const auto first_page_end = std::begin(kRouteRows) + kFirstPageRows;
  Righe righe;
  add_lines(righe, 2, "");
  add_header_block(righe, kTitle1, kFilledTrain, kFilledDestination, kFilledCategory);
  righe.insert(righe.end(), std::begin(kRouteRows), first_page_end);
  righe.emplace_back(kClosingRule);
  add_lines(righe, 3, "");
  righe.emplace_back(kFirstSeparator);
  add_lines(righe, 2, "");

  add_header_block(righe, kTitle2, kFilledTrain, kFilledDestination, kFilledCategory);
  righe.insert(righe.end(), first_page_end, std::end(kRouteRows));
  add_lines(righe, 4, kEmptyRow);
  righe.insert(righe.end(), std::begin(kFootnoteRows), std::end(kFootnoteRows));
  righe.emplace_back(kClosingRule);
  add_lines(righe, 3, "");

  righe.emplace_back(kSeparator);
  righe.emplace_back("");
  add_template_page(righe);
  add_lines(righe, 2, "");
  righe.emplace_back(kSeparator);
  righe.emplace_back("");
  add_template_page(righe);
  righe.emplace_back("");
  righe.emplace_back(kEndMarker);
  return righe;
}

void dati_scheda(const BuildIdentity& id) {
  salva_testo(id.cartella, train_sheet_name(id.nome, id.treno), train_sheet_lines());
}

}  // namespace scenario
