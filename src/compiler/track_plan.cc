#include "compiler/track_plan.h"

#include <cstddef>

namespace scenario {

void Tracciato::create(int32_t metri_totali) {
  for (int axis = 0; axis < 2; ++axis) {
    tags_[axis].assign(static_cast<std::size_t>(metri_totali) + 1, 0);
    values_[axis].assign(static_cast<std::size_t>(metri_totali) + 1, 0.0);
  }
}

void Tracciato::destroy() {
  for (int axis = 0; axis < 2; ++axis) {
    tags_[axis] = {};
    values_[axis] = {};
  }
}

void Tracciato::set_int16(int32_t metre, int axis, int16_t value) {
  tags_[axis][metre] = static_cast<uint8_t>(TrackTag::int16);
  values_[axis][metre] = value;
}

void Tracciato::set_real(int32_t metre, int axis, double value) {
  tags_[axis][metre] = static_cast<uint8_t>(TrackTag::real);
  values_[axis][metre] = value;
}

TrackEntry Tracciato::entry(int32_t metre, int axis) const {
  return {static_cast<TrackTag>(tags_[axis][metre]), values_[axis][metre]};
}

}  // namespace scenario
