// Reads a scenario source as a stream of fields. A field ends at a comma or a
// line end and loses its leading blanks; a numeric field also ends at a blank,
// and an empty one reads as 0. Every read consumes the comma or line end that
// closes its field, so the source is at its end when nothing remains.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "base/run_time_failure.h"
#include "source/byte_source.h"

namespace scenario {

// What closed the last field read.
enum class FieldEnd : uint8_t {
  comma,
  line_end,
  blank,     // a numeric field followed, on the same line, by a field after a blank
  file_end,  // nothing follows
};

// How a read failed.
enum class FieldFailure : uint8_t { none, past_end, not_a_number, out_of_range, too_long };

// The run-time failure of a read, with the field as it was found. The reader
// has then consumed the whole field and what closed it, so that a check can
// read on from the next field.
class FieldReadFailure : public RunTimeFailure {
 public:
  FieldReadFailure(const std::string& why, FieldFailure kind, std::string found, int32_t line,
                   int32_t column, bool starts_line)
      : RunTimeFailure(why),
        kind(kind),
        found(std::move(found)),
        line(line),
        column(column),
        starts_line(starts_line) {}
  FieldFailure kind;
  std::string found;  // the field's text up to its comma or line end, shortened when long
  int32_t line;
  int32_t column;
  bool starts_line;  // the field is the first of its line
};

class FieldReader {
 public:
  // Longer fields are a read failure: no record has a use for them, and the
  // limit keeps memory bounded whatever the input.
  static constexpr size_t kMaxFieldLength = 65535;
  // How much of a failed field its failure keeps.
  static constexpr size_t kFoundLength = 60;

  explicit FieldReader(ByteSource& source);

  // True when nothing but the line end that closed the last field remains.
  bool at_end();

  // Each read throws FieldReadFailure on a read past the end, a value that is
  // not a decimal integer, a value outside the column's range or an over-long
  // field.
  std::string read_text();
  int32_t read_int32();
  int16_t read_int16();
  uint8_t read_uint8();

  // Where the last field read (or the failed read) begins; counted from 1.
  // Lines are counted in 64 bits: a source may have more than 2^31 of them.
  int64_t field_line() const { return field_line_; }
  int32_t field_column() const { return field_column_; }
  // What closed the last field read; a line end before the first read.
  FieldEnd field_end() const { return field_end_; }
  // How many digits the last numeric field read holds (0 for an empty one).
  size_t field_digits() const { return field_digits_; }

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
  std::string field_so_far() const;
  [[noreturn]] void fail(FieldFailure kind, const std::string& why, bool numeric);

  ByteSource& source_;
  std::unique_ptr<char[]> buffer_;
  const char* cur_;
  const char* end_;
  int64_t consumed_ = 0;  // bytes before the start of the buffer
  int64_t line_ = 1;
  int64_t line_start_ = 0;  // offset of the current line's first byte
  int64_t field_line_ = 1;
  int32_t field_column_ = 1;
  int64_t field_start_ = 0;  // offset of the last field's first byte
  FieldEnd field_end_ = FieldEnd::line_end;
  size_t field_digits_ = 0;
  std::string carry_;      // the start of a field that began in an earlier buffer
  int64_t carry_end_ = 0;  // the offset just past the buffer the carry was taken from
};

}  // namespace scenario
