// Reads the built-in scenario's sources back through the field reader, record
// by record, for the tests of the content and of the crew documents.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "source/text_writer.h"

namespace scenario::testing {

// One record as the field stream yields it: `kind` is the recognition text
// that matched the keyword field ("curva", "stazione", ...).
struct SourceRecord {
  std::string kind;
  std::string keyword;
  std::vector<int64_t> values;
  std::string text;  // board text or station name
};

// Every record after "[generale]"; fields naming no record are passed over.
std::vector<SourceRecord> read_line_records(const Righe& righe);
std::vector<SourceRecord> read_train_records(const Righe& righe);

std::vector<SourceRecord> records_of(const std::vector<SourceRecord>& records,
                                     const std::string& kind);

// The built-in train's stations, in file order.
struct StationRow {
  int64_t position = 0;
  int64_t type = 0;
  int64_t length = 0;
  std::vector<int64_t> codes;  // values 4 to 12
  int64_t stop_time = 0;
  int64_t hours = 0;
  int64_t minutes = 0;
  int64_t seconds = 0;
  std::string name;
};
std::vector<StationRow> builtin_stations();

}  // namespace scenario::testing
