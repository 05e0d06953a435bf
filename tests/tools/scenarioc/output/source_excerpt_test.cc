// The source line under a diagnostic: the caret stays under the column named
// whatever stands before it, and the lines are those the field reader counts.
#include "scenarioc/output/source_excerpt.h"

#include <gtest/gtest.h>

#include <string>

namespace scenario::testing {
namespace {

TEST(SourceExcerptTest, CaretStandsUnderTheColumnAsShown) {
  const struct {
    const char* name;
    std::string raw;
    int32_t line;
    int32_t column;
    std::string shown;  // both lines, gutter included
  } rows[] = {
      {"plain", "segnale,  700, 2", 16, 11,
       "   16 | segnale,  700, 2\n"
       "      |           ^\n"},
      {"first column", "pendenza, 0", 3, 1,
       "    3 | pendenza, 0\n"
       "      | ^\n"},
      {"a tab widens to the next multiple of 8", "ab\tcd", 1, 4,
       "    1 | ab      cd\n"
       "      |         ^\n"},
      {"a tab at the column itself", "ab\tcd", 1, 3,
       "    1 | ab      cd\n"
       "      |   ^\n"},
      {"a Windows-1252 byte takes one column", "Citt\xE0, 5", 7, 7,
       "    7 | Citt\xC3\xA0, 5\n"
       "      |       ^\n"},
      {"a control byte shows as an escape of four columns", "a\x01,b", 2, 4,
       "    2 | a\\x01,b\n"
       "      |       ^\n"},
      {"after a tab and a Windows-1252 byte", "\x80\tx", 9, 3,
       "    9 | \xE2\x82\xAC       x\n"
       "      |         ^\n"},
      {"a column past the end points just past the text", "segnale, 1", 5, 11,
       "    5 | segnale, 1\n"
       "      |           ^\n"},
      {"no caret without a column", "[fine]", 40, 0, "   40 | [fine]\n"},
      {"a wide line number widens the gutter", "x", 123456, 1,
       " 123456 | x\n"
       "        | ^\n"},
  };
  const Painter plain(false);
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(render_excerpt(row.raw, row.line, row.column, plain), row.shown);
  }
}

TEST(SourceExcerptTest, TheCaretIsGreenInColour) {
  EXPECT_EQ(render_excerpt("ab", 1, 2, Painter(true)),
            "    1 | ab\n      |  \33[01;32m\33[K^\33[m\33[K\n");
}

TEST(SourceExcerptTest, LinesEndAsTheFieldReaderEndsThem) {
  MemorySources sources("uno\r\ndue\nquattro\rcinque\n\nsette", "");
  SourceLines lines(sources);
  const struct {
    int32_t line;
    const char* text;  // nullptr: no such line
  } rows[] = {{1, "uno"}, {2, "due"},   {3, "quattro"}, {4, "cinque"},
              {5, ""},    {6, "sette"}, {7, nullptr},   {0, nullptr}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.line);
    const std::optional<std::string_view> line = lines.line(SourceFile::line, row.line);
    if (row.text) {
      ASSERT_TRUE(line.has_value());
      EXPECT_EQ(*line, row.text);
    } else {
      EXPECT_FALSE(line.has_value());
    }
  }
}

TEST(SourceExcerptTest, AFileThatIsGoneShowsNoLine) {
  MemorySources sources("uno\n", "due\n");
  sources.remove(SourceFile::train);
  SourceLines lines(sources);
  EXPECT_FALSE(lines.line(SourceFile::train, 1).has_value());
  EXPECT_FALSE(lines.line(SourceFile::none, 1).has_value());
  EXPECT_EQ(lines.line(SourceFile::line, 1).value_or("?"), "uno");
}

}  // namespace
}  // namespace scenario::testing
