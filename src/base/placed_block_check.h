// Checks the blocks of a PlacedContent as they arrive: each must lie within
// the file's size, and their lengths must add up to it, so that a mistake in
// the maker of the blocks fails the write instead of leaving a file of the
// wrong length.
#pragma once

#include <cstdint>
#include <string>

#include "base/run_time_failure.h"

namespace scenario {

class PlacedBlockCheck {
 public:
  PlacedBlockCheck(uint64_t size, std::string path) : size_(size), path_(std::move(path)) {}

  // Throws RunTimeFailure naming the file when the block falls outside it.
  void take(uint64_t offset, uint64_t length) {
    if (offset > size_ || length > size_ - offset) {
      fail("a block of " + std::to_string(length) + " bytes at offset " + std::to_string(offset) +
           " lies outside its " + std::to_string(size_) + " bytes");
    }
    written_ += length;
  }

  // Throws RunTimeFailure when the blocks did not add up to the size.
  void finish() const {
    if (written_ != size_) {
      fail("its blocks hold " + std::to_string(written_) + " of its " + std::to_string(size_) +
           " bytes");
    }
  }

 private:
  [[noreturn]] void fail(const std::string& reason) const {
    throw RunTimeFailure("cannot write '" + path_ + "': " + reason);
  }

  uint64_t size_;
  std::string path_;
  uint64_t written_ = 0;
};

}  // namespace scenario
