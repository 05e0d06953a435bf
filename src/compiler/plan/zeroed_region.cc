// What a zeroed region does the same way on every system: copying and moving
// it. Its memory comes from the system (zeroed_region_posix.cc,
// zeroed_region_win32.cc).
#include "compiler/plan/zeroed_region.h"

#include <cstring>
#include <utility>

namespace scenario {

ZeroedRegion::ZeroedRegion(const ZeroedRegion& other) : ZeroedRegion(other.size_) {
  if (size_ != 0) std::memcpy(data_, other.data_, size_);
}

ZeroedRegion::ZeroedRegion(ZeroedRegion&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      mapping_(std::exchange(other.mapping_, nullptr)),
      mapped_(std::exchange(other.mapped_, 0)) {}

ZeroedRegion& ZeroedRegion::operator=(ZeroedRegion other) noexcept {
  std::swap(data_, other.data_);
  std::swap(size_, other.size_);
  std::swap(mapping_, other.mapping_);
  std::swap(mapped_, other.mapped_);
  return *this;
}

}  // namespace scenario
