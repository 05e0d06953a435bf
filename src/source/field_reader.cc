#include "source/field_reader.h"

#include <algorithm>
#include <limits>
#include <string>

namespace scenario {
namespace {

bool is_blank(int c) { return c == ' ' || c == '\t'; }
bool is_line_end(int c) { return c == '\r' || c == '\n'; }

constexpr char kNotANumber[] = "not a whole number where a number is expected";

}  // namespace

FieldReader::FieldReader(ByteSource& source)
    : source_(source), buffer_(new char[kBufferSize]), cur_(buffer_.get()), end_(buffer_.get()) {}

bool FieldReader::fill() {
  // A failure names its field, so the start of a field that began in this
  // buffer outlives it.
  const size_t keep = kFoundLength + 1;
  const int64_t buffer_end = consumed_ + (end_ - buffer_.get());
  if (field_start_ >= consumed_) {
    const char* start = buffer_.get() + (field_start_ - consumed_);
    carry_.assign(start, std::min<size_t>(end_ - start, keep));
    carry_end_ = buffer_end;
  } else if (carry_end_ == consumed_ && carry_.size() < keep) {
    carry_.append(buffer_.get(), std::min<size_t>(end_ - buffer_.get(), keep - carry_.size()));
    carry_end_ = buffer_end;
  }
  consumed_ += end_ - buffer_.get();
  const size_t n = source_.read(buffer_.get(), kBufferSize);
  cur_ = buffer_.get();
  end_ = cur_ + n;
  return n > 0;
}

bool FieldReader::at_end() { return peek() < 0; }

void FieldReader::begin_field() {
  field_line_ = line_;
  field_start_ = offset();
  const int64_t column = field_start_ - line_start_ + 1;
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
    field_end_ = FieldEnd::comma;
  } else if (is_line_end(c)) {
    consume_line_end();
    field_end_ = FieldEnd::line_end;
  } else {
    field_end_ = c < 0 ? FieldEnd::file_end : FieldEnd::blank;
  }
}

// The bytes of the current field read so far, at most kFoundLength + 1 of them.
std::string FieldReader::field_so_far() const {
  const size_t keep = kFoundLength + 1;
  if (field_start_ >= consumed_) {
    const char* start = buffer_.get() + (field_start_ - consumed_);
    return std::string(start, std::min<size_t>(cur_ - start, keep));
  }
  std::string text = carry_;
  if (carry_end_ == consumed_ && text.size() < keep) {
    text.append(buffer_.get(), std::min<size_t>(cur_ - buffer_.get(), keep - text.size()));
  }
  return text;
}

// Reads on to the end of the failed field (a numeric one ends at a blank too)
// and what closes it, then throws with the field as found.
void FieldReader::fail(FieldFailure kind, const std::string& why, bool numeric) {
  std::string found = field_so_far();
  const bool starts_line = field_end_ == FieldEnd::line_end;
  if (kind != FieldFailure::past_end) {
    for (int c = peek(); c >= 0 && c != ',' && !is_line_end(c) && !(numeric && is_blank(c));
         c = peek()) {
      if (found.size() <= kFoundLength) found += static_cast<char>(c);
      ++cur_;
    }
    skip_blanks();
    consume_delimiter();
  } else {
    field_end_ = FieldEnd::file_end;
  }
  while (!found.empty() && is_blank(static_cast<unsigned char>(found.back()))) found.pop_back();
  if (found.size() > kFoundLength) found = found.substr(0, kFoundLength) + "...";
  throw FieldReadFailure(why, kind, std::move(found), field_line_, field_column_, starts_line);
}

std::string FieldReader::read_text() {
  if (at_end()) {
    begin_field();
    fail(FieldFailure::past_end, "read past the end of the file", false);
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
      fail(FieldFailure::too_long,
           "field longer than " + std::to_string(kMaxFieldLength) + " characters", false);
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
    fail(FieldFailure::past_end, "read past the end of the file", true);
  }
  skip_blanks();
  begin_field();
  int c = peek();
  if (c < 0 || c == ',' || is_line_end(c)) {  // an empty field
    field_digits_ = 0;
    consume_delimiter();
    return 0;
  }
  const bool negative = c == '-';
  if (negative) {
    ++cur_;
    c = peek();
  }
  if (c < '0' || c > '9') fail(FieldFailure::not_a_number, kNotANumber, true);
  // Digits beyond any column's range only need to be counted, not kept.
  constexpr int64_t kCap = int64_t{1} << 40;
  int64_t value = 0;
  size_t digits = 0;
  while (c >= '0' && c <= '9') {
    value = std::min(value * 10 + (c - '0'), kCap);
    if (++digits > kMaxFieldLength) {
      fail(FieldFailure::too_long,
           "field longer than " + std::to_string(kMaxFieldLength) + " characters", true);
    }
    ++cur_;
    c = peek();
  }
  if (!(c < 0 || c == ',' || is_blank(c) || is_line_end(c))) {
    fail(FieldFailure::not_a_number, kNotANumber, true);
  }
  if (value == kCap) {
    fail(FieldFailure::out_of_range, std::string("the number does not fit ") + column, true);
  }
  field_digits_ = digits;
  if (negative) value = -value;
  if (value < min || value > max) {
    fail(FieldFailure::out_of_range,
         "the value " + std::to_string(value) + " does not fit " + column, true);
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
