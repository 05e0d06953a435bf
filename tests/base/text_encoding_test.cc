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

// Names as the system gives them become the compiled files' Windows-1252.
TEST(TextEncodingTest, NamesBecomeWindows1252OrAreRefused) {
  const struct {
    const char* native;
    const char* text;  // null: refused
    const char* refused;
  } rows[] = {
      {"Velmora_Dorsel", "Velmora_Dorsel", ""},
      {"Citt\xC3\xA0", "Citt\xE0", ""},
      {"\xE2\x82\xAC \xC5\xB8", "\x80 \x9F", ""},  // euro sign, Y with diaeresis
      {"\xC2\x81", "\x81", ""},                    // a byte the code page leaves undefined
      {"Citt\xE0", "Citt\xE0", ""},                // not UTF-8: taken as it is
      {"\xD0\x9C\xD0\xBE\xD1\x81\xD0\xBA\xD0\xB2\xD0\xB0", nullptr, "\xD0\x9C"},  // Cyrillic
      {"Treno \xF0\x9F\x9A\x82", nullptr, "\xF0\x9F\x9A\x82"},
      {"\xC2\x80", nullptr, "\xC2\x80"},  // the C1 control 0x80, whose byte is the euro sign
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.native);
    std::string refused;
    const std::optional<std::string> text = text_1252_from_native(row.native, &refused);
    if (row.text == nullptr) {
      EXPECT_FALSE(text.has_value());
      EXPECT_EQ(refused, row.refused);
    } else {
      EXPECT_EQ(text, std::optional<std::string>(row.text));
    }
  }
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
