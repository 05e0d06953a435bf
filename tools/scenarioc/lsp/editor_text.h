// The text an editor holds and the bytes the compiler reads from it. The
// editor sends UTF-8; a scenario file is Windows-1252 unless its author saves
// it as UTF-8, so each character becomes its Windows-1252 byte, or keeps its
// UTF-8 bytes where the file is UTF-8 or the code page has no byte for it, as
// the file would hold it once saved. Positions go between the two: the
// compiler counts lines from 1 and columns in bytes from 1, the editor both
// from 0 and columns in the units agreed on in initialize.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace scenario::lsp {

// The units in which the editor counts a line's characters: UTF-8 bytes,
// UTF-16 code units (the protocol's default) or code points.
enum class PositionEncoding { utf8, utf16, utf32 };

struct Position {
  int64_t line = 0;
  int64_t character = 0;
};

struct Range {
  Position start;
  Position end;
};

class EditorText {
 public:
  EditorText() = default;
  EditorText(std::string utf8, bool keep_utf8, PositionEncoding encoding);

  const std::string& bytes() const { return bytes_; }
  const std::string& utf8() const { return utf8_; }
  int64_t line_count() const { return static_cast<int64_t>(utf8_starts_.size()); }
  // Line `line` (from 0) without its end; empty past the last.
  std::string_view utf8_line(int64_t line) const;
  std::string_view byte_line(int64_t line) const;
  // The length of line `line` in the editor's units.
  int64_t line_width(int64_t line) const;

  // The editor's position of the compiler's line and byte column (from 1);
  // column 0 (unknown) is the line's start.
  Position position_of(int64_t line, int32_t column) const;
  // The stretch of the field that starts at the compiler's line and column:
  // up to the next comma or the line's end, trailing blanks left out; one
  // character at least.
  Range field_range(int64_t line, int32_t column) const;
  // The compiler's byte column (from 1) of an editor's position.
  int32_t column_of(const Position& position) const;

 private:
  // Bytes the compiler reads for the character of `utf8_` at `i` of `length` bytes.
  size_t compiled_length(size_t i, size_t length) const;

  std::string utf8_;
  std::string bytes_;
  bool keep_utf8_ = false;
  PositionEncoding encoding_ = PositionEncoding::utf16;
  std::vector<size_t> utf8_starts_;
  std::vector<size_t> byte_starts_;
};

// Where the lines of `text` start: after LF, CR LF or a lone CR.
std::vector<size_t> line_starts(std::string_view text);

// The offset in UTF-8 `text` of an editor's position; a position past a
// line's end is its end, past the text's end the text's end.
size_t offset_of(std::string_view text, const std::vector<size_t>& starts, const Position& position,
                 PositionEncoding encoding);

}  // namespace scenario::lsp
