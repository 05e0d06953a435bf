// Text for the report page: escaping and numbers in one fixed form.
#include "scenarioc/output/html_text.h"

#include <gtest/gtest.h>

#include <limits>

namespace scenario::testing {
namespace {

TEST(HtmlTextTest, EscapesWhatHtmlGivesMeaningTo) {
  std::string out = "<p>";
  append_escaped(out, "a < b & \"c\" > 'd'");
  append_escaped(out, " (Km 210+500) \xC3\xA0");
  EXPECT_EQ(out, "<p>a &lt; b &amp; &quot;c&quot; &gt; &#39;d&#39; (Km 210+500) \xC3\xA0");
}

TEST(HtmlTextTest, FixedDecimalsRoundHalfToEvenAndNeverShowMinusZero) {
  const struct {
    double value;
    int decimals;
    const char* text;
  } cases[] = {
      {0.125, 2, "0.12"},
      {0.375, 2, "0.38"},
      {2.5, 0, "2"},
      {3.5, 0, "4"},
      {-1.25, 1, "-1.2"},
      {-0.04, 1, "0.0"},
      {-0.0, 3, "0.000"},
      {1234567.891, 1, "1234567.9"},
      {-50450.59798, 1, "-50450.6"},
      {7, 0, "7"},
      {0.000001, 6, "0.000001"},
      {1e20, 1, "0.0"},
      {std::numeric_limits<double>::quiet_NaN(), 2, "0.00"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(fixed_decimals(c.value, c.decimals), c.text) << c.value << " to " << c.decimals;
  }
}

}  // namespace
}  // namespace scenario::testing
