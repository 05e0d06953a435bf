// The built-in line source: its 171 lines as written, and the route it
// describes as read back through the field reader.
#include "source/builtin_line.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "source/builtin_source_records.h"
#include "test_support.h"

namespace scenario {
namespace {

using testing::records_of;
using testing::SourceRecord;
using testing::split_crlf;

const std::vector<SourceRecord>& line_records() {
  static const std::vector<SourceRecord> records =
      testing::read_line_records(builtin_line_source());
  return records;
}

std::vector<SourceRecord> line_records_of(const std::string& kind) {
  return records_of(line_records(), kind);
}

TEST(BuiltinLineTest, EntriesAndSections) {
  const Righe righe = builtin_line_source();
  ASSERT_EQ(righe.size(), 172u);
  EXPECT_EQ(righe[171], kEndMarker);
  const std::map<size_t, std::string> headers = {
      {0, "[generale]"},   {9, "[curve]"},         {73, "[pendenze]"}, {117, "[montagne]"},
      {121, "[cartelli]"}, {163, "[indicazioni]"}, {170, "[fine]"},
  };
  for (size_t i = 0; i < 171; ++i) {
    const bool is_header = righe[i].find('[') != std::string::npos;
    if (headers.count(i)) {
      EXPECT_EQ(righe[i], headers.at(i)) << "entry " << i;
    } else {
      EXPECT_FALSE(is_header) << "entry " << i << ": " << righe[i];
    }
  }
  EXPECT_EQ(righe[162], "");
}

TEST(BuiltinLineTest, WrittenBytes) {
  const std::string bytes = text_file_bytes(builtin_line_source());
  const std::vector<std::string> lines = split_crlf(bytes);
  ASSERT_EQ(lines.size(), 171u);
  EXPECT_EQ(lines[162], "");  // line 163: nothing but CR LF
  EXPECT_NE(bytes.find("\r\n[cartelli]\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("\r\n\r\n[indicazioni]\r\n"), std::string::npos);
  EXPECT_EQ(bytes.find(kEndMarker), std::string::npos);
  EXPECT_EQ(bytes.substr(bytes.size() - 8), "[fine]\r\n");
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\n') {
      EXPECT_EQ(bytes[i - 1], '\r') << "byte " << i;
    }
    if (bytes[i] == '\r') {
      EXPECT_EQ(bytes[i + 1], '\n') << "byte " << i;
    }
  }
}

TEST(BuiltinLineTest, LinesArePlainRecords) {
  for (const std::string& line : split_crlf(text_file_bytes(builtin_line_source()))) {
    for (const char c : line) {
      EXPECT_TRUE(c >= ' ' && c <= '~' && c != '"') << line;
    }
    EXPECT_EQ(line.find(",        "), std::string::npos) << "more than seven blanks: " << line;
    if (line.empty()) continue;
    EXPECT_NE(line.back(), ' ') << line;
    EXPECT_NE(line.back(), ',') << line;
    // A dash in a record line would make the reader take it for a comment.
    if (line.find(',') == std::string::npos) {
      EXPECT_EQ(line.find('-'), std::string::npos) << line;
    }
  }
}

TEST(BuiltinLineTest, QuotedRowsAsHeld) {
  const Righe righe = builtin_line_source();
  EXPECT_EQ(righe[1], "lunghezza percorso,    243000");
  EXPECT_EQ(righe[10], "curvas3, 1750, 600");
  const std::vector<std::string> rows(righe.begin(), righe.end());
  for (const char* quoted : {"indicatori_vmax,  143500,  60,  70,  75,  2,  ,  ,  ,  0",
                             "montagna,   141550,  143050,  11"}) {
    EXPECT_EQ(std::count(rows.begin(), rows.end(), quoted), 1) << quoted;
  }
  int curves_with_two_blanks = 0;
  for (size_t i = 10; i <= 72; ++i) {
    if (righe[i].find(",  ") != std::string::npos) ++curves_with_two_blanks;
  }
  EXPECT_EQ(curves_with_two_blanks, 3);
}

TEST(BuiltinLineTest, GeneralRecords) {
  const struct {
    const char* keyword;
    std::vector<int64_t> values;
  } rows[] = {
      {"lunghezza percorso", {243000}},
      {"progressiva chilometrica uno", {0, 350000, 1}},
      {"progressiva chilometrica due", {0, 0, 0}},
      {"progressiva chilometrica tre", {0, 0, 0}},
      {"sfondo uno", {1}},
      {"sfondo due", {0}},
      {"sfondo tre", {0}},
      {"ripetizione segnali 4 codici", {1650, 241000}},
  };
  const std::vector<SourceRecord>& records = line_records();
  ASSERT_GE(records.size(), std::size(rows));
  for (size_t i = 0; i < std::size(rows); ++i) {
    EXPECT_EQ(records[i].keyword, rows[i].keyword);
    EXPECT_EQ(records[i].values, rows[i].values) << rows[i].keyword;
  }
}

TEST(BuiltinLineTest, Curves) {
  const std::vector<SourceRecord> curves = line_records_of("curva");
  ASSERT_EQ(curves.size(), 63u);
  std::map<char, int> sides;
  std::map<char, int> classes;
  int64_t previous_end = 0;
  int64_t longest = 0;
  std::vector<std::string> class6;
  for (const SourceRecord& c : curves) {
    ASSERT_EQ(c.keyword.size(), 7u) << c.keyword;
    ++sides[c.keyword[5]];
    ++classes[c.keyword[6]];
    const int64_t start = c.values[0];
    const int64_t length = c.values[1];
    EXPECT_GT(start, previous_end) << c.keyword << " " << start;  // no overlap, no contact
    EXPECT_EQ(start % 50, 0) << start;
    EXPECT_EQ(length % 50, 0) << start;
    EXPECT_GE(length, 100) << start;
    EXPECT_LE(length, 3000) << start;
    previous_end = start + length;
    longest = std::max(longest, length);
    if (c.keyword[6] == '6')
      class6.push_back(c.keyword + " " + std::to_string(start) + " " + std::to_string(length));
  }
  EXPECT_EQ(sides, (std::map<char, int>{{'d', 32}, {'s', 31}}));
  EXPECT_EQ(classes,
            (std::map<char, int>{{'1', 6}, {'2', 6}, {'3', 13}, {'4', 23}, {'5', 12}, {'6', 3}}));
  EXPECT_EQ(curves.front().keyword, "curvas3");
  EXPECT_EQ(curves.front().values, (std::vector<int64_t>{1750, 600}));
  EXPECT_EQ(curves.back().keyword, "curvad3");
  EXPECT_EQ(curves.back().values, (std::vector<int64_t>{237100, 1000}));
  EXPECT_EQ(class6, (std::vector<std::string>{"curvad6 35150 300", "curvad6 144800 400",
                                              "curvas6 145500 250"}));
  std::vector<std::string> longest_curves;
  for (const SourceRecord& c : curves) {
    if (c.values[1] == longest)
      longest_curves.push_back(c.keyword + " " + std::to_string(c.values[0]));
  }
  EXPECT_EQ(longest, 3000);
  EXPECT_EQ(longest_curves, std::vector<std::string>{"curvas3 125400"});
  const auto shortest =
      std::min_element(curves.begin(), curves.end(),
                       [](const auto& a, const auto& b) { return a.values[1] < b.values[1]; });
  EXPECT_EQ(shortest->values[1], 100);
}

TEST(BuiltinLineTest, Gradients) {
  const std::vector<SourceRecord> gradients = line_records_of("pendenza");
  ASSERT_EQ(gradients.size(), 43u);
  std::vector<std::pair<int64_t, int64_t>> profile;
  for (const SourceRecord& g : gradients) profile.emplace_back(g.values[0], g.values[1]);
  const std::vector<std::pair<int64_t, int64_t>> start(profile.begin(), profile.begin() + 4);
  const std::vector<std::pair<int64_t, int64_t>> end(profile.end() - 3, profile.end());
  EXPECT_EQ(start,
            (std::vector<std::pair<int64_t, int64_t>>{{0, 0}, {5000, -8}, {7000, 0}, {11000, 5}}));
  EXPECT_EQ(end,
            (std::vector<std::pair<int64_t, int64_t>>{{233000, -6}, {237000, 0}, {239000, 0}}));

  int zeros = 0;
  std::vector<std::string> steep;  // the stretches of -10 or steeper, or +7 or steeper
  for (size_t i = 0; i < profile.size(); ++i) {
    const auto [position, gradient] = profile[i];
    if (i > 0) {
      EXPECT_GT(position, profile[i - 1].first);
    }
    EXPECT_EQ(position % 50, 0) << position;
    EXPECT_GE(gradient, -12) << position;
    EXPECT_LE(gradient, 7) << position;
    if (gradient == 0) ++zeros;
    if (gradient <= -10 || gradient >= 7) {
      ASSERT_LT(i + 1, profile.size());
      steep.push_back(std::to_string(gradient) + " " + std::to_string(position) + "-" +
                      std::to_string(profile[i + 1].first));
    }
  }
  EXPECT_EQ(zeros, 15);
  EXPECT_EQ(steep, (std::vector<std::string>{"-10 141000-145000", "7 152000-160000",
                                             "-12 212650-218000"}));
}

TEST(BuiltinLineTest, Mountains) {
  std::vector<std::vector<int64_t>> mountains;
  for (const SourceRecord& m : line_records_of("montagna")) mountains.push_back(m.values);
  EXPECT_EQ(mountains, (std::vector<std::vector<int64_t>>{
                           {141550, 143050, 11}, {145350, 145750, 11}, {212650, 214650, 11}}));
}

TEST(BuiltinLineTest, SpeedIndicatorBoards) {
  const std::vector<SourceRecord> boards = line_records_of("indicatori_v");
  ASSERT_EQ(boards.size(), 40u);
  EXPECT_EQ(boards.front().values, (std::vector<int64_t>{700, 100, 110, 115, 0, 100, 110, 115, 0}));
  EXPECT_EQ(boards.back().values[0], 234800);
  std::map<int64_t, std::vector<int64_t>> by_position;
  int equal_sides = 0;
  int64_t slowest = 1000;
  int64_t fastest = 0;
  std::vector<int64_t> fastest_at;
  for (size_t i = 0; i < boards.size(); ++i) {
    const std::vector<int64_t>& v = boards[i].values;
    if (i > 0) {
      EXPECT_GT(v[0], boards[i - 1].values[0]);
    }
    EXPECT_EQ(v[0] % 50, 0) << v[0];
    EXPECT_TRUE(v[1] <= v[2] && v[2] <= v[3]) << v[0];
    for (int s = 1; s <= 3; ++s) {
      EXPECT_EQ(v[s] % 5, 0) << v[0];
      slowest = std::min(slowest, v[s]);
      fastest = std::max(fastest, v[s]);
    }
    if (v[3] == 180) fastest_at.push_back(v[0]);
    if (std::equal(v.begin() + 1, v.begin() + 5, v.begin() + 5)) ++equal_sides;
    by_position[v[0]] = v;
  }
  EXPECT_EQ(slowest, 60);
  EXPECT_EQ(fastest, 180);
  EXPECT_EQ(fastest_at, (std::vector<int64_t>{79050, 156950}));
  EXPECT_EQ(by_position[79050], (std::vector<int64_t>{79050, 140, 160, 180, 0, 140, 160, 180, 0}));
  EXPECT_EQ(equal_sides, 37);

  // Each announced limit: boards with 2, 1 and 0 stripes.
  const struct {
    int64_t positions[3];
    int64_t speeds[3];
    bool right_side;
  } limits[] = {
      {{74200, 74400, 74600}, {120, 125, 130}, true},
      {{100600, 100800, 101050}, {120, 130, 135}, true},
      {{137500, 137900, 138300}, {90, 95, 105}, true},
      {{143500, 143800, 144100}, {60, 70, 75}, false},
      {{201200, 201500, 201800}, {100, 105, 110}, true},
      {{234200, 234500, 234800}, {100, 110, 115}, true},
  };
  for (const auto& limit : limits) {
    for (int k = 0; k < 3; ++k) {
      const int64_t p = limit.positions[k];
      const int64_t stripes = 2 - k;
      const auto& [a, b, c] = limit.speeds;
      const std::vector<int64_t> expected =
          limit.right_side ? std::vector<int64_t>{p, a, b, c, stripes, a, b, c, stripes}
                           : std::vector<int64_t>{p, a, b, c, stripes, 0, 0, 0, 0};
      EXPECT_EQ(by_position[p], expected) << p;
    }
  }
  int announcing = 0;
  for (const SourceRecord& board : boards) {
    if (board.values[4] > 0) ++announcing;
  }
  EXPECT_EQ(announcing, 12);  // the six limits, two announcing boards each
}

TEST(BuiltinLineTest, IndicationBoardsCarryTheirChainage) {
  const std::vector<SourceRecord> boards = line_records_of("cartello");
  ASSERT_EQ(boards.size(), 6u);
  const std::vector<int64_t> positions = {4400, 8500, 35650, 75800, 139500, 145300};
  const std::map<int64_t, std::string> plain = {{4400, "(Km 345+557)"},
                                                {8500, "(km 341+500)"},
                                                {139500, "(Km 210+500)"},
                                                {145300, "(Km 204+676)"}};
  for (size_t i = 0; i < boards.size(); ++i) {
    const int64_t p = boards[i].values[0];
    const std::string& text = boards[i].text;
    EXPECT_EQ(p, positions[i]);
    EXPECT_EQ(boards[i].keyword, "cartello_indicatore");
    const size_t group = text.rfind('(');
    ASSERT_NE(group, std::string::npos) << text;
    const std::string chainage = text.substr(group);
    ASSERT_EQ(chainage.size(), 12u) << text;
    EXPECT_TRUE(chainage.starts_with("(Km ") || (p == 8500 && chainage.starts_with("(km ")))
        << text;
    EXPECT_EQ(chainage[7], '+') << text;
    EXPECT_EQ(chainage.back(), ')') << text;
    const int64_t metres =
        std::stoll(chainage.substr(4, 3)) * 1000 + std::stoll(chainage.substr(8, 3));
    EXPECT_LE(std::abs(metres - (350000 - p)), 50) << text;
    const auto groups = std::count(text.begin(), text.end(), '(');
    if (plain.count(p)) {
      EXPECT_EQ(text, plain.at(p));
    } else {
      EXPECT_EQ(groups, 3) << text;  // kind of watercourse, its name, chainage
    }
  }
}

}  // namespace
}  // namespace scenario
