#include "source/builtin_source_records.h"

#include "source/builtin_line.h"
#include "source/builtin_train.h"
#include "source/field_reader.h"

namespace scenario::testing {
namespace {

// How a record kind reads its values: i 32-bit, s 16-bit, b 8-bit unsigned,
// t text to the end of the line. The first kind whose text the keyword field
// contains wins.
struct RecordKind {
  const char* kind;
  const char* columns;
};

constexpr RecordKind kLineKinds[] = {
    {"lunghezza", "i"}, {"progressiva", "iii"}, {"sfondo", "i"},     {"ripetizione", "ii"},
    {"curva", "ii"},    {"pendenza", "ii"},     {"montagna", "iii"}, {"indicatori_v", "iiiiiiiii"},
    {"cartello", "it"},
};

constexpr RecordKind kTrainKinds[] = {
    {"frenata", "i"},
    {"vetture", "i"},
    {"sabbia", "s"},
    {"orologio", "sss"},
    {"aderenza", "ii"},
    {"velocit", "ii"},
    {"stazione", "ibibbbssbsssbiiit"},
    {"rallentamento", "iiiiii"},
    {"segnale", "iiiiiiiiiii"},
};

template <size_t N>
std::vector<SourceRecord> read_records(const Righe& righe, const RecordKind (&kinds)[N]) {
  const std::string text = text_file_bytes(righe);
  MemoryByteSource source(text);
  FieldReader reader(source);
  while (!reader.at_end() && reader.read_text().find("[generale]") == std::string::npos) {
  }
  std::vector<SourceRecord> records;
  while (!reader.at_end()) {
    SourceRecord record;
    record.keyword = reader.read_text();
    for (const RecordKind& kind : kinds) {
      if (record.keyword.find(kind.kind) == std::string::npos) continue;
      record.kind = kind.kind;
      for (const char* column = kind.columns; *column; ++column) {
        switch (*column) {
          case 'i':
            record.values.push_back(reader.read_int32());
            break;
          case 's':
            record.values.push_back(reader.read_int16());
            break;
          case 'b':
            record.values.push_back(reader.read_uint8());
            break;
          default:
            record.text = reader.read_text();
            break;
        }
      }
      records.push_back(record);
      break;
    }
  }
  return records;
}

}  // namespace

std::vector<SourceRecord> read_line_records(const Righe& righe) {
  return read_records(righe, kLineKinds);
}

std::vector<SourceRecord> read_train_records(const Righe& righe) {
  return read_records(righe, kTrainKinds);
}

std::vector<SourceRecord> records_of(const std::vector<SourceRecord>& records,
                                     const std::string& kind) {
  std::vector<SourceRecord> found;
  for (const SourceRecord& record : records) {
    if (record.kind == kind) found.push_back(record);
  }
  return found;
}

std::vector<StationRow> builtin_stations() {
  std::vector<StationRow> stations;
  for (const SourceRecord& r : records_of(read_train_records(builtin_train_source()), "stazione")) {
    const auto& v = r.values;
    stations.push_back({v[0], v[1], v[2], std::vector<int64_t>(v.begin() + 3, v.begin() + 12),
                        v[12], v[13], v[14], v[15], r.text});
  }
  return stations;
}

}  // namespace scenario::testing
