// The track plan `tracciato` as a table: x and y of the track axis at every
// metre from 0 to `metri_totali`. Each entry is empty, a 16-bit integer or a
// double, and the compiled line file stores it with that type. A compile keeps
// its plan as it traced it (TracedPlan) and makes this table only for a reader
// of the entries; the decoder of a compiled file fills one entry by entry.
#pragma once

#include <cstddef>
#include <cstdint>

#include "compiler/plan/zeroed_region.h"

namespace scenario {

enum class TrackTag : uint16_t { empty = 0, int16 = 2, real = 5 };

struct TrackEntry {
  TrackTag tag = TrackTag::empty;
  double value = 0;  // an int16 entry holds its integer value here
};

class Tracciato {
 public:
  // Creates the plan anew with metres 0 to `metri_totali`, every entry empty.
  // A plan that nothing was written into since it was created is empty
  // already: its memory is kept when it is large enough, so that creating it
  // again and again (one route-length record after another) costs nothing.
  void create(int32_t metri_totali);
  void destroy();
  bool exists() const { return metres_ != 0; }
  int32_t last_metre() const { return static_cast<int32_t>(metres_) - 1; }
  bool has_metre(int64_t m) const { return m >= 0 && m <= last_metre(); }

  void set_int16(int32_t metre, int axis, int16_t value) {
    written_ = true;
    tags(axis)[metre] = static_cast<uint8_t>(TrackTag::int16);
    values(axis)[metre] = value;
  }
  void set_real(int32_t metre, int axis, double value) {
    written_ = true;
    tags(axis)[metre] = static_cast<uint8_t>(TrackTag::real);
    values(axis)[metre] = value;
  }
  // The value of an entry as a double (0 for an empty entry).
  double value(int32_t metre, int axis) const {
    return tag_column(axis)[metre] == static_cast<uint8_t>(TrackTag::empty)
               ? 0.0
               : value_column(axis)[metre];
  }
  TrackEntry entry(int32_t metre, int axis) const {
    return {static_cast<TrackTag>(tag_column(axis)[metre]), value(metre, axis)};
  }

  // One axis as arrays indexed by metre, for the encoder's loop. A value means
  // something only where its tag is not empty.
  const uint8_t* tag_column(int axis) const {
    return static_cast<const uint8_t*>(storage_.data()) + 2 * metres_ * sizeof(double) +
           axis * metres_;
  }
  const double* value_column(int axis) const {
    return static_cast<const double*>(storage_.data()) + axis * metres_;
  }

  // Computes metres `first` to `last` in turn, each from the two before it:
  // with dx and dy the step from metre m − 2 to m − 1, a straight step (c = 0)
  // adds (dx, dy) to metre m − 1 and a curve step adds (dx + c·dy, dy − c·dx).
  // Needs 2 <= first and last <= last_metre().
  void trace(int32_t first, int32_t last, double c);

 private:
  uint8_t* tags(int axis) { return const_cast<uint8_t*>(tag_column(axis)); }
  double* values(int axis) { return const_cast<double*>(value_column(axis)); }

  // The x values, the y values, the x tags, the y tags, each `metres_` long.
  // The region starts zeroed, so every tag says empty.
  ZeroedRegion storage_;
  std::size_t metres_ = 0;
  bool written_ = false;  // an entry was set since the plan was created
};

}  // namespace scenario
