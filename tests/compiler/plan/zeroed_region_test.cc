// The memory under the track plan: zeroed whatever its size, writable to its
// last byte, and a value that copies and moves like one.
#include "compiler/plan/zeroed_region.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <utility>

namespace scenario {
namespace {

bool all_zero(const ZeroedRegion& region) {
  const auto* bytes = static_cast<const unsigned char*>(region.data());
  for (std::size_t i = 0; i < region.size(); ++i) {
    if (bytes[i] != 0) return false;
  }
  return true;
}

// Sizes below a page, of whole pages, and on either side of the huge-page path.
constexpr std::size_t kSizes[] = {1, 4096, (std::size_t{1} << 20) - 1, (std::size_t{3} << 20) + 5};

TEST(ZeroedRegionTest, StartsZeroedAndHoldsWhatIsWritten) {
  for (const std::size_t size : kSizes) {
    SCOPED_TRACE(size);
    ZeroedRegion region(size);
    ASSERT_EQ(region.size(), size);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(region.data()) % alignof(double), 0u);
    EXPECT_TRUE(all_zero(region));
    auto* bytes = static_cast<unsigned char*>(region.data());
    bytes[size - 1] = 2;
    bytes[0] = 1;
    EXPECT_EQ(bytes[0], 1);
    EXPECT_EQ(bytes[size - 1], size == 1 ? 1 : 2);
  }
}

TEST(ZeroedRegionTest, CopiesAndMovesLikeAValue) {
  for (const std::size_t size : kSizes) {
    SCOPED_TRACE(size);
    ZeroedRegion original(size);
    static_cast<unsigned char*>(original.data())[size - 1] = 7;

    ZeroedRegion copy = original;
    ASSERT_EQ(copy.size(), size);
    EXPECT_NE(copy.data(), original.data());
    EXPECT_EQ(static_cast<unsigned char*>(copy.data())[size - 1], 7);
    static_cast<unsigned char*>(copy.data())[size - 1] = 0;
    EXPECT_TRUE(all_zero(copy));
    EXPECT_EQ(static_cast<unsigned char*>(original.data())[size - 1], 7);

    const void* data = original.data();
    ZeroedRegion moved = std::move(original);
    EXPECT_EQ(moved.data(), data);
    EXPECT_EQ(original.data(), nullptr);  // NOLINT: a moved-from region is empty
    EXPECT_EQ(original.size(), 0u);

    moved = ZeroedRegion();
    EXPECT_EQ(moved.data(), nullptr);
  }
}

TEST(ZeroedRegionTest, EmptyRegionHoldsNothing) {
  const ZeroedRegion empty(0);
  EXPECT_EQ(empty.data(), nullptr);
  EXPECT_EQ(empty.size(), 0u);
  const ZeroedRegion copy = empty;
  EXPECT_EQ(copy.data(), nullptr);
}

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer run must still see the region's end.
TEST(ZeroedRegionDeathTest, WritePastTheEndIsCaughtUnderAddressSanitizer) {
  EXPECT_DEATH(
      {
        ZeroedRegion region((std::size_t{3} << 20) + 5);
        volatile unsigned char* bytes = static_cast<unsigned char*>(region.data());
        bytes[region.size()] = 1;
      },
      "heap-buffer-overflow");
}
#endif

}  // namespace
}  // namespace scenario
