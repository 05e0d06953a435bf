// Half-to-even rounding and the conversions that fail instead of wrapping.
#include "base/rounding.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "base/run_time_failure.h"

namespace scenario {
namespace {

TEST(RoundingTest, HalfGoesToTheEvenNeighbour) {
  const struct {
    double q;
    double rounded;
  } rows[] = {
      {2.5, 2}, {3.5, 4}, {-2.5, -2}, {-3.5, -4},    {0.5, 0},     {1.5, 2},
      {2.4, 2}, {2.6, 3}, {-2.6, -3}, {140.06, 140}, {140.5, 140}, {141.5, 142},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(round_half_even(row.q), row.rounded) << row.q;
  }
}

TEST(RoundingTest, ConversionsKeepValuesThatFit) {
  EXPECT_EQ(round_to_uint8(255.4), 255);
  EXPECT_EQ(round_to_uint8(-0.5), 0);
  EXPECT_EQ(round_to_uint8(180.0 / 5), 36);
  EXPECT_EQ(round_to_int16(32767.0), 32767);
  EXPECT_EQ(round_to_int16(-32768.4), -32768);
  EXPECT_EQ(round_to_int16(100 * 20 + 100 / 5.0), 2020);
  EXPECT_EQ(round_to_int32(2147483647.0), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(round_to_int32(-2147483648.0), std::numeric_limits<int32_t>::min());
}

TEST(RoundingTest, ConversionsFailOutOfRange) {
  EXPECT_THROW(round_to_uint8(256), RunTimeFailure);
  EXPECT_THROW(round_to_uint8(255.5), RunTimeFailure);  // rounds to 256
  EXPECT_THROW(round_to_uint8(-1), RunTimeFailure);
  EXPECT_THROW(round_to_uint8(-0.6), RunTimeFailure);
  EXPECT_THROW(round_to_int16(32768), RunTimeFailure);
  EXPECT_THROW(round_to_int16(32767.5), RunTimeFailure);
  EXPECT_THROW(round_to_int16(-32769), RunTimeFailure);
  EXPECT_THROW(round_to_int32(2147483648.0), RunTimeFailure);
  EXPECT_THROW(round_to_int32(-2147483649.0), RunTimeFailure);
  EXPECT_THROW(round_to_int32(std::numeric_limits<double>::quiet_NaN()), RunTimeFailure);
  EXPECT_THROW(round_to_int32(std::numeric_limits<double>::infinity()), RunTimeFailure);
}

TEST(RoundingTest, LowBitsOfSums) {
  EXPECT_EQ(low16(32767), 32767);
  EXPECT_EQ(low16(32768), -32768);
  EXPECT_EQ(low16(65536 + 5), 5);
  EXPECT_EQ(low16(-1), -1);
  EXPECT_EQ(low16(-32769), 32767);
  EXPECT_EQ(low8(255), 255);
  EXPECT_EQ(low8(256), 0);
  EXPECT_EQ(low8(300), 44);
  EXPECT_EQ(low8(-1), 255);
  EXPECT_EQ(low8(-12 + 100), 88);
}

TEST(RoundingTest, ThirtyTwoBitArithmeticFailsOnOverflow) {
  const int64_t max = std::numeric_limits<int32_t>::max();
  const int64_t min = std::numeric_limits<int32_t>::min();
  EXPECT_EQ(checked32(max), max);
  EXPECT_EQ(checked32(min), min);
  EXPECT_THROW(checked32(max + 1), RunTimeFailure);
  EXPECT_THROW(checked32(min - 1), RunTimeFailure);
  EXPECT_EQ(add32(243000, 7000), 250000);
  EXPECT_THROW(add32(max, 1), RunTimeFailure);
  EXPECT_EQ(sub32(min + 1, 1), min);
  EXPECT_THROW(sub32(min, 1), RunTimeFailure);
  EXPECT_EQ(mul32(65536, 32767), 65536 * 32767);
  EXPECT_THROW(mul32(65536, 32768), RunTimeFailure);
}

}  // namespace
}  // namespace scenario
