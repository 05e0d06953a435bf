#include "scenarioc/output/source_excerpt.h"

#include <memory>

#include "base/run_time_failure.h"
#include "base/text_encoding.h"

namespace scenario {
namespace {

constexpr size_t kTabStop = 8;
constexpr size_t kMinimumNumberWidth = 4;

std::vector<size_t> line_starts(std::string_view bytes) {
  std::vector<size_t> starts = {0};
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    if (bytes[i] == '\r' || bytes[i] == '\n') starts.push_back(i + 1);
  }
  return starts;
}

std::string read_all(ByteSource& source) {
  std::string bytes;
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

}  // namespace

SourceLines::Text& SourceLines::text(SourceFile which) {
  Text& t = which == SourceFile::line ? line_file_ : train_file_;
  if (t.loaded) return t;
  t.loaded = true;
  try {
    if (!sources_.exists(which)) return t;
    t.bytes = read_all(*sources_.open(which));
    t.starts = line_starts(t.bytes);
  } catch (const RunTimeFailure&) {
    t.bytes.clear();  // the diagnostic is shown without its line
  }
  return t;
}

std::optional<std::string_view> SourceLines::line(SourceFile which, int32_t line) {
  if (which == SourceFile::none || line < 1) return std::nullopt;
  const Text& t = text(which);
  const size_t index = static_cast<size_t>(line) - 1;
  if (index >= t.starts.size()) return std::nullopt;
  const size_t start = t.starts[index];
  size_t end = start;
  while (end < t.bytes.size() && t.bytes[end] != '\r' && t.bytes[end] != '\n') ++end;
  return std::string_view(t.bytes).substr(start, end - start);
}

std::string render_excerpt(std::string_view raw, int32_t line_number, int32_t column,
                           const Painter& painter) {
  std::string shown;
  size_t width = 0;
  size_t caret = 0;  // the shown column of byte `column`
  const size_t target = column > 0 ? static_cast<size_t>(column) - 1 : 0;
  for (size_t i = 0; i < raw.size(); ++i) {
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
