// Positions between the editor (lines and columns from 0, in UTF-8 bytes,
// UTF-16 units or code points) and the compiler (lines from 1, byte columns
// from 1 of the Windows-1252 text).
#include "scenarioc/lsp/editor_text.h"

#include <gtest/gtest.h>

#include <string>

namespace scenario::lsp {
namespace {

// "à" is 2 bytes of UTF-8, 1 byte of Windows-1252 and 1 UTF-16 unit; "€" is
// 3, 1 (0x80) and 1; U+1F682 has no Windows-1252 byte: 4, 4 and 2.
const std::string kText =
    "stazione, 100, Citt\xc3\xa0\r\n"
    "\xe2\x82\xac, \xf0\x9f\x9a\x82, x \n"
    "last";

TEST(EditorTextTest, CompilesToWindows1252WhereTheCodePageHasTheCharacter) {
  const EditorText text(kText, false, PositionEncoding::utf16);
  EXPECT_EQ(text.bytes(),
            "stazione, 100, Citt\xe0\r\n"
            "\x80, \xf0\x9f\x9a\x82, x \n"
            "last");
  EXPECT_EQ(EditorText(kText, true, PositionEncoding::utf16).bytes(), kText);
  EXPECT_EQ(text.line_count(), 3);
  EXPECT_EQ(text.utf8_line(0), "stazione, 100, Citt\xc3\xa0");
  EXPECT_EQ(text.byte_line(1), "\x80, \xf0\x9f\x9a\x82, x ");
  EXPECT_EQ(text.utf8_line(3), "");
}

TEST(EditorTextTest, ColumnsGoBetweenBytesAndTheEditorsUnits) {
  const PositionEncoding encodings[] = {PositionEncoding::utf8, PositionEncoding::utf16,
                                        PositionEncoding::utf32};
  const struct {
    int64_t line;       // the compiler's, from 1
    int32_t column;     // bytes from 1
    int64_t editor[3];  // from 0: UTF-8 bytes, UTF-16 units, code points
  } cases[] = {
      {1, 1, {0, 0, 0}}, {1, 16, {15, 15, 15}}, {1, 21, {21, 20, 20}}, {2, 2, {3, 1, 1}},
      {2, 4, {5, 3, 3}}, {2, 8, {9, 5, 4}},     {2, 10, {11, 7, 6}},   {3, 1, {0, 0, 0}},
  };
  for (size_t e = 0; e < std::size(encodings); ++e) {
    const EditorText text(kText, false, encodings[e]);
    for (const auto& c : cases) {
      const Position p = text.position_of(c.line, c.column);
      EXPECT_EQ(p.line, c.line - 1) << e << " " << c.line << ":" << c.column;
      EXPECT_EQ(p.character, c.editor[e]) << e << " " << c.line << ":" << c.column;
      EXPECT_EQ(text.column_of({c.line - 1, c.editor[e]}), c.column) << e << " " << c.line;
    }
    EXPECT_EQ(text.line_width(0), cases[2].editor[e]) << e;
    // An unknown column is the line's start; a position past a line's end is its end.
    EXPECT_EQ(text.position_of(2, 0).character, 0);
    EXPECT_EQ(text.column_of({0, 99}), 21);
  }
}

TEST(EditorTextTest, AFieldRunsToTheNextCommaWithoutTrailingBlanks) {
  const EditorText text(kText, false, PositionEncoding::utf16);
  const struct {
    int64_t line;
    int32_t column;
    int64_t from, to;
  } cases[] = {
      {1, 1, 0, 8},     // the keyword
      {1, 10, 9, 13},   // " 100" from its blank
      {1, 16, 15, 20},  // "Città" to the line's end
      {2, 4, 3, 5},     // the character of two UTF-16 units
      {2, 10, 7, 8},    // "x " without its blank
      {3, 5, 4, 5},     // at the end of the text: one character still
  };
  for (const auto& c : cases) {
    const Range r = text.field_range(c.line, c.column);
    EXPECT_EQ(r.start.line, c.line - 1);
    EXPECT_EQ(r.end.line, c.line - 1);
    EXPECT_EQ(r.start.character, c.from) << c.line << ":" << c.column;
    EXPECT_EQ(r.end.character, c.to) << c.line << ":" << c.column;
  }
}

constexpr PositionEncoding kUtf16 = PositionEncoding::utf16;

TEST(EditorTextTest, LinesEndAtLfCrLfOrALoneCr) {
  EXPECT_EQ(line_starts("a\nb\r\nc\rd"), (std::vector<size_t>{0, 2, 5, 7}));
  const std::string text = "ab\r\n\xc3\xa0z";
  const std::vector<size_t> starts = line_starts(text);
  EXPECT_EQ(offset_of(text, starts, {0, 5}, kUtf16), 2u);
  EXPECT_EQ(offset_of(text, starts, {1, 1}, kUtf16), 6u);
  EXPECT_EQ(offset_of(text, starts, {7, 0}, kUtf16), text.size());
  EXPECT_EQ(offset_of(text, starts, {-1, 3}, kUtf16), 0u);
}

}  // namespace
}  // namespace scenario::lsp
