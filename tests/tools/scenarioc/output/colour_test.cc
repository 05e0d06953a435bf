// When the diagnostics are coloured: on a terminal only, unless asked, and
// never when NO_COLOR says so.
#include "scenarioc/output/colour.h"

#include <gtest/gtest.h>

namespace scenario::testing {
namespace {

TEST(ColourTest, AutoColoursATerminalOnly) {
  const struct {
    ColourMode mode;
    bool terminal;
    const char* no_color;
    const char* term;
    bool colour;
  } rows[] = {
      {ColourMode::automatic, true, nullptr, "xterm", true},
      {ColourMode::automatic, false, nullptr, "xterm", false},
      {ColourMode::automatic, true, "1", "xterm", false},
      {ColourMode::automatic, true, "", "xterm", true},  // set but empty: no effect
      {ColourMode::automatic, true, nullptr, "dumb", false},
      {ColourMode::automatic, true, nullptr, nullptr, true},
      {ColourMode::always, false, "1", "dumb", true},
      {ColourMode::never, true, nullptr, "xterm", false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(::testing::Message()
                 << static_cast<int>(row.mode) << " " << row.terminal << " "
                 << (row.no_color ? row.no_color : "-") << " " << (row.term ? row.term : "-"));
    EXPECT_EQ(colour_wanted(row.mode, row.terminal, row.no_color, row.term), row.colour);
  }
}

TEST(ColourTest, ModesByName) {
  EXPECT_EQ(colour_mode_named("auto"), ColourMode::automatic);
  EXPECT_EQ(colour_mode_named("always"), ColourMode::always);
  EXPECT_EQ(colour_mode_named("never"), ColourMode::never);
  EXPECT_FALSE(colour_mode_named("yes").has_value());
}

}  // namespace
}  // namespace scenario::testing
