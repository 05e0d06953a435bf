// The train sheet's form: the time column's forms, a row's columns, the
// header's values and placeholders, and the pages a number of rows takes.
#include "documents/sheet_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_support.h"

namespace scenario {
namespace {

constexpr int64_t hm(int64_t hours, int64_t minutes) { return (hours * 60 + minutes) * 60; }

TEST(SheetLayoutTest, TimeColumnForms) {
  const struct {
    TimeColumn time;
    const char* text;
  } rows[] = {
      {{TimeForm::none, {}, {}, ""}, "                "},
      {{TimeForm::departure, hm(10, 33), {}, ""}, "         10.33  "},
      {{TimeForm::passing, hm(10, 38), {}, ""}, "      10.38     "},
      {{TimeForm::stop, hm(10, 53), hm(10, 55), ""}, " 10.53 - 10.55  "},
      {{TimeForm::stop, hm(13, 6), hm(13, 7), "(*)"}, "13.06 - 13.07(*)"},
      {{TimeForm::arrival, hm(13, 18), {}, ""}, " 13.18          "},
      // Seconds are dropped; the hours keep two digits and go on past a day.
      {{TimeForm::passing, hm(9, 5) + 59, {}, ""}, "      09.05     "},
      {{TimeForm::arrival, hm(25, 10), {}, "(1)"}, " 25.10(1)       "},
      // A time not known shows the placeholder in its form.
      {{TimeForm::departure, {}, {}, ""}, "         xx.xx  "},
      {{TimeForm::stop, {}, hm(8, 10), ""}, " xx.xx - 08.10  "},
      // A mark too long for the blanks of its form takes them from the left.
      {{TimeForm::departure, hm(10, 33), {}, "(*)"}, "        10.33(*)"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(time_column_text(row.time), row.text) << row.text;
  }
}

TEST(SheetLayoutTest, RowColumns) {
  const struct {
    SheetRow row;
    const char* text;
  } rows[] = {
      {{115, 349970, "VELMORA CENTRALE", {TimeForm::departure, hm(10, 33), {}, ""}, 0},
       " | 115 |     | 349.970  |     | VELMORA CENTRALE           |         10.33  |     |"},
      {{75, 204676, "Km 204.676", {}, 0},
       " |  75 |     | 204.676  |     | Km 204.676                 |                |     |"},
      {{0, 111040, "DORSEL", {TimeForm::arrival, hm(13, 18), {}, ""}, 20},
       " |     |     | 111.040  |     | DORSEL                     | 13.18          | 2.0 |"},
      // Shorter chainages keep their points in line; a name too long is cut.
      {{90, 9500, "UNA STAZIONE DAL NOME TROPPO LUNGO", {}, 5},
       " |  90 |     |   9.500  |     | UNA STAZIONE DAL NOME TROPP|                | 0.5 |"},
      {{0, -50, "", {}, 0},
       " |     |     |  -0.050  |     |                            |                |     |"},
  };
  for (const auto& row : rows) {
    const std::string text = sheet_row_text(row.row);
    EXPECT_EQ(text, row.text);
    EXPECT_EQ(text.size(), 83u);
  }
}

std::vector<std::string> lines_of(const Righe& righe) {
  return testing::split_crlf(text_file_bytes(righe));
}

TEST(SheetLayoutTest, HeaderValuesAndPlaceholders) {
  SheetHeader filled;
  filled.train = "12345";
  filled.origin = "Borgo";
  filled.destination = "Lago";
  filled.maximum_speed = 90;
  filled.rank = "A";
  filled.braked_percentage = 75;
  filled.category = "REG";
  filled.blocked_mass = 1200;
  const std::vector<std::string> lines = lines_of(train_sheet_document(filled, {}, {}));
  EXPECT_EQ(lines[4],
            " |   TRENO n. 12345  |                   da: Borgo                 |    V 90 A    |");
  EXPECT_EQ(lines[5],
            " |___________________|                    a: Lago                  |      75%     |");
  EXPECT_EQ(lines[9], " |        REG        |              |      1200T        |");

  SheetHeader empty;
  empty.train = "7";
  const std::vector<std::string> blank = lines_of(train_sheet_document(empty, {}, {}));
  EXPECT_EQ(blank[4],
            " |   TRENO n. 7      |                   da: xxxxxx                |    Vxxx x    |");
  EXPECT_EQ(blank[5],
            " |___________________|                    a: xxxxxx                |     xxx%     |");
  EXPECT_EQ(blank[9], " |        xxx        |              |      xxxT         |");
}

// How many filled pages, and where each row and footnote lands.
TEST(SheetLayoutTest, PagesHoldThirtyTwoRowsWithTheFootnotesAtTheFootOfTheLast) {
  const struct {
    size_t rows;
    size_t footnotes;
    size_t pages;
  } cases[] = {{0, 0, 1}, {1, 0, 1}, {32, 0, 1}, {33, 0, 2}, {30, 2, 1}, {31, 2, 2}, {64, 1, 3}};
  for (const auto& c : cases) {
    std::vector<SheetRow> rows(c.rows);
    for (size_t i = 0; i < c.rows; ++i) rows[i].place = "ROW " + std::to_string(i + 1);
    std::vector<std::string> footnotes;
    for (size_t i = 0; i < c.footnotes; ++i) footnotes.push_back("(" + std::to_string(i) + ")");
    SheetHeader header;
    header.train = "1";
    const std::vector<std::string> lines = lines_of(train_sheet_document(header, rows, footnotes));
    const std::string title = " |                   |                    SCHEDA ";
    size_t pages = 0;
    size_t blank_pages = 0;
    std::vector<size_t> title_lines;
    for (size_t i = 0; i < lines.size(); ++i) {
      if (!lines[i].starts_with(title)) continue;
      title_lines.push_back(i);
      (lines[i].find("SCHEDA 0/0") != std::string::npos ? blank_pages : pages)++;
    }
    const std::string label = std::to_string(c.rows) + " rows, " + std::to_string(c.footnotes);
    ASSERT_EQ(pages, c.pages) << label;
    EXPECT_EQ(blank_pages, 2u) << label;
    const std::string last = "SCHEDA " + std::to_string(c.pages) + "/" + std::to_string(c.pages);
    EXPECT_NE(lines[title_lines[c.pages - 1]].find(last), std::string::npos) << label;
    // Every filled page: 12 header lines after its title, then 32 rows and the closing rule.
    size_t row = 0;
    for (size_t p = 0; p < c.pages; ++p) {
      const size_t first = title_lines[p] + 13;
      for (size_t k = 0; k < kSheetPageRows; ++k) {
        const std::string& text = lines.at(first + k);
        ASSERT_EQ(text.size(), 83u) << label;
        const bool footnote_slot = p + 1 == c.pages && k >= kSheetPageRows - c.footnotes;
        if (footnote_slot) {
          EXPECT_NE(text.find("(" + std::to_string(k - (kSheetPageRows - c.footnotes)) + ")"),
                    std::string::npos)
              << label;
        } else if (text.find("ROW ") != std::string::npos) {
          EXPECT_NE(text.find("ROW " + std::to_string(++row) + " "), std::string::npos) << label;
        }
      }
      EXPECT_EQ(lines.at(first + kSheetPageRows).substr(0, 8), " |_____|") << label;
    }
    EXPECT_EQ(row, c.rows) << label;
  }
}

}  // namespace
}  // namespace scenario
