#include "scenarioc/lsp/framing.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <optional>

namespace scenario::lsp {
namespace {

bool same_name(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
    text.remove_suffix(1);
  }
  return text;
}

std::optional<size_t> length_named(std::string_view value) {
  size_t length = 0;
  const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), length);
  if (error != std::errc() || end != value.data() + value.size() || value.empty()) {
    return std::nullopt;
  }
  return length;
}

// Passes over `length` bytes; false when the stream ends first.
bool skip(std::istream& in, size_t length) {
  char buffer[65536];
  while (length > 0) {
    const size_t part = std::min(length, sizeof buffer);
    if (!in.read(buffer, static_cast<std::streamsize>(part))) return false;
    length -= part;
  }
  return true;
}

enum class LineRead { line, too_long, end };

// Reads a line to its '\n' and keeps at most kLongestHeaderLine bytes of it,
// so that a header without a line end cannot take all memory.
LineRead read_header_line(std::istream& in, std::string& line) {
  line.clear();
  bool too_long = false;
  for (int c = in.get(); c != std::istream::traits_type::eof(); c = in.get()) {
    if (c == '\n') return too_long ? LineRead::too_long : LineRead::line;
    if (line.size() < kLongestHeaderLine) {
      line += static_cast<char>(c);
    } else {
      too_long = true;
    }
  }
  return LineRead::end;
}

}  // namespace

Frame read_frame(std::istream& in) {
  Frame frame;
  std::optional<size_t> length;
  bool header_seen = false, length_faulty = false, line_too_long = false;
  std::string line;
  while (true) {
    const LineRead read = read_header_line(in, line);
    if (read == LineRead::end) return frame;  // the stream ended
    if (read == LineRead::too_long) {
      header_seen = line_too_long = true;
      continue;
    }
    const std::string_view field = trimmed(line);
    if (field.empty()) {
      if (header_seen) break;
      continue;  // blank lines between messages
    }
    header_seen = true;
    const size_t colon = field.find(':');
    if (colon == std::string_view::npos) continue;
    if (same_name(trimmed(field.substr(0, colon)), "Content-Length")) {
      length = length_named(trimmed(field.substr(colon + 1)));
      length_faulty = !length;
    }
  }
  if (line_too_long) {
    // Its body, where the header says how long it is, is passed over with it.
    if (length && !length_faulty && !skip(in, *length)) return frame;
    frame.kind = Frame::Kind::malformed;
    frame.error = "a line of the message's header is longer than " +
                  std::to_string(kLongestHeaderLine) + " bytes";
    return frame;
  }
  if (!length || length_faulty) {
    frame.kind = Frame::Kind::malformed;
    frame.error = "the message's header has no valid Content-Length";
    return frame;
  }
  if (*length > kLargestBody) {
    if (!skip(in, *length)) return frame;
    frame.kind = Frame::Kind::malformed;
    frame.error = "the message is longer than " + std::to_string(kLargestBody) + " bytes";
    return frame;
  }
  frame.body.resize(*length);
  if (!in.read(frame.body.data(), static_cast<std::streamsize>(*length))) {
    frame.body.clear();
    return frame;
  }
  frame.kind = Frame::Kind::message;
  return frame;
}

void write_frame(std::ostream& out, std::string_view body) {
  out << "Content-Length: " << body.size() << "\r\n\r\n" << body << std::flush;
}

}  // namespace scenario::lsp
