// The slowdown order's form: a row's six columns, and the further pages that
// slowdowns beyond one page's 24 rows take, numbered on.
#include "documents/order_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_support.h"

namespace scenario {
namespace {

TEST(OrderLayoutTest, RowColumns) {
  const struct {
    OrderRow row;
    const char* text;
  } rows[] = {
      {{1, "ROVENTELLA - SAN FIDALDO", 326, 60, 200, ""},
       " | 1 | ROVENTELLA - SAN FIDALDO   |    326     |    60    |   200   |   -----    |"},
      {{2, "ASPROMILLE - VALDENZA", 209, 60, 1650, ""},
       " | 2 | ASPROMILLE - VALDENZA      |    209     |    60    |  1650   |   -----    |"},
      {{12, "BORGO", 17, 100, 50, "A B D"},
       " |12 | BORGO                      |     17     |   100    |    50   |   A B D    |"},
      {{3, "UNA STAZIONE LUNGA - UN'ALTRA ANCORA", std::nullopt, 5, 12000, "B"},
       " | 3 | UNA STAZIONE LUNGA - UN'ALT|    xxx     |     5    | 12000   |   B        |"},
  };
  for (const auto& row : rows) {
    const std::string text = order_row_text(row.row);
    EXPECT_EQ(text, row.text);
    EXPECT_EQ(text.size(), 82u);
  }
}

TEST(OrderLayoutTest, FurtherPagesRepeatTheFormAndNumberOn) {
  std::vector<OrderRow> rows;
  for (int32_t i = 1; i <= 30; ++i) rows.push_back({i, "A - B", 100 + i, 60, 200, ""});
  const std::vector<std::string> lines =
      testing::split_crlf(text_file_bytes(slowdown_order_document("A - B", "7", rows)));
  // Two pages of 44 lines, an empty line and a separator between them.
  ASSERT_EQ(lines.size(), 90u);
  EXPECT_EQ(lines[44], "");
  EXPECT_EQ(lines[45], std::string(72, '.'));
  for (size_t page : {0u, 46u}) {
    EXPECT_EQ(lines[page + 1], "                               Modulo M. 3");
    EXPECT_EQ(lines[page + 4], " Linea  A - B");
    EXPECT_EQ(lines[page + 43], "     i giorni esclusi i seguenti:.........");
  }
  EXPECT_EQ(lines[12].substr(0, 6), " | 1 |");
  EXPECT_EQ(lines[35].substr(0, 6), " |24 |");
  EXPECT_EQ(lines[46 + 12].substr(0, 6), " |25 |");
  EXPECT_EQ(lines[46 + 17].substr(0, 6), " |30 |");
  EXPECT_EQ(lines[46 + 18].substr(0, 6), " |   |");
}

}  // namespace
}  // namespace scenario
