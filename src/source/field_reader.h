// Reads a scenario source as a stream of fields. A field ends at a comma or a
// line end and loses its leading blanks; a numeric field also ends at a blank,
// and an empty one reads as 0. Every read consumes the comma or line end that
// closes its field, so the source is at its end when nothing remains.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "source/byte_source.h"

namespace scenario {

class FieldReader {
 public:
  // Longer fields are a read failure: no record has a use for them, and the
  // limit keeps memory bounded whatever the input.
  static constexpr size_t kMaxFieldLength = 65535;

  explicit FieldReader(ByteSource& source);

  // True when nothing but the line end that closed the last field remains.
  bool at_end();

  // Each read throws RunTimeFailure on a read past the end, a value that is not
  // a decimal integer, a value outside the column's range or an over-long field.
  std::string read_text();
  int32_t read_int32();
  int16_t read_int16();
  uint8_t read_uint8();

  // Where the last field read (or the failed read) begins; counted from 1.
  // Lines are counted in 64 bits: a source may have more than 2^31 of them.
  int64_t field_line() const { return field_line_; }
  int32_t field_column() const { return field_column_; }

 private:
  static constexpr size_t kBufferSize = 1 << 16;

  int64_t read_integer(int64_t min, int64_t max, const char* column);
  bool fill();
  int peek() {
    if (cur_ == end_ && !fill()) return -1;
    return static_cast<unsigned char>(*cur_);
  }
  int64_t offset() const { return consumed_ + (cur_ - buffer_.get()); }
  void begin_field();
  void skip_blanks();
  void consume_delimiter();
  void consume_line_end();
  [[noreturn]] void fail(const std::string& why) const;

  ByteSource& source_;
  std::unique_ptr<char[]> buffer_;
  const char* cur_;
  const char* end_;
  int64_t consumed_ = 0;  // bytes before the start of the buffer
  int64_t line_ = 1;
  int64_t line_start_ = 0;  // offset of the current line's first byte
  int64_t field_line_ = 1;
  int32_t field_column_ = 1;
};

}  // namespace scenario
