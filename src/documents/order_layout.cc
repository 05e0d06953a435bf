#include "documents/order_layout.h"

#include <algorithm>
#include <iterator>

#include "documents/column_text.h"

namespace scenario {
namespace {

// clang-format off
constexpr const char* kEmptyRow    = " |   |                            |            |          |         |            |";
constexpr const char* kClosingRule = " |___|____________________________|____________|__________|_________|____________|";
constexpr const char* kNoPrescription = "   -----    ";
constexpr const char* kPageSeparator =
    "........................................................................";

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

constexpr size_t kBetweenWidth = 27;

void add_heading(Righe& righe, const std::string& line, const std::string& train) {
  const std::string lines[] = {
      "",
      "                               Modulo M. 3",
      "                           ORDINE DI RALLENTAMENTO",
      " ________________________________________________________________________________",
      " Linea  " + line,
      "",
      "  Si ordina al macchinista del treno  " + train + "  di effettuare i seguenti rallentamenti",
      "  _______________________________________________________________________________",
      " |   |                            |Inizio dopo |          |         |            |",
      " | N.|      FRA LE STAZIONI       | il cippo   | Velocita'|Lunghezza|Prescrizioni|",
      " |   |   (o nelle Stazioni di)    |chilometrico|          |   metri | specifiche |",
      kClosingRule,
  };
  righe.insert(righe.end(), std::begin(lines), std::end(lines));
}

}  // namespace

std::string order_row_text(const OrderRow& row) {
  const std::string kilometre =
      row.kilometre ? right_aligned(std::to_string(*row.kilometre), 7) : "    xxx";
  const std::string prescriptions =
      row.prescriptions.empty() ? kNoPrescription : left_aligned("   " + row.prescriptions, 12);
  return " |" + left_aligned(right_aligned(std::to_string(row.number), 2) + " ", 3) + "| " +
         left_aligned(row.between, kBetweenWidth) + "|" + left_aligned(kilometre, 12) + "|" +
         left_aligned(right_aligned(std::to_string(row.speed), 6), 10) + "|" +
         left_aligned(right_aligned(std::to_string(row.length), 6), 9) + "|" + prescriptions + "|";
}

Righe slowdown_order_document(const std::string& line, const std::string& train,
                              const std::vector<OrderRow>& rows) {
  const size_t pages = std::max<size_t>(1, (rows.size() + kOrderPageRows - 1) / kOrderPageRows);
  Righe righe;
  for (size_t page = 0; page < pages; ++page) {
    if (page > 0) {
      righe.emplace_back("");
      righe.emplace_back(kPageSeparator);
    }
    add_heading(righe, line, train);
    const size_t first = page * kOrderPageRows;
    const size_t last = std::min(rows.size(), first + kOrderPageRows);
    for (size_t i = first; i < last; ++i) righe.push_back(order_row_text(rows[i]));
    righe.insert(righe.end(), kOrderPageRows - (last - first), kEmptyRow);
    righe.emplace_back(kClosingRule);
    righe.insert(righe.end(), std::begin(kLegend), std::end(kLegend));
  }
  righe.emplace_back(kEndMarker);
  return righe;
}

}  // namespace scenario
