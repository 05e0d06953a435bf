// Letter case in Windows-1252: capitals and small letters are each other's
// case, and every other byte is kept.
#include "base/text_case.h"

#include <gtest/gtest.h>

namespace scenario {
namespace {

TEST(TextCaseTest, CapitalsAndSmallLettersArePairs) {
  int pairs = 0;
  for (int b = 0; b < 256; ++b) {
    const char c = static_cast<char>(b);
    const char lower = to_lower_1252(c);
    const char upper = to_upper_1252(c);
    if (lower != c) {
      EXPECT_EQ(to_upper_1252(lower), c) << b;
      ++pairs;
    }
    if (upper != c) {
      EXPECT_EQ(to_lower_1252(upper), c) << b;
    }
  }
  // A to Z, the 30 accented capitals from 0xC0 to 0xDE, and S, OE, Z with caron and Y with diaeresis.
  EXPECT_EQ(pairs, 26 + 30 + 4);
  EXPECT_EQ(to_upper_1252("citt\xE0 \xDF \xF7 \xFF"), "CITT\xC0 \xDF \xF7 \x9F");
}

}  // namespace
}  // namespace scenario
