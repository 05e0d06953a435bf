// The mappings between a route position and a cell, at their edges: negative
// positions, halves that round to the even neighbour, the largest route.
#include "compiler/cells.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace scenario {
namespace {

TEST(CellsTest, ThreeMappingsOfAPosition) {
  const struct {
    int64_t position;
    int64_t of, before, two_before;
  } rows[] = {
      {0, 1, 0, -1},
      {50, 2, 1, 0},
      {1000, 21, 20, 19},
      {1024, 21, 20, 19},
      {1025, 22, 20, 20},  // 21.5 and 19.5 go up, 20.5 down
      {1075, 22, 22, 20},  // 22.5 and 20.5 go down, 21.5 up
      {75, 2, 2, 0},
      {125, 4, 2, 2},
      {-25, 0, 0, -2},
      {-75, 0, -2, -2},
      {-125, -2, -2, -4},
      {14800, 297, 296, 295},
      {1007000, 20141, 20140, 20139},  // the last metre of the longest route
      {2147483647, 42949674, 42949673, 42949672},
      {-2147483648LL, -42949672, -42949673, -42949674},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.position);
    EXPECT_EQ(cell_of(row.position), row.of);
    EXPECT_EQ(cell_before(row.position), row.before);
    EXPECT_EQ(cell_two_before(row.position), row.two_before);
  }
}

// The last cell index of a route of length L: round((L + 7000) / 50).
TEST(CellsTest, LastCellOfRoute) {
  const struct {
    int32_t length;
    int64_t last_cell;
  } rows[] = {
      {243000, 5000}, {3, 140}, {25, 140}, {75, 142}, {1000000, 20140}, {-7000, 0},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(cell_before(row.length + 7000), row.last_cell) << row.length;
  }
}

TEST(CellsTest, CellStretchesAndTheGrid) {
  for (const int64_t c : {-1, 0, 1, 2, 297, 20140}) {
    SCOPED_TRACE(c);
    EXPECT_EQ(cell_of(cell_start(c)), c);
    EXPECT_EQ(cell_before(cell_end(c)), c);
    EXPECT_EQ(cell_ending_at(cell_end(c)), c);
    EXPECT_EQ(cell_end(c) - cell_start(c), kCellMetres);
  }
  const struct {
    int64_t position;
    bool on_grid;
    int64_t nearest, below;
  } rows[] = {
      {0, true, 0, 0},          {49, false, 50, 0},        {75, false, 100, 50},
      {125, false, 100, 100},   {-1, false, 0, -50},       {-50, true, -50, -50},
      {-75, false, -100, -100}, {-125, false, -100, -150}, {1006999, false, 1007000, 1006950},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.position);
    EXPECT_EQ(on_cell_grid(row.position), row.on_grid);
    EXPECT_EQ(nearest_grid_position(row.position), row.nearest);
    EXPECT_EQ(grid_position_below(row.position), row.below);
  }
}

// A record lies inside a row of last cell n up to 100 m before the row's end,
// a station up to 800 m before it.
TEST(CellsTest, InsideTheRow) {
  const int32_t n = 20140;  // the longest route
  EXPECT_EQ(last_record_position(n), 1006900);
  EXPECT_EQ(last_station_position(n), 1006200);
  EXPECT_TRUE(record_inside_row(1006900, n));
  EXPECT_FALSE(record_inside_row(1006901, n));
  EXPECT_TRUE(station_inside_row(1006200, n));
  EXPECT_FALSE(station_inside_row(1006201, n));
  EXPECT_TRUE(record_inside_row(-2147483648LL, n));
  EXPECT_FALSE(record_inside_row(2147483647, n));
  EXPECT_EQ(last_record_position(0), -100);
  EXPECT_TRUE(record_inside_row(-100, 0));
  EXPECT_FALSE(record_inside_row(-99, 0));
}

}  // namespace
}  // namespace scenario
