// Messages of the language server protocol on a byte stream: a header of
// "Name: value" lines closed by an empty line, of which Content-Length counts,
// then a body of that many bytes.
#pragma once

#include <cstddef>
#include <istream>
#include <ostream>
#include <string>
#include <string_view>

namespace scenario::lsp {

struct Frame {
  enum class Kind { message, malformed, end };
  Kind kind = Kind::end;
  std::string body;   // a message's body
  std::string error;  // a malformed frame: what is wrong with it
};

// A body longer than this is passed over unread, as a malformed frame.
constexpr size_t kLargestBody = size_t{64} << 20;
// A header line longer than this is passed over to its end, and its frame is malformed.
constexpr size_t kLongestHeaderLine = 8192;

// The next frame; `end` when the stream ends, also inside a frame. A header
// without a valid Content-Length is malformed, and reading goes on after it.
Frame read_frame(std::istream& in);

void write_frame(std::ostream& out, std::string_view body);

}  // namespace scenario::lsp
