// The explanation of every error number, recorded or fatal, and of every
// reason a recording gives, written out in full.
#include "compiler/diagnostics/diagnostics.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "compiler/diagnostics/recorded_errors.h"
#include "compiler/scenario_records.h"
#include "compiler/source_files.h"

namespace scenario {
namespace {

// A recording as a rule makes it, one detail at a time.
class Made {
 public:
  explicit Made(int32_t numero) { r_.numero = numero; }
  Made& at(int32_t position) {
    r_.has_position = true;
    r_.posizione = position;
    return *this;
  }
  Made& cell(int64_t c, uint8_t occupant) {
    r_.cell = c;
    r_.occupant = occupant;
    return *this;
  }
  Made& slowdown(int32_t x) {
    r_.has_slowdown = true;
    r_.slowdown_x = x;
    return *this;
  }
  Made& value(int32_t v, int32_t chainage = 0) {
    r_.value = v;
    r_.chainage = chainage;
    return *this;
  }
  Made& reason(Reason why, std::string text = {}) {
    r_.reason = why;
    r_.text = std::move(text);
    return *this;
  }
  Made& text(std::string text) {
    r_.text = std::move(text);
    return *this;
  }
  // Any other detail.
  template <typename Set>
  Made& with(Set set) {
    set(r_);
    return *this;
  }
  const Recording& recording() const { return r_; }

 private:
  Recording r_;
};

TEST(DiagnosticsTest, ExplainsEveryRecordedErrorAndReason) {
  const struct {
    Made made;
    const char* expected;
  } rows[] = {
      {Made(1).value(1000050), "the route length is above 1000000 m: 1000050 m"},
      {Made(2).value(350000, 2600),
       "a kilometric reference is not on a multiple of 50 m: the kilometric reference at "
       "350000 m with chainage 2600 m"},
      {Made(3).value(1675), "the start of the signal repetition is not a multiple of 50 m: 1675 m"},
      {Made(4).value(9020), "the end of the signal repetition is not a multiple of 50 m: 9020 m"},
      {Made(5), "the signal-repetition keyword names neither 4 nor 9 codes"},
      {Made(6).at(700).cell(15, kSpeedBoard),
       "indication board at 700 m: cell 15 already holds a speed-indicator board"},
      {Made(7).at(1700).cell(34, kSignal),
       "abbattimento at 1700 m: cell 34 already holds a signal"},
      {Made(7).at(-5000).cell(-100, kNoObject),
       "abbattimento at -5000 m: cell -100 lies outside the cell row"},
      {Made(8).at(6920), "station at 6920 m: the position is not a multiple of 50 m"},
      {Made(9).at(6900), "station at 6900 m: the length is not a multiple of 100 m"},
      {Made(10),
       "no entry left in the table that stations and indication-board texts share (entries 1 "
       "to 80)"},
      {Made(10).reason(Reason::board_without_entry),
       "no entry left in the table that stations and indication-board texts share (entries 1 "
       "to 80): an 81st indication board has no entry for its text"},
      {Made(10).reason(Reason::station_without_entry),
       "no entry left in the table that stations and indication-board texts share (entries 1 "
       "to 80): the station has no entry left"},
      {Made(11).at(1000).cell(20, kSignal).slowdown(3000),
       "signal in cell 20 (1000 m), within 1000 m before the warning board of the slowdown at "
       "3000 m: no free cell and no marker in the two cells in front of it"},
      {Made(11).at(1000).cell(20, kSignal),
       "signal in cell 20 (1000 m), within 1000 m before the warning board of the slowdown: no "
       "free cell and no marker in the two cells in front of it"},
      {Made(12).at(5000).cell(100, kSlowdownStart).slowdown(5000),
       "slowdown at 5000 m: none of the three cells of one of its look-back windows (250 to "
       "350, 550 to 650 or 900 to 1000 m before its start, cell 100 at 5000 m) is free for an "
       "abbattimento marker"},
      {Made(13).at(3500).cell(70, kSignal).slowdown(3100),
       "slowdown at 3100 m: no free cell for an abbattimento marker near cell 70 (3500 m)"},
      {Made(13).at(10000).cell(200, kNoObject).slowdown(9500).reason(Reason::walk_reached_row_end),
       "slowdown at 9500 m: no free cell for an abbattimento marker near cell 200 (10000 m): the "
       "walk along the slowdown reached the end of the cell row without meeting its end"},
      {Made(15).at(20000), "20000 m lies beyond the cell row; the rest of this file is skipped"},
      {Made(15).at(20000).with([](Recording& r) {
         r.record = "signal";
         r.limit = 16900;
         r.row_end = 17000;
       }),
       "signal at 20000 m lies beyond the cell row: a record's position may be at most 16900 m, "
       "100 m before the row's end at 17000 m (7000 m past the route's end); the rest of this "
       "file is skipped"},
      {Made(15).at(36500).with([](Recording& r) {
         r.record = "station";
         r.limit = 36200;
         r.row_end = 37000;
       }),
       "station at 36500 m lies too near the end of the cell row: a station's position may be at "
       "most 36200 m, 800 m before the row's end at 37000 m (7000 m past the route's end), so "
       "that its zone and marks fit in the row; the rest of this file is skipped"},
      {Made(15).at(36150).reason(Reason::station_zone_beyond_row).with([](Recording& r) {
         r.record = "station";
         r.value = 37150;
         r.row_end = 37000;
       }),
       "station at 36150 m: the station's zone ends at 37150 m, so its stop mark would fall in "
       "cell 742, beyond the row's last cell, cell 740 (37000 m); the rest of this file is "
       "skipped"},
      {Made(15).at(16500).reason(Reason::station_zone_beyond_row),
       "16500 m lies beyond the cell row; the rest of this file is skipped: the station's zone "
       "ends beyond the cell row"},
      {Made(15).at(1650).reason(Reason::earlier_15_stands),
       "record at 1650 m: parsing stops here because the error 15 recorded earlier still "
       "stands"},
      {Made(16).at(700).cell(15, kSpeedBoard),
       "signal at 700 m: cell 15 already holds a speed-indicator board"},
      {Made(17).at(5000).cell(77, kStationMark),
       "slowdown at 5000 m: the warning board's cell 77 already holds a station mark"},
      {Made(18).at(4400).cell(89, kIndicationBoard),
       "slowdown at 4400 m: the start cell 89 already holds an indication board"},
      {Made(19).at(4400).cell(95, kSignal),
       "slowdown at 4400 m: the end cell 95 already holds a signal"},
      {Made(20).at(4400).cell(64, kAbbattimento),
       "slowdown at 4400 m: the countdown cell 64 already holds an abbattimento"},
      {Made(21).at(700).cell(15, kIndicationBoard),
       "speed-indicator board at 700 m: cell 15 already holds an indication board"},
      {Made(22).at(700).with([](Recording& r) {
         r.previous = 0;
         r.value = 400;
         r.limit = 850;
       }),
       "station at 700 m: its zone starts at 400 m, less than 350 m after the zone end of the "
       "station before it; it may start at 850 m at the earliest"},
      {Made(22).at(700).with([](Recording& r) { r.previous = 6900; }),
       "station at 700 m comes after the station at 6900 m: stations are written in ascending "
       "order of position, each zone starting at least 350 m after the zone end of the station "
       "before it"},
      {Made(24), "the station's zone ends at or before 100 m, leaving no cell for its mark"},
      {Made(25).text("the value 70000 does not fit a 16-bit column"),
       "run-time failure: the value 70000 does not fit a 16-bit column"},
      {Made(25), "run-time failure"},
      {Made(25).with([](Recording& r) {
         r.record = "signal";
         r.value_name = "tempo";
         r.value_index = 11;
         r.value_count = 11;
         r.failure = FieldFailure::not_a_number;
         r.found = "segnale";
         r.where = {SourceFile::train, 25, 1};
         r.found_at = {SourceFile::train, 26, 1};
         r.values_on_line = 10;
       }),
       "the signal's 11th value, tempo, is not a whole number: \"segnale\", on line 26; the "
       "signal's own line holds 10 of its 11 values, so the 11th was taken from the next line"},
      {Made(25).with([](Recording& r) {
         r.record = "gradient";
         r.value_name = "position";
         r.value_index = 1;
         r.value_count = 2;
         r.failure = FieldFailure::not_a_number;
         r.found = "pendenza";
         r.where = {SourceFile::line, 14, 1};
         r.found_at = {SourceFile::line, 15, 1};
         r.values_on_line = 0;
         r.separator = ';';
       }),
       "the gradient's 1st value, position, is not a whole number: \"pendenza\", on line 15; the "
       "gradient's own line holds none of its 2 values, so the rest were taken from the lines "
       "after it, and its fields are separated by semicolons, not commas"},
      {Made(25).text("the value 70000 does not fit a 16-bit column").with([](Recording& r) {
         r.record = "sand setting";
         r.value_name = "setting";
         r.value_index = 1;
         r.value_count = 1;
         r.failure = FieldFailure::out_of_range;
       }),
       "the sand setting's value is out of range: the value 70000 does not fit a 16-bit column"},
      {Made(25).with([](Recording& r) {
         r.record = "signal";
         r.value_name = "tempo";
         r.value_index = 11;
         r.value_count = 11;
         r.failure = FieldFailure::past_end;
       }),
       "the signal's 11th value, tempo, is missing: the file ends before it"},
      {Made(25).text("the result 3000000000 does not fit a 32-bit integer").with([](Recording& r) {
         r.record = "slowdown";
       }),
       "the slowdown: run-time failure: the result 3000000000 does not fit a 32-bit integer"},
      {Made(101), "the line source file does not exist"},
      {Made(102), "no field holds \"[generale]\" before the end of the file"},
      {Made(103).reason(Reason::curve_without_class, "curvas"),
       "curve or track plan error: the keyword \"curvas\" holds no class digit 1 to 6"},
      {Made(103).reason(Reason::track_plan_past_limit),
       "curve or track plan error: the track plan would pass metre 1000000"},
      {Made(14), "error"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.made.recording().numero);
    EXPECT_EQ(describe(row.made.recording()), row.expected);
  }
}

TEST(DiagnosticsTest, NamesTheSourceLocationItKnows) {
  const MemorySources sources("", "");
  Recording r = Made(16).at(700).cell(15, kSpeedBoard).recording();
  r.where = {SourceFile::train, 16, 3};
  EXPECT_EQ(format_diagnostic(r, sources),
            "train source:16:3: error 16: signal at 700 m: cell 15 already holds a "
            "speed-indicator board");
  r = Made(101).recording();
  r.where = {SourceFile::line, 0, 0};
  EXPECT_EQ(format_diagnostic(r, sources),
            "line source: error 101: the line source file does not exist");
  r = Made(5).recording();
  EXPECT_EQ(format_diagnostic(r, sources),
            "error 5: the signal-repetition keyword names neither 4 nor 9 codes");
}

// Source text is Windows-1252 and a file name the system's own; either
// reaches a terminal as UTF-8 whose control characters are escaped, so that
// no source can retitle or clear the author's terminal.
TEST(DiagnosticsTest, QuotedTextCannotDriveATerminal) {
  const AuthorSources sources("dir/Prova\x1B[2J_linea.txt", "dir/Prova_1-.txt");
  Recording r =
      Made(103).reason(Reason::curve_without_class, "curva\x1B]0;t\x07\x9B\x8D\xE0").recording();
  r.where = {SourceFile::line, 3000000000, 1};  // lines are counted past 2^31
  EXPECT_EQ(format_diagnostic(r, sources),
            "dir/Prova\\x1B[2J_linea.txt:3000000000:1: error 103: curve or track plan error: the "
            "keyword \"curva\\x1B]0;t\\x07\xE2\x80\xBA\\x8D\xC3\xA0\" holds no class digit 1 to 6");
  r = Made(25)
          .text("cannot read 'dir/Prova\x07_1-.txt': it is a FIFO, not a regular file")
          .recording();
  EXPECT_EQ(describe(r),
            "run-time failure: cannot read 'dir/Prova\\x07_1-.txt': it is a FIFO, not a regular "
            "file");
}

// A context whose header cell or header entry already holds something.
BuildContext with_header(uint8_t oggetto, int16_t dato1, int16_t dato2, int16_t colonna7 = 0,
                         int32_t orario = 0) {
  BuildContext ctx;
  ctx.percorso.assign(10, cella{});
  ctx.percorso[1].oggetto = oggetto;
  ctx.percorso[1].dato1 = dato1;
  ctx.percorso[1].dato2 = dato2;
  ctx.tabella[kEntryScenario].colonna7 = colonna7;
  ctx.tabella[kEntryScenario].orario = orario;
  return ctx;
}

TEST(DiagnosticsTest, ExplainsTheFatalErrors) {
  const MemorySources sources("", "");
  const struct {
    const char* name;
    BuildContext ctx;
    int32_t numero;
    const char* expected;
  } rows[] = {
      {"a board of the line file in the header cell", with_header(kSpeedBoard, 2020, 0), 1250,
       "line source: error 1250: cell 1 is the header cell and its dato1 carries the header "
       "value 5121, but it already holds a speed-indicator board (dato1=2020): an object at the "
       "very start of the route fills it; move that object further along the route; no "
       "compiled file was written"},
      {"a signal of the train file in the header cell", with_header(kSignal, 5121, 41), 1251,
       "train source: error 1251: cell 1 is the header cell and its dato2 carries the "
       "competition code, but it already holds a signal (dato2=41): an object at the very "
       "start of the route fills it; move that object further along the route; no compiled "
       "file was written"},
      {"a value left without an object", with_header(kNoObject, 7, 0), 1250,
       "train source: error 1250: cell 1 is the header cell and its dato1 carries the header "
       "value 5121, but it already holds no object, yet dato1=7: an object at the very start "
       "of the route fills it; move that object further along the route; no compiled file was "
       "written"},
      {"the header entry's colonna7", with_header(kNoObject, 0, 0, 33), 1250,
       "scenarioc: error 1250: entry 85 of the station table, the header entry, already holds "
       "colonna7=33; no compiled file was written"},
      {"the header entry's orario", with_header(kNoObject, 5121, 0, 610, 3600), 1251,
       "scenarioc: error 1251: entry 85 of the station table, the header entry, already holds "
       "orario=3600; no compiled file was written"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(format_fatal_diagnostic(row.ctx, row.numero, sources, "scenarioc"), row.expected);
  }
}

}  // namespace
}  // namespace scenario
