// Zeroed regions on Windows: committed pages from VirtualAlloc, which the
// system hands out zeroed. Large pages need a privilege that a user's program
// seldom holds, so a region is made of ordinary pages.
#include <windows.h>

#include <new>

#include "compiler/plan/zeroed_region.h"

namespace scenario {

ZeroedRegion::ZeroedRegion(std::size_t bytes) : size_(bytes) {
  if (bytes == 0) return;
  mapping_ = ::VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
  if (mapping_ == nullptr) throw std::bad_alloc();
  mapped_ = bytes;
  data_ = mapping_;
}

ZeroedRegion::~ZeroedRegion() {
  if (mapping_ != nullptr) ::VirtualFree(mapping_, 0, MEM_RELEASE);
}

}  // namespace scenario
