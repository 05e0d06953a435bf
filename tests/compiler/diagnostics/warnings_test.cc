// The mistakes an author makes, one at a time in the small scenario, each with
// the diagnostic it draws: a warning or an error, on the line and column where
// the mistake stands, with the words that say what was read and how to fix it.
#include "compiler/diagnostics/warnings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "compiler/compile_harness.h"
#include "compiler/diagnostics/expected_diagnostic.h"

namespace scenario::testing {
namespace {

constexpr const char* kSignal1650 = "segnale,    1650,   2, 4, 0,  0, 0,    2,  1,0,0, 0";

std::string signal_at(const char* position) {
  return std::string("segnale,    ") + position + ",   2, 4, 0,  0, 0,    2,  1,0,0, 0";
}

// The small train with `record` as one more line after the signal at 1650 m (line 17).
std::string train_adding(const std::string& record) {
  return train_with(kSignal1650, std::string(kSignal1650) + "\r\n" + record);
}

struct Mistake {
  const char* what;
  std::string line;
  std::string train;
  Expected expected;
};

constexpr SourceFile kLine = SourceFile::line;
constexpr SourceFile kTrain = SourceFile::train;

const std::vector<Mistake>& mistakes() {
  static const std::vector<Mistake> table = {
      // Keywords.
      {"a keyword typed wrong", small_line_source(), train_with("segnale,", "segnlae,"),
       warning("unknown-keyword", kTrain, 16, 1, {"\"segnlae\"", "did you mean 'segnale'?"})},
      {"letters swapped in a gradient", line_with("pendenza,  5000", "pendneza,  5000"),
       small_train_source(), warning("unknown-keyword", kLine, 14, 1, {"'pendenza'"})},
      {"an accent inside the recognised letters, saved as UTF-8", small_line_source(),
       train_with("velocita,  1950",
                  "vel\xC3\xB2"
                  "cita,  1950"),
       warning("unknown-keyword", kTrain, 10, 1, {"did you mean 'velocita'?"})},
      {"a record of the train file in the line file",
       line_with("[fine]", signal_at("5000") + "\r\n[fine]"), small_train_source(),
       warning("unknown-keyword", kLine, 23, 1, {"'segnale' is a record of the train file"})},
      {"a general record after the general part",
       line_with("[fine]", "lunghezza percorso, 5000\r\n[fine]"), small_train_source(),
       warning("unknown-keyword", kLine, 23, 1, {"general part"})},
      {"a case-sensitive keyword in capitals",
       line_with("progressiva chilometrica due", "progressiva chilometrica Due"),
       small_train_source(), warning("unknown-keyword", kLine, 4, 1, {"lower case"})},
      {"a keyword that names two kinds", small_line_source(),
       train_with("velocita,     0,  115", "velocita aderenza,     0,  115"),
       warning("ambiguous-keyword", kTrain, 9, 1, {"a speed limit and an adhesion"})},
      // A record and its line.
      {"a decimal comma", line_with("pendenza,  5000,  -8", "pendenza,  5000,  -8,5"),
       small_train_source(), warning("extra-fields", kLine, 14, 22, {"\"5\"", "decimal comma"})},
      {"a comma in a station's name", small_line_source(),
       train_with("ALTRA-STAZIONE", "ALTRA, STAZIONE"),
       warning("extra-fields", kTrain, 13, 80,
               {"\"STAZIONE\"", "names a station", "cannot hold one"})},
      {"a station without its name", small_line_source(), train_with(", ALTRA-STAZIONE", ""),
       warning("missing-value", kTrain, 13, 1, {"17th value, name", "line 14"})},
      {"a signal short of one value", small_line_source(), train_with("1,0,0, 0\r\n", "1,0,0\r\n"),
       error(25, kTrain, 16, 1, {"11th value, tempo", "\"[codici]\"", "line 17", "10 of its 11"})},
      {"a gradient with semicolons", line_with("pendenza,  5000,  -8", "pendenza;  5000;  8"),
       small_train_source(), error(25, kLine, 14, 1, {"position", "semicolons"})},
      {"a gradient with semicolons and a minus sign",
       line_with("pendenza,  5000,  -8", "pendenza;  5000;  -8"), small_train_source(),
       warning("comment-as-data", kLine, 14, 1, {"comment line", "a gradient", "semicolons"})},
      {"a decimal point", line_with("pendenza,  5000,  -8", "pendenza,  5000,  -8.5"),
       small_train_source(),
       error(25, kLine, 14, 1, {"2nd value, gradient,", "\"-8.5\"", "whole numbers only"})},
      {"a semicolon after a value", line_with("pendenza,  5000,  -8", "pendenza,  5000;  -8"),
       small_train_source(), error(25, kLine, 14, 1, {"\"5000;\"", "only commas"})},
      {"a speed with tabs", small_line_source(),
       train_with("velocita,  1950,  160", "velocita\t1950\t160"),
       error(25, kTrain, 10, 1, {"tabs"})},
      // Comments.
      {"a comment line with a comma", small_line_source(),
       train_with("[rallentamenti]", "-- rallentamenti, nessuno"),
       warning("comment-as-data", kTrain, 14, 1, {"comma"})},
      {"a third comment line in a row", small_line_source(),
       train_with("[segnali]", "- a\r\n- b\r\n- sabbia, 150"),
       warning("comment-as-data", kTrain, 17, 1, {"a sand setting"})},
      {"a keyword with a dash", line_with("cartello_indicatore,", "cartello-indicatore,"),
       small_train_source(),
       warning("comment-as-data", kLine, 22, 1, {"did you mean 'cartello_indicatore'?"})},
      {"a section header with a dash", line_with("[curve]", "[curve - tutte]"),
       small_train_source(), warning("comment-as-data", kLine, 10, 1, {"section header"})},
      // Values the files cannot hold as written.
      {"a gradient of 160 per mille", line_with("pendenza,  5000,  -8", "pendenza,  5000,  160"),
       small_train_source(), warning("value-not-stored", kLine, 14, 19, {"160", "-96"})},
      {"an adhesion of 300", small_line_source(), train_with("0,  100", "0,  300"),
       warning("value-not-stored", kTrain, 7, 18, {"300", "44"})},
      {"a signal code of two digits", small_line_source(),
       train_with(kSignal1650, signal_at("1650").replace(23, 1, "12")),
       warning("value-not-stored", kTrain, 16, 24, {"s1", "single digit"})},
      {"a speed of 92 km/h", small_line_source(),
       train_with("velocita,  1950,  160", "velocita,  1950,  92"),
       warning("speed-rounded", kTrain, 10, 19, {"92 km/h", "90 km/h"})},
      {"a board speed of 102 km/h", line_with("0,  100,  110,  115,  0", "0,  102,  110,  115,  0"),
       small_train_source(),
       warning("speed-rounded", kLine, 19, 25, {"102", "reads as 100 and 300 km/h"})},
      {"a signal off the grid", small_line_source(),
       train_with("segnale,    1650", "segnale,    1660"),
       warning("off-grid", kTrain, 16, 13, {"1660 m", "1650 m", "1650 or 1700"})},
      {"a name saved as UTF-8", small_line_source(), train_with("ALTRA-STAZIONE", "Citt\xC3\xA0"),
       warning("encoding", kTrain, 13, 73, {"\"Citt\xC3\xA0\"", "Windows-1252"})},
      {"a negative route length", line_with("10000", "-5000"), small_train_source(),
       warning("negative-length", kLine, 2, 24, {"-5000"})},
      {"a slowdown of negative length", small_line_source(),
       train_adding("rallentamento,  5000,  60,  -200,  0,  0,  0"),
       warning("negative-length", kTrain, 17, 29, {"-200"})},
      // Order and overlap.
      {"gradients going backwards", line_with("pendenza,  7000,   0", "pendenza,  4000,   0"),
       small_train_source(),
       warning("out-of-order", kLine, 15, 12, {"4000 m", "5000 m", "5050 m"})},
      {"curves going backwards",
       line_with("curvas3, 1750, 600", "curvas3, 1750, 600\r\ncurvad2, 900, 300"),
       small_train_source(), warning("out-of-order", kLine, 12, 10, {"900 m", "1750 m"})},
      {"curves overlapping",
       line_with("curvas3, 1750, 600", "curvas3, 1750, 600\r\ncurvad2, 2000, 300"),
       small_train_source(), warning("overlap", kLine, 12, 10, {"2350 m"})},
      {"mountain stretches overlapping",
       line_with("montagna,   3000,  4500,  11",
                 "montagna,   3000,  4500,  11\r\nmontagna, 4000, 5000, 1"),
       small_train_source(), warning("overlap", kLine, 18, 11, {"type 3"})},
      {"stations written in descending order", small_line_source(),
       train_with("stazione,       0,  8,  500", "stazione,    8000,  8,  500"),
       error(22, kTrain, 13, 1, {"comes after the station at 8000 m"})},
      {"a station past the route's end, in the run-out", small_line_source(),
       train_with("stazione,    6900", "stazione,   12000"),
       warning("beyond-route", kTrain, 13, 13, {"12000 m", "10000 m"})},
      {"a signal before a station's stop mark", small_line_source(),
       train_adding(signal_at("7050")),
       warning("overwrite", kTrain, 17, 1, {"\"ALTRA-STAZIONE\"", "stop mark"})},
      {"two signals 100 m apart", small_line_source(), train_adding(signal_at("1750")),
       warning("overwrite", kTrain, 17, 1, {"the signal at 1650 m"})},
      {"a signal on a tunnel light", small_line_source(), train_adding(signal_at("3100")),
       warning("overwrite", kTrain, 17, 1, {"tunnel light", "cell 63"})},
      {"a station's stop mark on a signal", small_line_source(),
       train_with("[vel_limite]", signal_at("7100") + "\r\n[vel_limite]"),
       warning("overwrite", kTrain, 14, 1, {"stop mark", "replaces a signal"})},
      {"a speed profile that starts late", small_line_source(),
       train_with("velocita,     0", "velocita,   500"),
       warning("profile-start", kTrain, 9, 13, {"500 m", "speed limit 0"})},
      {"a train file without speed records", small_line_source(),
       train_with("velocita,     0,  115\r\nvelocita,  1950,  160\r\n", ""),
       warning("profile-start", kTrain, 0, 0, {"no speed-limit record"})},
      // Errors at their cause.
      {"a station too near the row's end", small_line_source(),
       train_with("stazione,    6900", "stazione,   16500"),
       error(15, kTrain, 13, 1, {"at most 16200 m", "800 m before"})},
      {"a signal on a speed-indicator board", small_line_source(),
       train_with("segnale,    1650", "segnale,     700"),
       error(16, kTrain, 16, 1, {"speed-indicator board"})},
      {"a reference off the grid", line_with("350000", "350020"), small_train_source(),
       error(2, kLine, 3, 1, {"350020 m"})},
  };
  return table;
}

TEST(WarningsTest, EveryMistakeIsSeenWhereItWasMade) {
  for (const Mistake& m : mistakes()) {
    SCOPED_TRACE(m.what);
    const auto compiled = compile_text(m.line, m.train);
    EXPECT_TRUE(drawn(*compiled, m.expected));
  }
}

// A check reads the same way: what a compile draws, a check draws as well.
TEST(WarningsTest, ACheckDrawsWhatTheCompileDraws) {
  for (const Mistake& m : mistakes()) {
    SCOPED_TRACE(m.what);
    const auto checked = compile_text(m.line, m.train, {.read_past_errors = true});
    EXPECT_TRUE(drawn(*checked, m.expected));
  }
}

TEST(WarningsTest, TheSmallScenarioDrawsNothing) {
  const auto compiled = compile_text(small_line_source(), small_train_source());
  for (const Warning& w : compiled->ctx.trail.warnings) ADD_FAILURE() << w.message;
}

// What the built-in route does on purpose draws nothing: exit signals beyond a
// station's stop mark, whose marks reach back across the platform.
TEST(WarningsTest, ASignalBeyondAStopMarkDrawsNothing) {
  for (const char* position : {"7250", "7400", "7500"}) {
    SCOPED_TRACE(position);
    const auto compiled = compile_text(small_line_source(), train_adding(signal_at(position)));
    for (const Warning& w : compiled->ctx.trail.warnings) ADD_FAILURE() << w.message;
  }
}

TEST(WarningsTest, AWindows1252NameDrawsNothingAndItsUtf8FormWarns) {
  const auto windows = compile_text(small_line_source(), train_with("ALTRA-STAZIONE", "Citt\xE0"));
  EXPECT_TRUE(windows->ctx.trail.warnings.empty());
  EXPECT_EQ(windows->ctx.tabella[2].testo, "Citt\xE0");
  const auto utf8 = compile_text(small_line_source(), train_with("ALTRA-STAZIONE", "Citt\xC3\xA0"));
  ASSERT_EQ(utf8->ctx.trail.warnings.size(), 1u);
  EXPECT_EQ(utf8->ctx.trail.warnings[0].kind, WarningClass::encoding);
  // Shown as the simulator shows the two bytes.
  EXPECT_NE(utf8->ctx.trail.warnings[0].message.find("\"Citt\xC3\x83\xC2\xA0\""),
            std::string::npos);
  // The bytes stay as written: a warning only tells.
  EXPECT_EQ(utf8->ctx.tabella[2].testo, "Citt\xC3\xA0");
}

TEST(WarningsTest, EveryClassHasItsName) {
  for (const WarningClassName& c : warning_classes()) {
    EXPECT_EQ(warning_class_named(c.name), c.kind);
    EXPECT_EQ(warning_name(c.kind), c.name);
  }
  EXPECT_EQ(warning_class_named("no-such-class"), std::nullopt);
}

}  // namespace
}  // namespace scenario::testing
