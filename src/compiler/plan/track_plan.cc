#include "compiler/plan/track_plan.h"

#include <cstddef>

#include "compiler/plan/track_steps.h"

namespace scenario {
namespace {

constexpr uint8_t kReal = static_cast<uint8_t>(TrackTag::real);

}  // namespace

void Tracciato::create(int32_t metri_totali) {
  metres_ = static_cast<std::size_t>(metri_totali) + 1;
  const std::size_t bytes = metres_ * (2 * sizeof(double) + 2);
  if (!written_ && storage_.size() >= bytes) return;
  storage_ = ZeroedRegion(bytes);
  written_ = false;
}

void Tracciato::destroy() {
  storage_ = ZeroedRegion();
  metres_ = 0;
  written_ = false;
}

void Tracciato::trace(int32_t first, int32_t last, double c) {
  if (first > last) return;
  written_ = true;
  double* x = values(0);
  double* y = values(1);
  uint8_t* x_tag = tags(0);
  uint8_t* y_tag = tags(1);
  track_steps::Point older{value(first - 2, 0), value(first - 2, 1)};
  track_steps::Point newer{value(first - 1, 0), value(first - 1, 1)};
  int32_t m = first;
  track_steps::steps(last - first + 1, c, older, newer, [&](const track_steps::Point& point) {
    x[m] = point.x;
    y[m] = point.y;
    x_tag[m] = kReal;
    y_tag[m] = kReal;
    ++m;
  });
}

}  // namespace scenario
