// The slowdown order's rows computed from a scenario: travel order, the
// stations that enclose each slowdown or the one that holds it, the kilometre
// post before it and the prescriptions A, B and D.
#include "documents/slowdown_rows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "compiler/compile_harness.h"

namespace scenario {
namespace {

using testing::compile_text;
using testing::crlf;
using testing::small_line_source;

// Stations at 0 (zone -500 to 500), 4000 (3700 to 4300) and 8000 (7750 to
// 8250) on the small line, whose chainage falls from km 350; the slowdowns
// are written out of travel order.
std::string train_with_slowdowns() {
  return crlf({
      "[generale]",
      "percentuale massa frenata,    100",
      "[vel_limite]",
      "velocita,     0,  100",
      "[stazioni]",
      "stazione,       0,  8,  500,  0, 0, 0,  1,1,0,  4,1,1,    1,  10, 0, 0, ALFA",
      "stazione,    4000, 12,  600,  0, 0, 0,  1,1,0,  4,1,1,    0,   0, 0, 0, BETA",
      "stazione,    8000,  2,  500,  0, 0, 0,  1,1,0,  2,1,1,    0,  10,20, 0, GAMMA",
      "[rallentamenti]",
      "rallentamento,    6000,  40,   200,  1,  0,   0",
      "rallentamento,    7800,  30,   200,  0,  0,   0",
      "rallentamento,    2000,  50,   300,  0,  0,   0",
      "rallentamento,    2350,  50,   400,  0,  0,   0",
      "rallentamento,    3000,  60,  1500,  0,  0,   0",
      "[fine]",
  });
}

TEST(SlowdownRowsTest, TravelOrderStationsKilometresAndPrescriptions) {
  const auto compiled = compile_text(small_line_source(), train_with_slowdowns());
  ASSERT_TRUE(compiled->ctx.trail.recordings.empty());
  const std::vector<OrderRow> rows = slowdown_rows(compiled->ctx, route_stations(compiled->ctx));
  const struct {
    const char* between;
    int64_t kilometre;
    int32_t speed;
    int32_t length;
    const char* prescriptions;
  } expected[] = {
      {"ALFA - BETA", 348, 50, 300, "D"},  // the next starts 50 m after its end
      {"ALFA - BETA", 348, 50, 400, "D"},
      {"ALFA - GAMMA", 347, 60, 1500, "B"},  // runs through BETA's zone
      {"BETA - GAMMA", 344, 40, 200, "A"},   // to be respected with the whole train
      {"GAMMA", 343, 30, 200, ""},           // inside GAMMA's zone
  };
  ASSERT_EQ(rows.size(), std::size(expected));
  for (size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].number, static_cast<int32_t>(i + 1));
    EXPECT_EQ(rows[i].between, expected[i].between) << i;
    EXPECT_EQ(rows[i].kilometre, expected[i].kilometre) << i;
    EXPECT_EQ(rows[i].speed, expected[i].speed) << i;
    EXPECT_EQ(rows[i].length, expected[i].length) << i;
    EXPECT_EQ(rows[i].prescriptions, expected[i].prescriptions) << i;
  }
  EXPECT_EQ(line_name(route_stations(compiled->ctx)), "ALFA - GAMMA");
}

TEST(SlowdownRowsTest, KilometrePostPassedLast) {
  using References = std::vector<ChainageReference>;
  const Chainage falling(References{{0, 350000, true}});
  const Chainage rising(References{{0, 12300, false}});
  const Chainage with_jump(References{{0, 100000, true}, {6000, 80000, true}});
  const struct {
    const Chainage* chainage;
    int32_t metres;
    int64_t kilometre;
  } rows[] = {
      {&falling, 24950, 326},  // km 325.050: km 326 was passed at 24000
      {&falling, 25000, 325},  // on the post itself
      {&falling, 0, 350},
      {&rising, 5000, 17},  // km 17.300
      {&rising, 200, 12},   // no post since the start: the one behind it
      {&with_jump, 5500, 95},
      {&with_jump, 6500, 80},  // the jump to km 80 stands at a whole kilometre
      {&with_jump, 7000, 79},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(kilometre_post_before(*row.chainage, row.metres), row.kilometre) << row.metres;
  }
}

}  // namespace
}  // namespace scenario
