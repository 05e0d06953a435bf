// Windows-1252 to UTF-8, and control characters kept away from a terminal.
#include "base/text_encoding.h"

#include <gtest/gtest.h>

namespace scenario::testing {
namespace {

TEST(TextEncodingTest, ConvertsWindows1252) {
  EXPECT_EQ(utf8_from_1252("Citt\xE0"), "Citt\xC3\xA0");
  EXPECT_EQ(utf8_from_1252("\x80 \x9F"), "\xE2\x82\xAC \xC5\xB8");  // euro sign, Y with diaeresis
  EXPECT_EQ(utf8_from_1252("\x81"), "\xC2\x81");  // undefined in the code page: the C1 control
}

TEST(TextEncodingTest, NativeTextKeepsUtf8) {
  EXPECT_EQ(utf8_from_native("Citt\xC3\xA0"), "Citt\xC3\xA0");
  EXPECT_EQ(utf8_from_native("Citt\xE0"), "Citt\xC3\xA0");
  EXPECT_FALSE(is_utf8("\xC0\xAF"));      // overlong
  EXPECT_FALSE(is_utf8("\xED\xA0\x80"));  // surrogate
  EXPECT_TRUE(is_utf8("\xF0\x9F\x9A\x82"));
}

TEST(TextEncodingTest, EscapesEveryControlButTheTab) {
  const struct {
    const char* in;
    const char* out;
  } rows[] = {
      {"plain \xC3\xA0 text", "plain \xC3\xA0 text"},
      {"a\tb", "a\tb"},
      {"\x1B]0;title\x07", "\\x1B]0;title\\x07"},
      {"del\x7F", "del\\x7F"},
      {"c1 \xC2\x9B"
       "2J",
       "c1 \\x9B2J"},
      {"nbsp \xC2\xA0", "nbsp \xC2\xA0"},
      {"cr\rlf\n", "cr\\x0Dlf\\x0A"},
  };
  for (const auto& row : rows) EXPECT_EQ(escape_controls(row.in), row.out) << row.in;
  // 0x9B is a letter in Windows-1252; 0x81 is undefined there and stays a control.
  const std::string from_1252 = printable_from_1252(
      "\x9B\x81\x1B"
      "c\xE0");
  EXPECT_EQ(from_1252, "\xE2\x80\xBA\\x81\\x1Bc\xC3\xA0");
}

}  // namespace
}  // namespace scenario::testing
