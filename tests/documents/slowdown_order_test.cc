// The slowdown order: its 44 lines as written (byte for byte their golden copy
// in golden/), and three slowdown rows that agree with the train source and the
// train sheet.
#include "documents/slowdown_order.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "documents/train_sheet.h"
#include "golden_file.h"
#include "source/builtin_source_records.h"
#include "source/builtin_train.h"
#include "test_support.h"

namespace scenario {
namespace {

using testing::split_crlf;

constexpr int kBars[] = {2, 6, 35, 48, 59, 69, 82};

std::vector<std::string> order_lines() {
  return split_crlf(text_file_bytes(slowdown_order_lines()));
}

// Line `n` of the order, counted from 1.
std::string line(size_t n) { return order_lines().at(n - 1); }

// The cells of a grid line between its bars, blanks kept.
std::vector<std::string> cells(const std::string& text) {
  std::vector<std::string> out;
  for (size_t k = 0; k + 1 < std::size(kBars); ++k) {
    out.push_back(text.substr(kBars[k], kBars[k + 1] - kBars[k] - 1));
  }
  return out;
}

TEST(SlowdownOrderTest, WrittenBytes) {
  const Righe righe = slowdown_order_lines();
  ASSERT_EQ(righe.size(), 45u);
  EXPECT_EQ(righe.back(), kEndMarker);
  const std::string bytes = text_file_bytes(righe);
  EXPECT_EQ(split_crlf(bytes).size(), 44u);
  EXPECT_TRUE(bytes.starts_with("\r\n"));
  EXPECT_TRUE(bytes.ends_with("     i giorni esclusi i seguenti:.........\r\n"));
  for (size_t i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    EXPECT_TRUE((c >= ' ' && c <= '~') || c == '\r' || c == '\n') << "byte " << i;
    if (c == '\n') {
      EXPECT_EQ(bytes[i - 1], '\r') << "byte " << i;
    }
  }
  for (const std::string& text : order_lines()) {
    if (!text.empty()) {
      EXPECT_NE(text.back(), ' ') << text;
    }
  }
}

// Byte for byte its golden copy in golden/, with the form's own quirks: the
// legend in the order A, B, D, C and its spelling "Rallentamneto".
TEST(SlowdownOrderTest, WrittenAsTheGolden) {
  EXPECT_TRUE(testing::matches_golden(
      testing::tests_path("documents/golden/Velmora_Dorsel_904_rallentamenti.txt"),
      text_file_bytes(slowdown_order_lines())));
}

TEST(SlowdownOrderTest, GridLines) {
  for (size_t n = 9; n <= 37; ++n) {
    const std::string text = line(n);
    ASSERT_EQ(text.size(), 82u) << "line " << n;
    EXPECT_EQ(text[0], ' ');
    for (const int bar : kBars) EXPECT_EQ(text[bar - 1], '|') << "line " << n << " bar " << bar;
  }
  EXPECT_TRUE(line(14).ends_with("|    209     |    60    |  1650   |   -----    |"));
}

// Each row: the two stations around the slowdown as the sheet names them, the
// kilometre post just before its start, and the train's speed and length.
TEST(SlowdownOrderTest, RowsAgreeWithTheRoute) {
  const std::vector<testing::StationRow> stations = testing::builtin_stations();
  const std::vector<testing::SourceRecord> slowdowns =
      testing::records_of(testing::read_train_records(builtin_train_source()), "rallentamento");
  ASSERT_EQ(slowdowns.size(), 3u);
  const struct {
    size_t n;
    int from_station;
    int kilometre;
  } rows[] = {{13, 4, 326}, {14, 21, 209}, {15, 26, 182}};
  const std::string sheet = text_file_bytes(train_sheet_lines());
  for (size_t i = 0; i < std::size(rows); ++i) {
    const auto& row = rows[i];
    const std::vector<std::string> c = cells(line(row.n));
    const std::vector<int64_t>& v = slowdowns[i].values;
    EXPECT_EQ(c[0], " " + std::to_string(i + 1) + " ");
    const std::string from = stations[row.from_station - 1].name;
    const std::string to = stations[row.from_station].name;
    std::string between = " " + from + " - " + to;
    between.resize(28, ' ');
    EXPECT_EQ(c[1], between);
    EXPECT_NE(sheet.find("| " + from + " "), std::string::npos) << from;
    EXPECT_NE(sheet.find("| " + to + " "), std::string::npos) << to;
    EXPECT_LT(stations[row.from_station - 1].position, v[0]);
    EXPECT_GT(stations[row.from_station].position, v[0] + v[2]);
    EXPECT_EQ(c[2], "    " + std::to_string(row.kilometre) + "     ");
    const int64_t chainage = 350000 - v[0];  // the start, as the route's chainage
    EXPECT_LT(chainage, row.kilometre * 1000);
    EXPECT_GT(chainage, row.kilometre * 1000 - 1000);
    EXPECT_EQ(c[3], "    " + std::to_string(v[1]) + "    ");
    std::string length = std::to_string(v[2]);
    EXPECT_EQ(c[4], std::string(6 - length.size(), ' ') + length + "   ");
    EXPECT_EQ(c[5], "   -----    ");
  }
}

}  // namespace
}  // namespace scenario
