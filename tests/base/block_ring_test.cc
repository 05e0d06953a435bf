// Blocks made ahead on a second thread reach the writer in the order they were
// made, whichever thread makes them, and a failure on either side ends both.
#include "base/block_ring.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "base/run_time_failure.h"

namespace scenario {
namespace {

constexpr std::size_t kBlockBytes = 4;
constexpr int kBlocks = 3;

// Block i holds four copies of the letter 'a' + i % 26 and goes to offset 4 i.
void make_letters(BlockRing& ring, int count) {
  for (int i = 0; i < count; ++i) {
    char* block = ring.take_free();
    std::memset(block, 'a' + i % 26, kBlockBytes);
    ring.hand_on(block, uint64_t{kBlockBytes} * i, kBlockBytes);
  }
}

std::string letters(int count) {
  std::string expected;
  for (int i = 0; i < count; ++i) expected.append(kBlockBytes, static_cast<char>('a' + i % 26));
  return expected;
}

TEST(BlockRingTest, BlocksArriveInTheOrderMadeOnEitherThread) {
  char storage[kBlockBytes * kBlocks];
  for (const bool ahead : {false, true}) {
    SCOPED_TRACE(ahead ? "ahead" : "here");
    std::string written;
    uint64_t next_offset = 0;
    make_blocks_ahead(
        ahead, storage, kBlockBytes, kBlocks, [](BlockRing& ring) { make_letters(ring, 1000); },
        [&](uint64_t offset, std::string_view block) {
          EXPECT_EQ(offset, next_offset);
          next_offset += block.size();
          written.append(block);
        });
    EXPECT_EQ(written, letters(1000));
  }
}

// A write that fails stops the maker, which may be waiting for a free block;
// a maker that fails stops the writes. Either failure is thrown to the caller.
TEST(BlockRingTest, AFailureOnEitherSideEndsBoth) {
  char storage[kBlockBytes * kBlocks];
  for (const bool ahead : {false, true}) {
    SCOPED_TRACE(ahead ? "ahead" : "here");
    int writes = 0;
    EXPECT_THROW(
        make_blocks_ahead(
            ahead, storage, kBlockBytes, kBlocks, [](BlockRing& ring) { make_letters(ring, 1000); },
            [&](uint64_t, std::string_view) {
              if (++writes == 5) throw RunTimeFailure("cannot write 'x': File too large");
            }),
        RunTimeFailure);
    EXPECT_EQ(writes, 5);

    std::string written;
    EXPECT_THROW(make_blocks_ahead(
                     ahead, storage, kBlockBytes, kBlocks,
                     [](BlockRing& ring) {
                       make_letters(ring, 2);
                       throw std::length_error("too long");
                     },
                     [&](uint64_t, std::string_view block) { written.append(block); }),
                 std::length_error);
    EXPECT_EQ(written, letters(2));
  }
}

}  // namespace
}  // namespace scenario
