#include "scenarioc/lsp/editor_text.h"

#include <algorithm>

#include "base/text_encoding.h"

namespace scenario::lsp {
namespace {

size_t line_end(std::string_view text, const std::vector<size_t>& starts, size_t line) {
  size_t end = line + 1 < starts.size() ? starts[line + 1] : text.size();
  if (end > starts[line] && text[end - 1] == '\n') --end;
  if (end > starts[line] && text[end - 1] == '\r') --end;
  return end;
}

std::string_view line_of(std::string_view text, const std::vector<size_t>& starts, int64_t line) {
  if (line < 0 || line >= static_cast<int64_t>(starts.size())) return {};
  const size_t begin = starts[static_cast<size_t>(line)];
  return text.substr(begin, line_end(text, starts, static_cast<size_t>(line)) - begin);
}

Utf8Character character_at(std::string_view text, size_t i) {
  const Utf8Character c = utf8_character_at(text, i);
  // The editor's text is valid UTF-8; a stray byte counts as one character.
  return c.length == 0 ? Utf8Character{1, static_cast<unsigned char>(text[i])} : c;
}

// The units of `encoding` that character `c` takes.
int64_t units_of(const Utf8Character& c, PositionEncoding encoding) {
  switch (encoding) {
    case PositionEncoding::utf8:
      return static_cast<int64_t>(c.length);
    case PositionEncoding::utf16:
      return c.code_point >= 0x10000 ? 2 : 1;
    case PositionEncoding::utf32:
      break;
  }
  return 1;
}

bool is_blank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::vector<size_t> line_starts(std::string_view text) {
  std::vector<size_t> starts{0};
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))) {
      starts.push_back(i + 1);
    }
  }
  return starts;
}

size_t offset_of(std::string_view text, const std::vector<size_t>& starts, const Position& position,
                 PositionEncoding encoding) {
  if (position.line < 0) return 0;
  if (position.line >= static_cast<int64_t>(starts.size())) return text.size();
  const size_t line = static_cast<size_t>(position.line);
  const size_t end = line_end(text, starts, line);
  size_t i = starts[line];
  for (int64_t units = 0; i < end && units < position.character;) {
    const Utf8Character c = character_at(text, i);
    units += units_of(c, encoding);
    i += c.length;
  }
  return i;
}

EditorText::EditorText(std::string utf8, bool keep_utf8, PositionEncoding encoding)
    : utf8_(std::move(utf8)),
      keep_utf8_(keep_utf8),
      encoding_(encoding),
      utf8_starts_(line_starts(utf8_)) {
  if (keep_utf8_) {
    bytes_ = utf8_;
  } else {
    bytes_.reserve(utf8_.size());
    for (size_t i = 0; i < utf8_.size();) {
      const Utf8Character c = character_at(utf8_, i);
      const std::optional<unsigned char> b =
          c.length > 1 ? byte_1252_of(c.code_point) : std::nullopt;
      if (b) {
        bytes_ += static_cast<char>(*b);
      } else {
        bytes_.append(utf8_, i, c.length);
      }
      i += c.length;
    }
  }
  byte_starts_ = line_starts(bytes_);
}

std::string_view EditorText::utf8_line(int64_t line) const {
  return line_of(utf8_, utf8_starts_, line);
}

std::string_view EditorText::byte_line(int64_t line) const {
  return line_of(bytes_, byte_starts_, line);
}

int64_t EditorText::line_width(int64_t line) const {
  const std::string_view text = utf8_line(line);
  int64_t width = 0;
  for (size_t i = 0; i < text.size();) {
    const Utf8Character c = character_at(text, i);
    width += units_of(c, encoding_);
    i += c.length;
  }
  return width;
}

size_t EditorText::compiled_length(size_t i, size_t length) const {
  if (keep_utf8_ || length == 1) return length;
  return byte_1252_of(utf8_character_at(utf8_, i).code_point) ? 1 : length;
}

Position EditorText::position_of(int64_t line, int32_t column) const {
  Position position{std::max<int64_t>(line - 1, 0), 0};
  const std::string_view text = utf8_line(position.line);
  size_t bytes = 0;
  for (size_t i = 0; i < text.size() && bytes + 1 < static_cast<size_t>(std::max(column, 1));) {
    const Utf8Character c = character_at(text, i);
    bytes += compiled_length(static_cast<size_t>(text.data() - utf8_.data()) + i, c.length);
    position.character += units_of(c, encoding_);
    i += c.length;
  }
  return position;
}

Range EditorText::field_range(int64_t line, int32_t column) const {
  const Position start = position_of(line, column);
  if (start.line >= line_count()) return {start, {start.line, start.character + 1}};
  const std::string_view text = utf8_line(start.line);
  const size_t from = offset_of(utf8_, utf8_starts_, start, encoding_) - utf8_starts_[start.line];
  size_t to = text.find(',', from);
  if (to == std::string_view::npos) to = text.size();
  while (to > from && is_blank(text[to - 1])) --to;
  Position end = start;
  for (size_t i = from; i < to;) {
    const Utf8Character c = character_at(text, i);
    end.character += units_of(c, encoding_);
    i += c.length;
  }
  if (end.character == start.character) ++end.character;
  return {start, end};
}

int32_t EditorText::column_of(const Position& position) const {
  if (position.line < 0 || position.line >= line_count()) return 1;
  const size_t begin = utf8_starts_[static_cast<size_t>(position.line)];
  const size_t end = offset_of(utf8_, utf8_starts_, position, encoding_);
  int32_t column = 1;
  for (size_t i = begin; i < end;) {
    const Utf8Character c = character_at(utf8_, i);
    column += static_cast<int32_t>(compiled_length(i, c.length));
    i += c.length;
  }
  return column;
}

}  // namespace scenario::lsp
