// The built-in train source: its 202 lines as written, and the train, stations,
// slowdowns and signals it describes as read back through the field reader.
#include "source/builtin_train.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "source/builtin_line.h"
#include "source/builtin_source_records.h"
#include "test_support.h"

namespace scenario {
namespace {

using testing::records_of;
using testing::SourceRecord;
using testing::split_crlf;
using testing::StationRow;

using Values = std::vector<int64_t>;

const std::vector<SourceRecord>& train_records() {
  static const std::vector<SourceRecord> records =
      testing::read_train_records(builtin_train_source());
  return records;
}

std::vector<Values> values_of(const std::string& kind) {
  std::vector<Values> values;
  for (const SourceRecord& r : records_of(train_records(), kind)) values.push_back(r.values);
  return values;
}

TEST(BuiltinTrainTest, EntriesAndSections) {
  const Righe righe = builtin_train_source();
  ASSERT_EQ(righe.size(), 203u);
  EXPECT_EQ(righe[202], kEndMarker);
  const std::map<size_t, std::string> headers = {
      {0, "[generale]"},       {5, "[aderenze]"}, {7, "[vel_limite]"}, {35, "[stazioni]"},
      {71, "[rallentamenti]"}, {75, "[segnali]"}, {200, "[codici]"},   {201, "[fine]"},
  };
  for (size_t i = 0; i < 202; ++i) {
    if (headers.count(i)) {
      EXPECT_EQ(righe[i], headers.at(i)) << "entry " << i;
    } else {
      EXPECT_EQ(righe[i].find('['), std::string::npos) << "entry " << i << ": " << righe[i];
    }
  }
  const struct {
    size_t first;
    size_t last;
    const char* keyword;
  } blocks[] = {
      {6, 6, "aderenza,"},        {8, 34, "velocita,"},  {36, 70, "stazione,"},
      {72, 74, "rallentamento,"}, {76, 199, "segnale,"},
  };
  for (const auto& block : blocks) {
    for (size_t i = block.first; i <= block.last; ++i) {
      EXPECT_TRUE(righe[i].starts_with(block.keyword)) << "entry " << i << ": " << righe[i];
    }
  }
}

TEST(BuiltinTrainTest, WrittenBytes) {
  const std::string bytes = text_file_bytes(builtin_train_source());
  const std::vector<std::string> lines = split_crlf(bytes);
  ASSERT_EQ(lines.size(), 202u);
  EXPECT_EQ(bytes.find(kEndMarker), std::string::npos);
  EXPECT_TRUE(bytes.ends_with("[codici]\r\n[fine]\r\n"));
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\n') {
      EXPECT_EQ(bytes[i - 1], '\r') << "byte " << i;
    }
  }
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    for (const char c : line) EXPECT_TRUE(c >= ' ' && c <= '~' && c != '"') << line;
    EXPECT_FALSE(line.empty()) << "line " << i + 1;
    if (line.empty()) continue;
    EXPECT_NE(line.back(), ',') << line;
    EXPECT_EQ(line.find(",        "), std::string::npos) << "more than seven blanks: " << line;
    // Only the clock line ends with a blank.
    EXPECT_EQ(line.back() == ' ', i == 4) << line;
  }
}

TEST(BuiltinTrainTest, QuotedRowsAsHeld) {
  const Righe righe = builtin_train_source();
  EXPECT_EQ(righe[4], "orologio,    10              32            40 ");
  EXPECT_EQ(
      righe[36],
      "stazione,       0,  8,  500,  0, 0, 0,  1,1,0,  4,1,1,    1,  10,33, 0, VELMORA CENTRALE");
  EXPECT_EQ(righe[70],
            "stazione,  238450,  2,  500,  0, 0, 0,  1,1,0,  2,1,1,    0,  13,18, 0, DORSEL");
  EXPECT_EQ(righe[76], "segnale,    1650,   2, 4, 0,  0, 0,    2,  1,0,0, 0");
  const std::vector<std::string> rows(righe.begin(), righe.end());
  EXPECT_EQ(
      std::count(rows.begin(), rows.end(), "segnale,   14800,   2, 4, 0,  0, 0,    2,  1,0,0, 0"),
      1);
}

TEST(BuiltinTrainTest, ConsistClockAndAdhesion) {
  const struct {
    const char* kind;
    std::vector<Values> values;
  } rows[] = {
      {"vetture", {{14}}},          {"frenata", {{130}}},     {"sabbia", {{200}}},
      {"orologio", {{10, 32, 40}}}, {"aderenza", {{0, 100}}},
  };
  for (const auto& row : rows) EXPECT_EQ(values_of(row.kind), row.values) << row.kind;
}

TEST(BuiltinTrainTest, SpeedLimitProfile) {
  const std::vector<Values> expected = {
      {0, 115},      {1950, 160},   {4450, 150},   {8500, 130},   {12800, 150},  {23950, 140},
      {26550, 150},  {35750, 125},  {37600, 150},  {46550, 145},  {49900, 150},  {75850, 130},
      {79000, 175},  {102000, 135}, {104000, 170}, {118200, 160}, {121450, 135}, {124050, 160},
      {130000, 135}, {139500, 105}, {145300, 75},  {148500, 160}, {156950, 175}, {203000, 110},
      {217950, 150}, {220650, 170}, {236000, 115},
  };
  EXPECT_EQ(values_of("velocit"), expected);
}

// Exactly six speed-limit positions carry a speed-indicator board too.
TEST(BuiltinTrainTest, SpeedLimitsSharingABoardPosition) {
  std::map<int64_t, bool> board_at;
  for (const SourceRecord& r :
       records_of(testing::read_line_records(builtin_line_source()), "indicatori_v")) {
    board_at[r.values[0]] = true;
  }
  std::vector<int64_t> shared;
  for (const Values& v : values_of("velocit")) {
    if (board_at.count(v[0])) shared.push_back(v[0]);
  }
  EXPECT_EQ(shared, (std::vector<int64_t>{1950, 26550, 49900, 148500, 156950, 217950}));
}

TEST(BuiltinTrainTest, Stations) {
  const std::vector<StationRow> stations = testing::builtin_stations();
  ASSERT_EQ(stations.size(), 35u);
  std::map<int64_t, int> types;
  std::map<int64_t, int> lengths;
  for (size_t i = 0; i < stations.size(); ++i) {
    const StationRow& s = stations[i];
    if (i > 0) {
      EXPECT_GT(s.position, stations[i - 1].position);
    }
    EXPECT_EQ(s.position % 50, 0) << s.name;
    ++types[s.type];
    ++lengths[s.length];
    EXPECT_FALSE(s.name.empty());
    for (const char c : s.name) {
      EXPECT_TRUE((c >= 'A' && c <= 'Z') || c == ' ' || c == '\'' || c == '.' || c == '-')
          << s.name;
    }
  }
  EXPECT_EQ(stations.front().position, 0);
  EXPECT_EQ(stations.back().position, 238450);
  EXPECT_EQ(types, (std::map<int64_t, int>{{2, 3}, {4, 2}, {8, 1}, {12, 23}, {22, 1}, {28, 5}}));
  EXPECT_EQ(lengths, (std::map<int64_t, int>{{200, 6}, {400, 4}, {500, 9}, {600, 15}, {800, 1}}));
}

TEST(BuiltinTrainTest, StationStopsAndTimes) {
  struct Stop {
    int64_t type, length, stop_time, hours, minutes;
  };
  const std::map<int64_t, Stop> stops = {
      {0, {8, 500, 1, 10, 33}},        {37650, {4, 600, 45, 10, 55}},
      {61500, {2, 600, 45, 11, 11}},   {87700, {12, 600, 45, 11, 28}},
      {103300, {4, 600, 60, 11, 40}},  {146150, {2, 800, 80, 12, 17}},
      {171850, {12, 400, 45, 12, 32}}, {205550, {12, 500, 45, 12, 51}},
      {238450, {2, 500, 0, 13, 18}},
  };
  int found = 0;
  for (const StationRow& s : testing::builtin_stations()) {
    const auto stop = stops.find(s.position);
    if (stop == stops.end()) {
      EXPECT_EQ(s.stop_time, 0) << s.name;
      EXPECT_EQ(Values({s.hours, s.minutes, s.seconds}), Values({0, 0, 0})) << s.name;
      continue;
    }
    ++found;
    const Stop& e = stop->second;
    EXPECT_EQ(Values({s.type, s.length, s.stop_time, s.hours, s.minutes, s.seconds}),
              Values({e.type, e.length, e.stop_time, e.hours, e.minutes, 0}))
        << s.name;
  }
  EXPECT_EQ(found, 9);
}

TEST(BuiltinTrainTest, StationCodesByKindOfRow) {
  const Values common = {0, 0, 0, 1, 1, 0, 4, 1, 1};
  for (const StationRow& s : testing::builtin_stations()) {
    Values expected;
    if (s.position == 238450) {
      expected = {0, 0, 0, 1, 1, 0, 2, 1, 1};
    } else if (s.position == 61500) {
      expected = {0, 0, 1, 1, 1, 0, 4, 1, 1};
    } else if (s.position == 146150) {
      expected = {1, 1, 0, 4, 1, 0, 2, 1, 1};
    } else if (s.type == 22) {
      expected = {0, 0, 0, 0, 0, 0, 4, 1, 1};
    } else if (s.type == 28) {
      expected = Values(9, 0);
    } else {
      ASSERT_TRUE(s.type == 8 || s.type == 12 || s.type == 4) << s.name;
      expected = common;
    }
    EXPECT_EQ(s.codes, expected) << s.name;
    if (s.type == 22 || s.type == 28) {
      EXPECT_EQ(s.length, 200) << s.name;
    }
  }
}

// Each station zone starts at least 350 m after the previous one ends, so that
// no error 22 stops the parse.
TEST(BuiltinTrainTest, StationZonesKeepTheirDistance) {
  int64_t previous_end = 0;
  bool first = true;
  for (const StationRow& s : testing::builtin_stations()) {
    const bool long_zone = s.type == 7 || s.type == 8;
    const int64_t start = long_zone ? s.position - s.length : s.position - s.length / 2;
    const int64_t end =
        long_zone ? s.position + s.length : s.position + s.length / 2 + (s.codes[2] != 0 ? 50 : 0);
    if (!first) {
      EXPECT_GE(start - 350, previous_end) << s.name;
    }
    first = false;
    previous_end = end;
  }
}

TEST(BuiltinTrainTest, Slowdowns) {
  EXPECT_EQ(values_of("rallentamento"), (std::vector<Values>{{24950, 60, 200, 0, 0, 60},
                                                             {141400, 60, 1650, 0, 1, 0},
                                                             {168900, 40, 200, 0, 1, 40}}));
}

TEST(BuiltinTrainTest, Signals) {
  const std::vector<Values> signals = values_of("segnale");
  ASSERT_EQ(signals.size(), 124u);
  EXPECT_EQ(signals.front()[0], 1650);
  EXPECT_EQ(signals.back()[0], 237650);
  int64_t closest = 1000000;
  int64_t farthest = 0;
  std::map<int64_t, int64_t> tempo;
  std::map<Values, int> patterns;
  std::vector<int64_t> special;
  for (size_t i = 0; i < signals.size(); ++i) {
    const Values& v = signals[i];
    EXPECT_EQ(v[0] % 50, 0) << v[0];
    EXPECT_EQ(v[5], 0) << v[0];  // rapp
    if (i > 0) {
      closest = std::min(closest, v[0] - signals[i - 1][0]);
      farthest = std::max(farthest, v[0] - signals[i - 1][0]);
    }
    if (v[10] != 0) tempo[v[0]] = v[10];
    ++patterns[Values(v.begin() + 1, v.begin() + 10)];
    if (v[1] == 1 || v[2] == 2 || v[2] == 5) special.push_back(v[0]);
  }
  EXPECT_EQ(closest, 1150);
  EXPECT_EQ(farthest, 3800);
  EXPECT_EQ(tempo, (std::map<int64_t, int64_t>{{33550, 120}, {35250, 120}, {36550, 220}}));
  EXPECT_EQ(special, (std::vector<int64_t>{144000, 145200, 236350}));
  const std::map<Values, int> expected = {
      {{2, 4, 0, 0, 0, 0, 0, 0, 0}, 33}, {{2, 4, 0, 0, 0, 2, 1, 0, 0}, 32},
      {{2, 4, 1, 1, 0, 2, 2, 1, 1}, 20}, {{2, 4, 1, 0, 0, 2, 3, 1, 0}, 17},
      {{2, 4, 1, 0, 0, 1, 3, 1, 0}, 8},  {{2, 3, 1, 1, 0, 2, 2, 1, 1}, 7},
      {{2, 3, 0, 0, 0, 2, 1, 0, 0}, 2},  {{2, 3, 1, 0, 0, 2, 3, 1, 0}, 1},
      {{2, 4, 1, 0, 0, 2, 2, 1, 0}, 1},  {{1, 3, 4, 0, 0, 0, 0, 0, 0}, 1},
      {{2, 2, 3, 1, 0, 0, 0, 0, 0}, 1},  {{2, 5, 1, 0, 0, 1, 3, 1, 0}, 1},
  };
  EXPECT_EQ(patterns, expected);
}

}  // namespace
}  // namespace scenario
