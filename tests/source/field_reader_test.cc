// The field stream of the source files: what each input reads as, where each
// field begins, and the reads that fail.
#include "source/field_reader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/run_time_failure.h"
#include "source/byte_source.h"

namespace scenario {
namespace {

// Hands out one byte per read, so that every field and every CR LF straddles
// the end of the reader's buffer.
class TrickleSource : public ByteSource {
 public:
  explicit TrickleSource(std::string_view text) : inner_(text) {}
  size_t read(char* buffer, size_t capacity) override {
    return inner_.read(buffer, capacity == 0 ? 0 : 1);
  }

 private:
  MemoryByteSource inner_;
};

enum class Kind { kText, kInt32, kInt16, kUint8 };

struct Read {
  Kind kind;
  std::string text;
  int64_t number = 0;
};

Read text(std::string s) { return {Kind::kText, std::move(s)}; }
Read int32(int64_t n) { return {Kind::kInt32, "", n}; }
Read int16(int64_t n) { return {Kind::kInt16, "", n}; }
Read uint8(int64_t n) { return {Kind::kUint8, "", n}; }

struct Row {
  const char* name;
  std::string input;
  std::vector<Read> reads;  // all of them succeed, and the input is then at its end
};

const std::vector<Row>& rows() {
  static const std::vector<Row> table = {
      {"clock line, numbers apart by blanks",
       "orologio,    10              32            40 \r\n",
       {text("orologio"), int16(10), int16(32), int16(40)}},
      {"clock line followed by the next record",
       "orologio,    10              32            40 \r\n[aderenze]\r\n",
       {text("orologio"), int16(10), int16(32), int16(40), text("[aderenze]")}},
      {"empty numeric fields read 0",
       "rallentamento, 1,  , ,2\r\n",
       {text("rallentamento"), int32(1), int32(0), int32(0), int32(2)}},
      {"right-side board left empty",
       "indicatori_vmax,  143500,  60,  70,  75,  2,  ,  ,  ,  0\r\n",
       {text("indicatori_vmax"), int32(143500), int32(60), int32(70), int32(75), int32(2), int32(0),
        int32(0), int32(0), int32(0)}},
      {"board text with a parenthesised group",
       "cartello_indicatore,  4400, (Km 345+557)\r\n",
       {text("cartello_indicatore"), int32(4400), text("(Km 345+557)")}},
      {"board text with three groups",
       "cartello_indicatore,  35650, (torrente) (Rio Secco) (Km 314+350)\r\n",
       {text("cartello_indicatore"), int32(35650), text("(torrente) (Rio Secco) (Km 314+350)")}},
      {"comment line with dashes",
       "- tratta a doppio binario -\r\n",
       {text("- tratta a doppio binario -")}},
      {"negative value", "pendenza, 5000, -8\r\n", {text("pendenza"), int32(5000), int32(-8)}},
      {"leading blanks dropped, trailing blanks of a text too",
       "   lunghezza percorso   ,    243000\r\n",
       {text("lunghezza percorso"), int32(243000)}},
      {"the limits of every column",
       "255, 0, -32768, 32767, 2147483647, -2147483648\r\n",
       {uint8(255), uint8(0), int16(-32768), int16(32767), int32(2147483647), int32(-2147483648)}},
      {"last field with a final line end", "[fine]\r\n", {text("[fine]")}},
      {"last field without a final line end", "[fine]", {text("[fine]")}},
      {"last number without a final line end", "sabbia, 200", {text("sabbia"), int32(200)}},
      {"last number with trailing blanks", "sabbia, 200  ", {text("sabbia"), int32(200)}},
      {"LF line ends",
       "sabbia, 200\nsfondo uno, 1\n",
       {text("sabbia"), int32(200), text("sfondo uno"), int32(1)}},
      {"CR LF line ends",
       "sabbia, 200\r\nsfondo uno, 1\r\n",
       {text("sabbia"), int32(200), text("sfondo uno"), int32(1)}},
      {"an empty line is one empty text field",
       "[cartelli]\r\n\r\n[indicazioni]\r\n",
       {text("[cartelli]"), text(""), text("[indicazioni]")}},
      {"a record's values go on over a line end",
       "orologio,    10   32\r\n40\r\n",
       {text("orologio"), int16(10), int16(32), int16(40)}},
      {"single-byte text keeps 0xE0", "citt\xE0 alta\r\n", {text("citt\xE0 alta")}},
  };
  return table;
}

void check_read(FieldReader& reader, const Read& read) {
  switch (read.kind) {
    case Kind::kText:
      EXPECT_EQ(reader.read_text(), read.text);
      break;
    case Kind::kInt32:
      EXPECT_EQ(reader.read_int32(), read.number);
      break;
    case Kind::kInt16:
      EXPECT_EQ(reader.read_int16(), read.number);
      break;
    case Kind::kUint8:
      EXPECT_EQ(reader.read_uint8(), read.number);
      break;
  }
}

void attempt(FieldReader& reader, Kind kind) {
  switch (kind) {
    case Kind::kText:
      reader.read_text();
      break;
    case Kind::kInt32:
      reader.read_int32();
      break;
    case Kind::kInt16:
      reader.read_int16();
      break;
    case Kind::kUint8:
      reader.read_uint8();
      break;
  }
}

void check_row(ByteSource& source, const Row& row) {
  FieldReader reader(source);
  for (size_t i = 0; i < row.reads.size(); ++i) {
    SCOPED_TRACE("read " + std::to_string(i));
    ASSERT_FALSE(reader.at_end());
    check_read(reader, row.reads[i]);
  }
  EXPECT_TRUE(reader.at_end());
}

TEST(FieldReaderTest, InputsReadAs) {
  for (const Row& row : rows()) {
    SCOPED_TRACE(row.name);
    MemoryByteSource whole(row.input);
    check_row(whole, row);
    TrickleSource trickle(row.input);
    check_row(trickle, row);
  }
}

struct FailingRow {
  const char* name;
  std::string input;
  std::vector<Read> before;  // reads that succeed first
  Kind failing;
};

TEST(FieldReaderTest, ReadsThatFail) {
  const FailingRow table[] = {
      {"8-bit column above 255", "256\r\n", {}, Kind::kUint8},
      {"8-bit column below 0", "-1\r\n", {}, Kind::kUint8},
      {"16-bit column above 32767", "32768\r\n", {}, Kind::kInt16},
      {"16-bit column below -32768", "-32769\r\n", {}, Kind::kInt16},
      {"32-bit column above its range", "2147483648\r\n", {}, Kind::kInt32},
      {"a number of many digits", "99999999999999999999999\r\n", {}, Kind::kInt32},
      {"letters in a numeric field", "sabbia, molta\r\n", {text("sabbia")}, Kind::kInt32},
      {"digits then letters", "sabbia, 200m\r\n", {text("sabbia")}, Kind::kInt32},
      {"a lone minus sign", "pendenza, -\r\n", {text("pendenza")}, Kind::kInt32},
      {"a plus sign", "pendenza, +5\r\n", {text("pendenza")}, Kind::kInt32},
      {"text past the end", "[fine]\r\n", {text("[fine]")}, Kind::kText},
      {"number past the end", "sabbia, 200\r\n", {text("sabbia"), int32(200)}, Kind::kInt32},
      {"a read of an empty file", "", {}, Kind::kText},
      {"a text field too long to keep", std::string(70000, 'a'), {}, Kind::kText},
  };
  for (const FailingRow& row : table) {
    SCOPED_TRACE(row.name);
    MemoryByteSource source(row.input);
    FieldReader reader(source);
    for (const Read& read : row.before) check_read(reader, read);
    EXPECT_THROW(attempt(reader, row.failing), RunTimeFailure);
  }
}

TEST(FieldReaderTest, FieldsKnowTheirLineAndColumn) {
  const std::string input =
      "[generale]\r\n"
      "lunghezza percorso,    243000\r\n"
      "  sabbia,200\n"
      "orologio,    10              32\r\n";
  const struct {
    Read read;
    int32_t line;
    int32_t column;
  } table[] = {
      {text("[generale]"), 1, 1}, {text("lunghezza percorso"), 2, 1},
      {int32(243000), 2, 24},     {text("sabbia"), 3, 3},
      {int32(200), 3, 10},        {text("orologio"), 4, 1},
      {int16(10), 4, 14},         {int16(32), 4, 30},
  };
  TrickleSource source(input);
  FieldReader reader(source);
  for (const auto& row : table) {
    check_read(reader, row.read);
    EXPECT_EQ(reader.field_line(), row.line) << row.read.text << row.read.number;
    EXPECT_EQ(reader.field_column(), row.column) << row.read.text << row.read.number;
  }
  EXPECT_TRUE(reader.at_end());
}

TEST(FieldReaderTest, FailedReadPointsAtItsField) {
  MemoryByteSource source("montagna, 141550, 143050, 300\r\n");
  FieldReader reader(source);
  reader.read_text();
  reader.read_int32();
  reader.read_int32();
  EXPECT_THROW(reader.read_uint8(), RunTimeFailure);
  EXPECT_EQ(reader.field_line(), 1);
  EXPECT_EQ(reader.field_column(), 27);
}

// What closed each field: the parser tells a record's line from the next by it.
TEST(FieldReaderTest, FieldsKnowWhatClosedThem) {
  const std::string input = "orologio, 10 32 40\r\npendenza, 5, 8,5\r\n[fine]";
  TrickleSource source(input);
  FieldReader reader(source);
  EXPECT_EQ(reader.field_end(), FieldEnd::line_end);  // the first field starts a line
  const struct {
    Read read;
    FieldEnd end;
  } table[] = {
      {text("orologio"), FieldEnd::comma},  {int16(10), FieldEnd::blank},
      {int16(32), FieldEnd::blank},         {int16(40), FieldEnd::line_end},
      {text("pendenza"), FieldEnd::comma},  {int32(5), FieldEnd::comma},
      {int32(8), FieldEnd::comma},          {int32(5), FieldEnd::line_end},
      {text("[fine]"), FieldEnd::file_end},
  };
  for (const auto& row : table) {
    check_read(reader, row.read);
    EXPECT_EQ(reader.field_end(), row.end) << row.read.text << row.read.number;
  }
}

// A failed read keeps the field as found and consumes it with what closes it,
// so that reading may go on at the next field.
TEST(FieldReaderTest, AFailedReadKeepsItsFieldAndPassesIt) {
  const std::string long_field(70000, 'k');
  const struct {
    const char* name;
    std::string input;
    Kind failing;
    FieldFailure kind;
    std::string found;
    bool starts_line;
    std::string next;  // the text field read after the failure
  } table[] = {
      {"letters", "12.5, seguito\r\n", Kind::kInt32, FieldFailure::not_a_number, "12.5", true,
       "seguito"},
      {"a keyword read as a number", "segnale, 1650\r\n", Kind::kInt32, FieldFailure::not_a_number,
       "segnale", true, "1650"},
      {"a number too large", "70000 x\r\n", Kind::kInt16, FieldFailure::out_of_range, "70000", true,
       "x"},
      {"a field too long to keep", long_field + ",after\r\n", Kind::kText, FieldFailure::too_long,
       long_field.substr(0, FieldReader::kFoundLength) + "...", true, "after"},
  };
  for (const auto& row : table) {
    SCOPED_TRACE(row.name);
    TrickleSource source(row.input);
    FieldReader reader(source);
    try {
      attempt(reader, row.failing);
      ADD_FAILURE() << "the read did not fail";
    } catch (const FieldReadFailure& failure) {
      EXPECT_EQ(failure.kind, row.kind);
      EXPECT_EQ(failure.found, row.found);
      EXPECT_EQ(failure.line, 1);
      EXPECT_EQ(failure.column, 1);
      EXPECT_EQ(failure.starts_line, row.starts_line);
    }
    EXPECT_EQ(reader.read_text(), row.next);
  }
  MemoryByteSource empty("");
  FieldReader at_end(empty);
  try {
    at_end.read_int32();
    ADD_FAILURE() << "the read did not fail";
  } catch (const FieldReadFailure& failure) {
    EXPECT_EQ(failure.kind, FieldFailure::past_end);
    EXPECT_EQ(failure.found, "");
  }
}

TEST(FieldReaderTest, LongSourceAcrossManyBuffers) {
  std::string input;
  constexpr int kRecords = 20000;  // several times the reader's buffer
  for (int i = 0; i < kRecords; ++i) input += "segnale, " + std::to_string(i * 50) + "\r\n";
  MemoryByteSource source(input);
  FieldReader reader(source);
  for (int i = 0; i < kRecords; ++i) {
    ASSERT_EQ(reader.read_text(), "segnale");
    ASSERT_EQ(reader.read_int32(), i * 50);
    ASSERT_EQ(reader.field_line(), i + 1);
  }
  EXPECT_TRUE(reader.at_end());
}

}  // namespace
}  // namespace scenario
