// Zeroed memory for the large tables of a build, mapped straight from the
// system. A table of a megabyte or more is backed by huge pages where the
// system offers them, and its pages are mapped in one call when it is made,
// so that filling it takes a handful of page faults instead of one for every
// 4 KiB. Meant for tables that are filled whole, as the track plan is.
#pragma once

#include <cstddef>

namespace scenario {

class ZeroedRegion {
 public:
  ZeroedRegion() = default;
  // Throws std::bad_alloc when the system has no room.
  explicit ZeroedRegion(std::size_t bytes);
  ZeroedRegion(const ZeroedRegion& other);
  ZeroedRegion(ZeroedRegion&& other) noexcept;
  ZeroedRegion& operator=(ZeroedRegion other) noexcept;
  ~ZeroedRegion();

  void* data() const { return data_; }
  std::size_t size() const { return size_; }

 private:
  void* data_ = nullptr;
  std::size_t size_ = 0;     // what the owner asked for
  void* mapping_ = nullptr;  // the whole mapping, alignment included
  std::size_t mapped_ = 0;
};

}  // namespace scenario
