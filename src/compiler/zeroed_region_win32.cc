// Zeroed regions on Windows: committed pages from VirtualAlloc, which the
// system hands out zeroed. Large pages need a privilege that a user's program
// seldom holds, so a region is made of ordinary pages.
#include <windows.h>

#include <cstring>
#include <new>
#include <utility>

#include "compiler/zeroed_region.h"

namespace scenario {

ZeroedRegion::ZeroedRegion(std::size_t bytes) : size_(bytes) {
  if (bytes == 0) return;
  mapping_ = ::VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
  if (mapping_ == nullptr) throw std::bad_alloc();
  mapped_ = bytes;
  data_ = mapping_;
}

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

ZeroedRegion::~ZeroedRegion() {
  if (mapping_ != nullptr) ::VirtualFree(mapping_, 0, MEM_RELEASE);
}

}  // namespace scenario
