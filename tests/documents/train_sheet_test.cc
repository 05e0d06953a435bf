// The train sheet: byte for byte its golden copy in golden/, its 204 lines and
// frames in place, and a route table that agrees with the built-in train source.
#include "documents/train_sheet.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "golden_file.h"
#include "source/builtin_source_records.h"
#include "source/builtin_train.h"
#include "test_support.h"

namespace scenario {
namespace {

using testing::split_crlf;

constexpr size_t kLines = 204;
constexpr int kBars[] = {2, 8, 14, 25, 31, 60, 77, 83};
const std::string kClosingRule =
    " |_____|_____|__________|_____|____________________________|________________|_____|";
const std::string kEmptyRow =
    " |     |     |          |     |                            |                |     |";

std::vector<std::string> sheet_lines() { return split_crlf(text_file_bytes(train_sheet_lines())); }

// The text of line `n` of the sheet, counted from 1.
std::string line(const std::vector<std::string>& lines, size_t n) { return lines.at(n - 1); }

// One timetable row cut at its bars, blanks kept.
struct SheetRow {
  std::string speed, marc, chainage, rs, place, time, rec;
};

SheetRow cut_row(const std::string& text) {
  auto column = [&](int k) { return text.substr(kBars[k], kBars[k + 1] - kBars[k] - 1); };
  return {column(0), column(1), column(2), column(3), column(4), column(5), column(6)};
}

std::string trimmed(const std::string& s) {
  const size_t first = s.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

// The 58 rows of the route table: lines 17 to 48 and 70 to 95.
std::vector<SheetRow> route_rows() {
  const std::vector<std::string> lines = sheet_lines();
  std::vector<SheetRow> rows;
  for (size_t n = 17; n <= 48; ++n) rows.push_back(cut_row(line(lines, n)));
  for (size_t n = 70; n <= 95; ++n) rows.push_back(cut_row(line(lines, n)));
  return rows;
}

bool is_station_row(const SheetRow& row) {
  const std::string place = trimmed(row.place);
  for (const char* marker :
       {"Cippo Km ", "Km ", "SI COD Km ", "Segn.Prot. ", "Torrente ", "Imb. "}) {
    if (place.starts_with(marker)) return false;
  }
  return true;
}

std::string upper(std::string s) {
  for (char& c : s) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return s;
}

TEST(TrainSheetTest, WrittenAsTheGolden) {
  EXPECT_TRUE(testing::matches_golden(
      testing::tests_path("documents/golden/Velmora_Dorsel_904_scheda_treno.txt"),
      text_file_bytes(train_sheet_lines())));
}

TEST(TrainSheetTest, WrittenBytes) {
  const Righe righe = train_sheet_lines();
  ASSERT_EQ(righe.size(), kLines + 1);
  EXPECT_EQ(righe.back(), kEndMarker);
  const std::string bytes = text_file_bytes(righe);
  EXPECT_EQ(split_crlf(bytes).size(), kLines);
  EXPECT_TRUE(bytes.ends_with(kClosingRule + "\r\n\r\n"));
  for (size_t i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    EXPECT_TRUE((c >= ' ' && c <= '~') || c == '\r' || c == '\n') << "byte " << i;
    if (c == '\n') {
      EXPECT_EQ(bytes[i - 1], '\r') << "byte " << i;
    }
  }
}

TEST(TrainSheetTest, PageLayout) {
  const std::vector<std::string> lines = sheet_lines();
  for (size_t n : {1, 2, 50, 51, 52, 54, 55, 103, 104, 105, 107, 154, 155, 157, 204}) {
    EXPECT_EQ(line(lines, n), "") << "line " << n;
  }
  EXPECT_EQ(line(lines, 53), std::string(81, '.'));
  EXPECT_EQ(line(lines, 106), std::string(72, '.'));
  EXPECT_EQ(line(lines, 156), std::string(72, '.'));
  const struct {
    size_t first;
    const char* title;
  } blocks[] = {{3, "SCHEDA 1/2"}, {56, "SCHEDA 2/2"}, {108, "SCHEDA 0/0"}, {158, "SCHEDA 0/0"}};
  for (const auto& block : blocks) {
    EXPECT_EQ(line(lines, block.first + 1).substr(42, 10), block.title) << block.first;
    EXPECT_EQ(line(lines, block.first + 9), "") << block.first;
    EXPECT_EQ(line(lines, block.first + 13), kClosingRule) << block.first;
  }
  for (size_t n : {49, 102, 153, 203}) EXPECT_EQ(line(lines, n), kClosingRule) << "line " << n;
  for (size_t n = 96; n <= 99; ++n) EXPECT_EQ(line(lines, n), kEmptyRow) << "line " << n;
  for (size_t first : {122, 172}) {
    for (size_t n = first; n < first + 31; ++n)
      EXPECT_EQ(line(lines, n), kEmptyRow) << "line " << n;
  }
  // In every header, filled or template, both colons stand at position 44.
  for (const auto& block : blocks) {
    EXPECT_EQ(line(lines, block.first + 2).find("da:"), 41u) << block.first;
    EXPECT_EQ(line(lines, block.first + 3).find("a:"), 42u) << block.first;
  }
}

// Trailing blanks only in line 7 of each header block; every table line
// (headings, rows, rules) is 83 characters with its bars in place.
TEST(TrainSheetTest, LineWidthsAndBars) {
  const std::vector<std::string> lines = sheet_lines();
  std::vector<size_t> table_lines;
  for (const auto& [first, last] : {std::pair{14, 49}, {67, 102}, {119, 153}, {169, 203}}) {
    for (size_t n = first; n <= static_cast<size_t>(last); ++n) table_lines.push_back(n);
  }
  for (size_t n : table_lines) {
    const std::string& text = line(lines, n);
    EXPECT_EQ(text.size(), 83u) << "line " << n;
    for (const int bar : kBars) EXPECT_EQ(text[bar - 1], '|') << "line " << n << " bar " << bar;
  }
  for (size_t n = 1; n <= kLines; ++n) {
    const std::string& text = line(lines, n);
    const bool header_line_7 = n == 9 || n == 62 || n == 114 || n == 164;
    if (!text.empty()) {
      EXPECT_EQ(text.back() == ' ', header_line_7) << "line " << n;
    }
  }
}

TEST(TrainSheetTest, RouteTableColumns) {
  const std::vector<SheetRow> rows = route_rows();
  ASSERT_EQ(rows.size(), 58u);
  double previous = 350.0;
  for (const SheetRow& row : rows) {
    const std::string place = trimmed(row.place);
    EXPECT_EQ(row.marc, "     ");
    EXPECT_EQ(row.rs, "     ");
    EXPECT_TRUE(row.speed == "     " || (row.speed[0] == ' ' && row.speed[4] == ' ')) << place;
    EXPECT_TRUE(row.chainage.starts_with(" ") && row.chainage.ends_with("  ")) << place;
    const std::string chainage = trimmed(row.chainage);
    ASSERT_EQ(chainage.size(), 7u) << place;
    EXPECT_EQ(chainage[3], '.') << place;
    EXPECT_LT(std::stod(chainage), previous) << place;
    previous = std::stod(chainage);
    EXPECT_EQ(row.place[0], ' ') << place;
    EXPECT_TRUE(row.rec == "     " || (row.rec[0] == ' ' && row.rec[2] == '.')) << place;
    // Marker rows that end in a chainage repeat their own column 3.
    if (place.find("Km ") != std::string::npos) {
      EXPECT_TRUE(place.ends_with("Km " + chainage)) << place;
      EXPECT_EQ(row.time, std::string(16, ' ')) << place;
    }
  }
  EXPECT_EQ(trimmed(rows.front().chainage), "349.970");
  EXPECT_EQ(trimmed(rows.back().chainage), "111.040");
}

// Column 1 holds the train's own 27 speed limits, in the same order.
TEST(TrainSheetTest, SpeedLimitsAreTheTrainsProfile) {
  std::vector<int64_t> sheet;
  for (const SheetRow& row : route_rows()) {
    if (row.speed != "     ") sheet.push_back(std::stoll(row.speed));
  }
  std::vector<int64_t> train;
  for (const auto& r :
       testing::records_of(testing::read_train_records(builtin_train_source()), "velocit")) {
    train.push_back(r.values[1]);
  }
  EXPECT_EQ(sheet.size(), 27u);
  EXPECT_EQ(sheet, train);
}

// Station k of the sheet is the k-th station of the train source, near the
// position its chainage gives.
TEST(TrainSheetTest, StationsAreTheTrainsStations) {
  const std::vector<testing::StationRow> stations = testing::builtin_stations();
  std::vector<SheetRow> station_rows;
  for (const SheetRow& row : route_rows()) {
    if (is_station_row(row)) station_rows.push_back(row);
  }
  ASSERT_EQ(station_rows.size(), stations.size());
  for (size_t k = 0; k < stations.size(); ++k) {
    EXPECT_EQ(trimmed(station_rows[k].place), stations[k].name) << "station " << k + 1;
    EXPECT_NE(trimmed(station_rows[k].time), "") << stations[k].name;
    const std::string chainage = trimmed(station_rows[k].chainage);
    const int64_t metres =
        std::stoll(chainage.substr(0, 3)) * 1000 + std::stoll(chainage.substr(4));
    // Stations 22 and 35 stand where the route data puts them.
    if (k + 1 != 22 && k + 1 != 35) {
      EXPECT_LE(std::abs(stations[k].position - (350000 - metres)), 50) << stations[k].name;
    }
  }
}

// The sheet's departures at the stops are the train source's scheduled times.
TEST(TrainSheetTest, TimesAgreeWithTheTrain) {
  std::vector<std::string> sheet_times;
  for (const SheetRow& row : route_rows()) {
    if (!is_station_row(row)) continue;
    const std::string time = trimmed(row.time);
    const size_t dash = time.find(" - ");
    if (row.time.starts_with("         ")) {
      sheet_times.push_back(time);  // departure only: the origin
    } else if (dash != std::string::npos) {
      sheet_times.push_back(time.substr(dash + 3, 5));
    } else if (row.time.ends_with("          ")) {
      sheet_times.push_back(time);  // arrival only: the terminus
    }
  }
  std::vector<std::string> train_times;
  for (const testing::StationRow& s : testing::builtin_stations()) {
    if (s.hours == 0) continue;
    char text[8];
    std::snprintf(text, sizeof text, "%02d.%02d", static_cast<int>(s.hours),
                  static_cast<int>(s.minutes));
    train_times.push_back(text);
  }
  // The stop at station 33 lasts only until the end of September: not in the train.
  std::erase(sheet_times, "13.07");
  EXPECT_EQ(sheet_times, train_times);
}

TEST(TrainSheetTest, TimeForms) {
  const std::vector<std::string> lines = sheet_lines();
  const std::map<size_t, std::string> times = {
      {17, "         10.33  "}, {21, "      10.38     "}, {29, " 10.53 - 10.55  "},
      {92, "13.06 - 13.07(*)"}, {95, " 13.18          "},
  };
  for (const auto& [n, time] : times) EXPECT_EQ(cut_row(line(lines, n)).time, time) << "line " << n;
}

TEST(TrainSheetTest, ProtectionSignalsNameTheNextStation) {
  const std::vector<SheetRow> rows = route_rows();
  int found = 0;
  for (size_t i = 0; i + 1 < rows.size(); ++i) {
    const std::string place = trimmed(rows[i].place);
    if (!place.starts_with("Segn.Prot. ")) continue;
    ++found;
    const std::string name = place.substr(11);
    EXPECT_NE(name, upper(name)) << "mixed case: " << name;
    EXPECT_EQ(upper(name), trimmed(rows[i + 1].place));
  }
  EXPECT_EQ(found, 2);
  // The protection signal of station 19 closes page 1; the station opens page 2.
  EXPECT_TRUE(trimmed(rows[31].place).starts_with("Segn.Prot. "));
  EXPECT_TRUE(is_station_row(rows[32]));
}

TEST(TrainSheetTest, Footnote) {
  const std::vector<std::string> lines = sheet_lines();
  const SheetRow first = cut_row(line(lines, 100));
  const SheetRow second = cut_row(line(lines, 101));
  ASSERT_TRUE(first.place.starts_with(" (*) Ferma a "));
  EXPECT_EQ(upper(trimmed(first.place).substr(12)), testing::builtin_stations()[32].name);
  EXPECT_EQ(second.place, "     fino al 29/09/01       ");
  for (const SheetRow& row : {first, second}) {
    EXPECT_EQ(row.speed + row.marc + row.chainage + row.rs + row.time + row.rec,
              std::string(5 + 5 + 10 + 5 + 16 + 5, ' '));
  }
}

}  // namespace
}  // namespace scenario
