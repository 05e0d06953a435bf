#include "source/field_reader.h"

#include <algorithm>
#include <limits>
#include <string>

#include "base/run_time_failure.h"

namespace scenario {
namespace {

bool is_blank(int c) { return c == ' ' || c == '\t'; }
bool is_line_end(int c) { return c == '\r' || c == '\n'; }

}  // namespace

FieldReader::FieldReader(ByteSource& source)
    : source_(source), buffer_(new char[kBufferSize]), cur_(buffer_.get()), end_(buffer_.get()) {}

bool FieldReader::fill() {
  consumed_ += end_ - buffer_.get();
  const size_t n = source_.read(buffer_.get(), kBufferSize);
  cur_ = buffer_.get();
  end_ = cur_ + n;
  return n > 0;
}

bool FieldReader::at_end() { return peek() < 0; }

void FieldReader::begin_field() {
  field_line_ = line_;
  const int64_t column = offset() - line_start_ + 1;
  field_column_ =
      static_cast<int32_t>(std::min<int64_t>(column, std::numeric_limits<int32_t>::max()));
}

void FieldReader::skip_blanks() {
  while (is_blank(peek())) ++cur_;
}

void FieldReader::consume_line_end() {
  const int c = peek();
  ++cur_;
  if (c == '\r' && peek() == '\n') ++cur_;
  ++line_;
  line_start_ = offset();
}

// Consumes what closes a field: a comma or a line end, after any blanks.
void FieldReader::consume_delimiter() {
  const int c = peek();
  if (c == ',') {
    ++cur_;
  } else if (is_line_end(c)) {
    consume_line_end();
  }
}

void FieldReader::fail(const std::string& why) const { throw RunTimeFailure(why); }

std::string FieldReader::read_text() {
  if (at_end()) {
    begin_field();
    fail("read past the end of the file");
  }
  skip_blanks();
  begin_field();
  std::string text;
  for (;;) {
    if (cur_ == end_ && !fill()) break;
    const char* stop = cur_;
    while (stop != end_ && *stop != ',' && *stop != '\r' && *stop != '\n') ++stop;
    text.append(cur_, stop);
    cur_ = stop;
    if (text.size() > kMaxFieldLength) {
      fail("field longer than " + std::to_string(kMaxFieldLength) + " characters");
    }
    if (stop != end_) break;
  }
  while (!text.empty() && is_blank(static_cast<unsigned char>(text.back()))) text.pop_back();
  consume_delimiter();
  return text;
}

int64_t FieldReader::read_integer(int64_t min, int64_t max, const char* column) {
  if (at_end()) {
    begin_field();
    fail("read past the end of the file");
  }
  skip_blanks();
  begin_field();
  int c = peek();
  if (c < 0 || c == ',' || is_line_end(c)) {  // an empty field
    consume_delimiter();
    return 0;
  }
  const bool negative = c == '-';
  if (negative) {
    ++cur_;
    c = peek();
  }
  if (c < '0' || c > '9') fail("not a whole number where a number is expected");
  // Digits beyond any column's range only need to be counted, not kept.
  constexpr int64_t kCap = int64_t{1} << 40;
  int64_t value = 0;
  size_t digits = 0;
  while (c >= '0' && c <= '9') {
    value = std::min(value * 10 + (c - '0'), kCap);
    if (++digits > kMaxFieldLength) {
      fail("field longer than " + std::to_string(kMaxFieldLength) + " characters");
    }
    ++cur_;
    c = peek();
  }
  if (!(c < 0 || c == ',' || is_blank(c) || is_line_end(c))) {
    fail("not a whole number where a number is expected");
  }
  if (value == kCap) fail(std::string("the number does not fit ") + column);
  if (negative) value = -value;
  if (value < min || value > max) {
    fail("the value " + std::to_string(value) + " does not fit " + column);
  }
  skip_blanks();
  consume_delimiter();
  return value;
}

int32_t FieldReader::read_int32() {
  return static_cast<int32_t>(read_integer(std::numeric_limits<int32_t>::min(),
                                           std::numeric_limits<int32_t>::max(),
                                           "a 32-bit column (-2147483648 to 2147483647)"));
}

int16_t FieldReader::read_int16() {
  return static_cast<int16_t>(read_integer(-32768, 32767, "a 16-bit column (-32768 to 32767)"));
}

uint8_t FieldReader::read_uint8() {
  return static_cast<uint8_t>(read_integer(0, 255, "an 8-bit column (0 to 255)"));
}

}  // namespace scenario
