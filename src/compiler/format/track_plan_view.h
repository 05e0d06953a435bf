// A compiled track plan read where it lies: its shape checked as the decoder
// checks it, its traced doubles read from the file's bytes when asked, so that
// a reader of every metre (the decompiler) never builds the plan's table.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "compiler/format/binary_layout.h"

namespace scenario {

class TrackPlanView {
 public:
  // Throws RunTimeFailure as decode_track_plan does for a file the compiler
  // could not have written. The bytes must outlive the view.
  explicit TrackPlanView(std::string_view bytes);

  int32_t metri_totali() const { return metri_totali_; }
  // Whether metres 0 and 1 hold their integers; a parse that stopped before
  // the curves leaves every metre empty.
  bool traced() const { return traced_; }
  // Metres 2 to this one hold doubles; 1 when none does, -1 when untraced.
  int32_t last_traced_metre() const { return last_traced_; }

  // The coordinates of a traced metre, 2 <= m <= last_traced_metre().
  double x(int32_t m) const { return value_at(x_reals_, m); }
  double y(int32_t m) const { return value_at(y_reals_, m); }

 private:
  struct Column {
    const char* reals = nullptr;  // the element of metre 2
    int32_t metres = 0;
    int32_t last_traced = 1;
  };

  // A traced element is its tag and a double, 10 bytes. Every metre is read,
  // so a little-endian machine reads the double's bytes in one load.
  static double value_at(const char* reals, int32_t m) {
    constexpr std::size_t kElement = track_layout::kTagWidth + track_layout::kReal.width;
    const char* p = reals + static_cast<std::size_t>(m - 2) * kElement + track_layout::kTagWidth;
    if constexpr (std::endian::native == std::endian::little) {
      double value;
      std::memcpy(&value, p, sizeof value);
      return value;
    } else {
      return load_f64(p);
    }
  }
  // Reads one column from `offset`; returns the offset after it, or 0 when
  // its start does not have the compiled shape.
  std::size_t read_column(std::size_t offset, int axis, Column& column);

  std::string_view bytes_;
  int32_t metri_totali_ = -1;
  bool traced_ = false;
  int32_t last_traced_ = -1;
  const char* x_reals_ = nullptr;  // the element of metre 2 in each column
  const char* y_reals_ = nullptr;
};

}  // namespace scenario
