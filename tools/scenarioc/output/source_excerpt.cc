#include "scenarioc/output/source_excerpt.h"

#include <algorithm>
#include <new>
#include <stdexcept>

#include "base/run_time_failure.h"
#include "base/text_encoding.h"

namespace scenario {
namespace {

constexpr size_t kTabStop = 8;
constexpr size_t kMinimumNumberWidth = 4;
// The index of line starts keeps one start after at least this many lines or
// this many bytes since the last one kept: at most one entry per 64 bytes of
// the file, and finding a line reads at most 4096 bytes of the lines before it.
constexpr int64_t kLinesBetweenMarks = 64;
constexpr size_t kBytesBetweenMarks = 4096;

bool is_line_end(char c) { return c == '\r' || c == '\n'; }

// Where the line starting at `start` ends, without its line end.
size_t line_end(std::string_view bytes, size_t start) {
  size_t end = start;
  while (end < bytes.size() && !is_line_end(bytes[end])) ++end;
  return end;
}

// Where the line after the one ending at `end` starts; the size when none follows.
size_t next_line_start(std::string_view bytes, size_t end) {
  if (end >= bytes.size()) return bytes.size() + 1;
  if (bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n') ++end;
  return end + 1;
}

std::string read_all(ByteSource& source) {
  std::string bytes;
  // Room for the whole file at once: growing by doubling would hold up to
  // three halves of it while the last block is copied.
  bytes.reserve(source.expected_size());
  char block[1 << 16];
  for (size_t n; (n = source.read(block, sizeof block)) > 0;) bytes.append(block, n);
  return bytes;
}

// How many columns a UTF-8 text takes: one per code point, every character
// that can be shown here (Windows-1252 and escapes) being one column wide.
size_t columns_of(std::string_view utf8) {
  size_t columns = 0;
  for (char c : utf8) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++columns;
  }
  return columns;
}

// The bytes of a line that are shown: all of a short line, else the window
// of kExcerptBytes around byte `target`, kept inside the line.
struct Window {
  size_t begin = 0;
  size_t end = 0;
};
Window window_around(size_t size, size_t target) {
  if (size <= kExcerptBytes) return {0, size};
  const size_t begin = std::min(target > kExcerptBytesBefore ? target - kExcerptBytesBefore : 0,
                                size - kExcerptBytes);
  return {begin, begin + kExcerptBytes};
}

}  // namespace

SourceLines::Text& SourceLines::text(SourceFile which) {
  Text& t = which == SourceFile::line ? line_file_ : train_file_;
  if (t.loaded) return t;
  t.loaded = true;
  try {
    if (!sources_.exists(which)) return t;
    t.bytes = read_all(*sources_.open(which));
  } catch (const RunTimeFailure&) {
    t.bytes.clear();  // the diagnostic is shown without its line
    return t;
  } catch (const std::bad_alloc&) {
    t.bytes = std::string();  // a file larger than memory: shown without its lines
    return t;
  } catch (const std::length_error&) {
    t.bytes = std::string();
    return t;
  }
  t.readable = true;
  t.marks.push_back({});
  t.last_found_end = line_end(t.bytes, 0);
  int64_t line = 1;
  for (size_t start = 0;;) {
    start = next_line_start(t.bytes, line_end(t.bytes, start));
    if (start > t.bytes.size()) break;
    ++line;
    const LineStart& mark = t.marks.back();
    if (line - mark.line >= kLinesBetweenMarks || start - mark.offset >= kBytesBetweenMarks) {
      t.marks.push_back({line, start});
    }
  }
  t.marks.shrink_to_fit();
  return t;
}

std::optional<std::string_view> SourceLines::line(SourceFile which, int32_t line) {
  if (which == SourceFile::none || line < 1) return std::nullopt;
  Text& t = text(which);
  if (!t.readable) return std::nullopt;
  const std::string_view bytes = t.bytes;
  if (t.last_found.line == line) {
    return bytes.substr(t.last_found.offset, t.last_found_end - t.last_found.offset);
  }
  // From the last start known at or before the line: a mark, or the line found last.
  auto after = std::upper_bound(t.marks.begin(), t.marks.end(), line,
                                [](int64_t n, const LineStart& mark) { return n < mark.line; });
  LineStart at = *std::prev(after);
  if (t.last_found.line < line && t.last_found.line >= at.line) {
    at = {t.last_found.line + 1, next_line_start(bytes, t.last_found_end)};
  }
  while (at.line < line && at.offset <= bytes.size()) {
    at = {at.line + 1, next_line_start(bytes, line_end(bytes, at.offset))};
  }
  if (at.offset > bytes.size()) return std::nullopt;
  t.last_found = at;
  t.last_found_end = line_end(bytes, at.offset);
  return bytes.substr(at.offset, t.last_found_end - at.offset);
}

std::string render_excerpt(std::string_view raw, int32_t line_number, int32_t column,
                           const Painter& painter) {
  const size_t target = column > 0 ? static_cast<size_t>(column) - 1 : 0;
  const Window window = window_around(raw.size(), target);
  std::string shown;
  size_t width = 0;
  size_t caret = 0;  // the shown column of byte `column`
  if (window.begin > 0) {
    shown += kCutMark;
    width += kCutMark.size();
  }
  for (size_t i = window.begin; i < window.end; ++i) {
    if (i == target) caret = width;
    if (raw[i] == '\t') {
      const size_t spaces = kTabStop - width % kTabStop;
      shown.append(spaces, ' ');
      width += spaces;
      continue;
    }
    const std::string piece = printable_from_1252(raw.substr(i, 1));
    shown += piece;
    width += columns_of(piece);
  }
  // A column past the line's end (a value missing at its end) points just past what is shown.
  if (target >= raw.size()) caret = width;
  if (window.end < raw.size()) shown += kCutMark;

  std::string number = std::to_string(line_number);
  if (number.size() < kMinimumNumberWidth) {
    number.insert(0, kMinimumNumberWidth - number.size(), ' ');
  }
  std::string out = " " + number + " | " + shown + "\n";
  if (column > 0) {
    out += " " + std::string(number.size(), ' ') + " | " + std::string(caret, ' ') +
           painter.paint(Style::caret, "^") + "\n";
  }
  return out;
}

}  // namespace scenario
