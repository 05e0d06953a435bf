// The state of one parse: the open source, the field in keyword position and
// the counters of the line and train parts. Shared by the two parts of
// `memorizza_dati`; nothing outside the parser uses it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "compiler/recorded_errors.h"
#include "compiler/scenario_records.h"
#include "compiler/source_files.h"
#include "source/field_reader.h"

namespace scenario {

class ParseSession {
 public:
  ParseSession(BuildContext& ctx, SourceFiles& sources) : ctx(ctx), sources(sources) {}

  void open(SourceFile which);
  void close();
  void close_and_delete();
  bool at_end() { return reader_->at_end(); }
  FieldReader& reader() { return *reader_; }

  // Reads the next field into `riga` and remembers where the record starts.
  void read_keyword();
  // A test on `riga`: `keyword` is given in lower case and matched ignoring case.
  bool has(std::string_view keyword) const {
    return lower_riga_.find(keyword) != std::string::npos;
  }
  // A test on `riga` that matches letter case exactly.
  bool has_exact(std::string_view text) const { return ctx.riga.find(text) != std::string::npos; }
  // Reads up to two comment fields (fields with a dash) after the keyword field;
  // false when the source ended on one.
  bool skip_comments();

  // Without a cell row (no route length read) every use of it is a run-time failure.
  void require_cell_row() const;
  int32_t last_cell() const;
  // Whether a record position lies inside the cell row: (p + 100) / 50 <= n.
  bool inside_row(int64_t p) const;

  // Records error `code` for the record being read.
  void record(int32_t code, bool has_position, int32_t position, int64_t cell = -1,
              uint8_t occupant = 0);
  SourceLocation record_location() const { return record_; }
  SourceLocation failure_location() const;

  BuildContext& ctx;
  SourceFiles& sources;
  SourceFile current = SourceFile::none;

  // Line part.
  int32_t indice_cartelli = kFirstBoardEntry;
  int32_t cella_pendenza = 0;
  int32_t previous_gradient = 0;
  int32_t metro = 2;
  // Train part.
  int32_t cella_velocita = 0;
  int32_t cella_aderenza = 0;
  int32_t previous_speed = 0;
  int32_t previous_adhesion = 0;
  int32_t indice_stazione = 1;

 private:
  std::unique_ptr<ByteSource> input_;
  std::unique_ptr<FieldReader> reader_;
  std::string lower_riga_;
  SourceLocation record_;
};

// Each part reports whether the parse goes on or has ended.
enum class PartEnd { go_on, parse_ends };

PartEnd parse_line_source(ParseSession& s);
void parse_train_source(ParseSession& s);

}  // namespace scenario
