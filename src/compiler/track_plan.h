// The track plan `tracciato`: x and y of the track axis at every metre from 0
// to `metri_totali`. Each entry is empty, a 16-bit integer or a double, and the
// compiled line file stores it with that type.
#pragma once

#include <cstdint>
#include <vector>

namespace scenario {

enum class TrackTag : uint16_t { empty = 0, int16 = 2, real = 5 };

struct TrackEntry {
  TrackTag tag = TrackTag::empty;
  double value = 0;  // an int16 entry holds its integer value here
};

class Tracciato {
 public:
  // Creates the plan anew with metres 0 to `metri_totali`, every entry empty.
  void create(int32_t metri_totali);
  void destroy();
  bool exists() const { return !tags_[0].empty(); }
  int32_t last_metre() const { return static_cast<int32_t>(tags_[0].size()) - 1; }
  bool has_metre(int64_t m) const { return m >= 0 && m <= last_metre(); }

  void set_int16(int32_t metre, int axis, int16_t value);
  void set_real(int32_t metre, int axis, double value);
  // The value of an entry as a double (0 for an empty entry).
  double value(int32_t metre, int axis) const { return values_[axis][metre]; }
  TrackEntry entry(int32_t metre, int axis) const;

 private:
  std::vector<uint8_t> tags_[2];
  std::vector<double> values_[2];
};

}  // namespace scenario
