// Zeroed regions on Linux: anonymous mappings, with huge pages for large ones.
#include "compiler/plan/zeroed_region.h"

#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>
#include <new>

#if defined(__SANITIZE_ADDRESS__)
#define SCENARIO_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SCENARIO_ADDRESS_SANITIZER 1
#endif
#endif

namespace scenario {
namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;
constexpr std::size_t kSmallPage = 4096;

// Under AddressSanitizer the region comes from the heap, where a read or
// write past its end is caught; a mapping would hide it in its rounding.
#ifdef SCENARIO_ADDRESS_SANITIZER
constexpr bool kFromTheHeap = true;
#else
constexpr bool kFromTheHeap = false;
#endif

std::size_t round_up(std::size_t n, std::size_t step) { return (n + step - 1) / step * step; }

}  // namespace

ZeroedRegion::ZeroedRegion(std::size_t bytes) : size_(bytes) {
  if (bytes == 0) return;
  if (kFromTheHeap) {
    data_ = std::calloc(bytes, 1);
    if (data_ == nullptr) throw std::bad_alloc();
    return;
  }
  // Huge pages need an address and a length that are whole huge pages; the
  // mapping takes one more so that an aligned start can be found inside it.
  const bool huge = bytes >= kHugePage / 2;
  const std::size_t length = huge ? round_up(bytes, kHugePage) : bytes;
  mapped_ = huge ? length + kHugePage : length;
  mapping_ = ::mmap(nullptr, mapped_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapping_ == MAP_FAILED) {
    mapping_ = nullptr;
    throw std::bad_alloc();
  }
  data_ = mapping_;
  if (!huge) return;
  const auto start = reinterpret_cast<std::uintptr_t>(mapping_);
  data_ = reinterpret_cast<void*>(round_up(start, kHugePage));
  // Advice only: where huge pages are not offered the region works the same.
  ::madvise(data_, length, MADV_HUGEPAGE);
#ifdef MADV_POPULATE_WRITE
  // A large table is filled whole: its pages are mapped in one call rather
  // than one fault at a time, which matters where huge pages are off.
  ::madvise(data_, round_up(bytes, kSmallPage), MADV_POPULATE_WRITE);
#endif
}

ZeroedRegion::~ZeroedRegion() {
  if (kFromTheHeap) {
    std::free(data_);
  } else if (mapping_ != nullptr) {
    ::munmap(mapping_, mapped_);
  }
}

}  // namespace scenario
