// The source line under a diagnostic: the caret stays under the column named
// whatever stands before it, a long line is cut to a window around it, and the
// lines are those the field reader counts.
#include "scenarioc/output/source_excerpt.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

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

// A line of `size` bytes whose byte i (from 0) is the digit i % 10.
std::string digits(size_t size) {
  std::string s;
  for (size_t i = 0; i < size; ++i) s += static_cast<char>('0' + i % 10);
  return s;
}

TEST(SourceExcerptTest, ALongLineIsCutAroundTheColumn) {
  const std::string raw = digits(1000);
  const struct {
    const char* name;
    int32_t column;
    size_t first;     // the first byte shown
    bool cut_before;  // a mark before the text shown
    bool cut_after;   // and after it
  } rows[] = {
      {"near the start", 5, 0, false, true},
      {"just inside the first window", static_cast<int32_t>(kExcerptBytesBefore), 0, false, true},
      {"in the middle", 500, 500 - 1 - kExcerptBytesBefore, true, true},
      {"near the end", 990, 1000 - kExcerptBytes, true, false},
      {"past the end", 1001, 1000 - kExcerptBytes, true, false},
  };
  const Painter plain(false);
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const std::string shown = std::string(row.cut_before ? kCutMark : "") +
                              raw.substr(row.first, kExcerptBytes) +
                              std::string(row.cut_after ? kCutMark : "");
    const size_t caret = std::min(static_cast<size_t>(row.column) - 1, raw.size()) - row.first +
                         (row.cut_before ? kCutMark.size() : 0);
    EXPECT_EQ(render_excerpt(raw, 1, row.column, plain),
              "    1 | " + shown + "\n      | " + std::string(caret, ' ') + "^\n");
  }
  EXPECT_EQ(render_excerpt(digits(kExcerptBytes), 1, 1, plain),
            "    1 | " + digits(kExcerptBytes) + "\n      | ^\n");
}

// However many warnings a line carries, each shows no more than the window.
TEST(SourceExcerptTest, WhatIsShownOfALineDoesNotGrowWithIt) {
  const std::string raw = "velocita, 2000, 113" + std::string(50000, ',') + "\x01";
  for (int32_t column : {1, 20, 25000, 50020, 50021}) {
    SCOPED_TRACE(column);
    const std::string shown = render_excerpt(raw, 11, column, Painter(false));
    EXPECT_LT(shown.size(), 2 * (kExcerptBytes + 4 * kCutMark.size()) + 20);
  }
}

TEST(SourceExcerptTest, LinesAreFoundInAnyOrderAmongManyLines) {
  // Lines of every length from 0 to 9000 bytes, some ending in CR LF: the
  // index of line starts keeps only some of them.
  std::string text;
  std::vector<std::string> expected;
  for (size_t i = 0; i < 3000; ++i) {
    expected.push_back(std::string(i * 7 % 9001 * (i % 5 == 0), 'a' + i % 26));
    text += expected.back() + (i % 3 == 0 ? "\r\n" : "\n");
  }
  MemorySources sources(text, "");
  SourceLines lines(sources);
  for (size_t step : {1u, 7u, 641u, 2999u}) {  // forwards, in strides, backwards
    SCOPED_TRACE(step);
    for (size_t k = 0, i = 0; k < expected.size(); ++k, i = (i + step) % expected.size()) {
      const std::optional<std::string_view> line =
          lines.line(SourceFile::line, static_cast<int32_t>(i + 1));
      ASSERT_TRUE(line.has_value()) << i;
      ASSERT_EQ(*line, expected[i]) << i;
    }
  }
  EXPECT_EQ(lines.line(SourceFile::line, 3001).value_or("?"), "");
  EXPECT_FALSE(lines.line(SourceFile::line, 3002).has_value());
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
