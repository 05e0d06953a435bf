// The 50-metre cells of the route and the mappings between a position and a
// cell. The rules map positions in more than one way on purpose; each mapping
// has its one helper here, named for what it gives. Every quotient is taken
// in double precision and rounded once, half to even.
#pragma once

#include <cmath>
#include <cstdint>

#include "base/rounding.h"

namespace scenario {

constexpr int32_t kCellMetres = 50;

// Cell c stands for the stretch from (c - 1) × 50 to c × 50: cell 1 starts at
// the route's start, cell 0 lies before it.

// A position in cells, unrounded: the quotient p / 50 that each mapping rounds.
inline double in_cells(int64_t position) { return static_cast<double>(position) / kCellMetres; }

// The cell of a position, round(p / 50 + 1): the cell whose stretch starts
// nearest to it. Signals, slowdowns, speed and indication boards go there.
inline int64_t cell_of(int64_t position) {
  return static_cast<int64_t>(round_half_even(in_cells(position) + 1));
}

// round(p / 50): the cell whose stretch ends nearest to a position, on a
// multiple of 50 the cell before the position's own. A profile value
// (gradient, speed, adhesion) takes effect from this cell, an abbattimento
// goes there, a mountain's first cell and a slowdown's countdown count from
// it, and the row's last cell is this cell of its last metre. Off the grid it
// is not always cell_of(p) - 1: 75 gives cell 2 from both.
inline int64_t cell_before(int64_t position) {
  return static_cast<int64_t>(round_half_even(in_cells(position)));
}

// round(p / 50 - 1): the cell before cell_before(p), on a multiple of 50. A
// station's stop mark stands here before its zone's end, and a mountain's
// last cell before the mountain's end.
inline int64_t cell_two_before(int64_t position) {
  return static_cast<int64_t>(round_half_even(in_cells(position) - 1));
}

// Where cell c's stretch starts, (c - 1) × 50: the position cell_of maps to c.
constexpr int64_t cell_start(int64_t cell) { return (cell - 1) * kCellMetres; }

// Where cell c's stretch ends, c × 50: the position cell_before maps to c, the
// position named for a cell in the errors of the post-processing pass and the
// end of a row whose last cell is c.
constexpr int64_t cell_end(int64_t cell) { return cell * kCellMetres; }

// The cell whose stretch ends at `grid_position`, a multiple of 50: the
// inverse of cell_end, by integer division.
constexpr int64_t cell_ending_at(int64_t grid_position) { return grid_position / kCellMetres; }

// Whether a position lies on a multiple of 50, the grid the cells stand on.
constexpr bool on_cell_grid(int64_t position) { return position % kCellMetres == 0; }

// The cell whose stretch holds a point of the route, (c - 1) × 50 <= x < c × 50:
// where a run of the train along the route finds the cell under a point.
inline int64_t cell_holding(double x) {
  return static_cast<int64_t>(std::floor(x / kCellMetres)) + 1;
}

// The multiple of 50 nearest a position, the one of cell_before half-way.
inline int64_t nearest_grid_position(int64_t position) { return cell_end(cell_before(position)); }

// The multiple of 50 at or below a position, also below 0.
constexpr int64_t grid_position_below(int64_t position) {
  return position - ((position % kCellMetres) + kCellMetres) % kCellMetres;
}

// Whether a record's position lies inside a row whose last cell is n:
// (p + 100) / 50, computed exactly, is at most n. A station needs room for its
// zone and marks: (p + 800) / 50.
constexpr bool record_inside_row(int64_t position, int64_t last_cell) {
  return position + 100 <= kCellMetres * last_cell;
}
constexpr bool station_inside_row(int64_t position, int64_t last_cell) {
  return position + 800 <= kCellMetres * last_cell;
}

// The last position inside the row of each kind of record.
constexpr int32_t last_record_position(int32_t last_cell) { return kCellMetres * last_cell - 100; }
constexpr int32_t last_station_position(int32_t last_cell) { return kCellMetres * last_cell - 800; }

}  // namespace scenario
