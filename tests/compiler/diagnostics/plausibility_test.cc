// What every rule accepts but an author seldom means, each drawn where it was
// written: a curve's side spelt out, a misspelt header, a record after
// "[fine]", a number in groups of digits, kilometres for metres, an end
// written as a length, a timetable running backwards; and the checks across
// the line and the train file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "compiler/compile_harness.h"
#include "compiler/diagnostics/expected_diagnostic.h"
#include "compiler/diagnostics/warnings.h"

namespace scenario::testing {
namespace {

constexpr SourceFile kLine = SourceFile::line;
constexpr SourceFile kTrain = SourceFile::train;

constexpr const char* kStation2 =
    "stazione,    6900, 12,  600,  0, 0, 0,  1,1,0,  4,1,1,   45,  10,40, 0, ALTRA-STAZIONE";

std::string station_2(const char* stop, const char* hours, const char* minutes) {
  return std::string("stazione,    6900, 12,  600,  0, 0, 0,  1,1,0,  4,1,1,   ") + stop + ",  " +
         hours + "," + minutes + ", 0, ALTRA-STAZIONE";
}

// The small train with `records` in its slowdown part (lines 15 on).
std::string train_slowing(const std::string& records) {
  return train_with("[rallentamenti]", "[rallentamenti]\r\n" + records);
}

struct Mistake {
  const char* what;
  std::string line;
  std::string train;
  Expected expected;
};

const std::vector<Mistake>& mistakes() {
  static const std::vector<Mistake> table = {
      // A curve's side spelt out.
      {"a right curve spelt out", line_with("curvas3", "curva destra 3"), small_train_source(),
       warning("curve-side", kLine, 11, 1, {"left curve", "\"curvad3\""})},
      {"a right curve in capitals", line_with("curvas3", "CurvaDestra4"), small_train_source(),
       warning("curve-side", kLine, 11, 1, {"\"curvad4\""})},
      // Section headers.
      {"a singular section header", line_with("[pendenze]", "[pendenza]"), small_train_source(),
       warning("misspelt-header", kLine, 12, 1, {"read as a gradient record", "\"[pendenze]\""})},
      {"a singular header in the train file", small_line_source(),
       train_with("[segnali]", "[segnale]"),
       warning("misspelt-header", kTrain, 15, 1, {"a signal record", "\"[segnali]\""})},
      {"the train's general header misspelt", small_line_source(),
       train_with("[generale]", "[genrale]"),
       warning("misspelt-header", kTrain, 1, 1, {"\"[genrale]\"", "did you mean \"[generale]\"?"})},
      {"the line's general header misspelt",
       line_with("[generale]\r\nlunghezza", "[generael]\r\nlunghezza"), small_train_source(),
       error(102, kLine, 1, 1, {"\"[generael]\"", "did you mean"})},
      {"an empty train file", small_line_source(), "",
       warning("profile-start", kTrain, 1, 1, {"empty", "speed limit 0"})},
      // After the end marker.
      {"a speed limit after the train's end marker", small_line_source(),
       small_train_source() + "velocita,  5000,  90\r\n",
       warning("after-end", kTrain, 19, 1, {"after \"[fine]\" on line 18", "read all the same"})},
      {"a gradient after the line's end marker",
       line_with("[fine]", "[fine]\r\npendenza,  8000,  3"), small_train_source(),
       warning("after-end", kLine, 24, 1, {"on line 23"})},
      // Numbers in groups of digits.
      {"a route length with a blank", line_with("10000", "10 000"), small_train_source(),
       warning("digit-group", kLine, 2, 24, {"\"10\" and \"000\"", "write 10000"})},
      {"a speed limit's position with a blank", small_line_source(),
       train_with("velocita,  1950,  160", "velocita,  1 950,  160"),
       warning("digit-group", kTrain, 10, 12, {"\"1\" and \"950\"", "write 1950"})},
      // Kilometres for metres.
      {"a signal in kilometres", small_line_source(),
       train_with("segnale,    1650", "segnale,    7"),
       warning("kilometres", kTrain, 16, 13, {"positions are in metres", "write 7000"})},
      {"a slowdown in kilometres", small_line_source(),
       train_slowing("rallentamento,  3,  60,  200,  0,  0,  0"),
       warning("kilometres", kTrain, 15, 17, {"write 3000"})},
      // An end written as a length.
      {"a curve's end as its length", line_with("curvas3, 1750, 600", "curvas1, 1750, 8350"),
       small_train_source(),
       warning("implausible-length", kLine, 11, 16, {"8350 m", "write its length, 6600"})},
      {"a curve turning round twice", line_with("curvas3, 1750, 600", "curvas6, 1750, 1500"),
       small_train_source(), warning("implausible-length", kLine, 11, 16, {"258 degrees"})},
      {"a slowdown's end as its length", small_line_source(),
       train_slowing("rallentamento,  2000,  60,  8000,  0,  0,  0"),
       warning("implausible-length", kTrain, 15, 29, {"to 10000 m", "write its length, 6000"})},
      // The timetable.
      {"a station scheduled before the one before it", small_line_source(),
       train_with(kStation2, station_2("45", "10", "03")),
       warning("schedule-order", kTrain, 13, 63, {"10:03:00", "earlier", "10:33:00"})},
      {"a station scheduled an hour early", small_line_source(),
       train_with(kStation2, station_2("45", "09", "59")),
       warning("schedule-order", kTrain, 13, 63, {"9:59:00"})},
      {"a stop with no scheduled time", small_line_source(),
       train_with(kStation2, station_2("45", "0", "0")),
       warning("unscheduled-stop", kTrain, 13, 58, {"stop time of 45 s"})},
      // Across the two files.
      {"a speed limit above the boards",
       line_with("100,  110,  115,  0,  100,  110,  115", "80,  90,  95,  0,  80,  90,  95"),
       small_train_source(), warning("board-speed", kTrain, 9, 1, {"115 km/h", "95 km/h at most"})},
      {"a speed limit above the boards from the start", small_line_source(),
       train_with("velocita,     0,  115", "velocita,     0,  130"),
       warning("board-speed", kTrain, 9, 1, {"130 km/h", "115 km/h at most"})},
      {"a station in a tunnel", line_with("3000,  4500", "5000,  9000"), small_train_source(),
       warning("station-in-mountain", kTrain, 13, 1, {"\"ALTRA-STAZIONE\"", "5000 m to 9000 m"})},
      {"two slowdowns that overlap", small_line_source(),
       train_slowing("rallentamento,  2000,  60,  1000,  0,  0,  0\r\n"
                     "rallentamento,  2500,  40,  1000,  0,  0,  0"),
       warning("slowdown-overlap", kTrain, 16, 1, {"overlaps the slowdown from 2000 m"})},
      {"a slowdown that loses its start to a stop mark", small_line_source(),
       train_with("[stazioni]",
                  "[rallentamenti]\r\nrallentamento,  7100,  60,  500,  0,  0,  0\r\n[stazioni]"),
       warning("slowdown-overlap", kTrain, 12, 1, {"loses its start", "\"ALTRA-STAZIONE\""})},
      {"a slowdown over a station", small_line_source(),
       train_slowing("rallentamento,  6000,  60,  1500,  0,  0,  0"),
       warning("slowdown-overlap", kTrain, 15, 1, {"covers the zone", "\"ALTRA-STAZIONE\""})},
  };
  return table;
}

TEST(PlausibilityTest, EveryMistakeIsSeenWhereItWasMade) {
  for (const Mistake& m : mistakes()) {
    SCOPED_TRACE(m.what);
    EXPECT_TRUE(drawn(*compile_text(m.line, m.train), m.expected));
    EXPECT_TRUE(drawn(*compile_text(m.line, m.train, {.read_past_errors = true}), m.expected));
  }
}

// What an author writes on purpose draws nothing, and changes no compiled byte.
TEST(PlausibilityTest, WhatIsMeantDrawsNothing) {
  const struct {
    const char* what;
    std::string line;
    std::string train;
  } meant[] = {
      {"a left curve spelt out", line_with("curvas3", "curva sinistra 3"), small_train_source()},
      {"a timetable past midnight", small_line_source(),
       replaced(train_with("10,33, 0, ORIGINE", "23,50, 0, ORIGINE"), kStation2,
                station_2("45", "0", "10"))},
      {"a stop of the first station without a time", small_line_source(),
       train_with("1,  10,33, 0, ORIGINE", "0,   0,0, 0, ORIGINE")},
      {"a signal at 950 m", small_line_source(), train_with("segnale,    1650", "segnale,    950")},
      {"a board at 700 m of a long route", line_with("10000", "900000"), small_train_source()},
      {"a long slowdown within bounds", small_line_source(),
       train_slowing("rallentamento,  2000,  60,  3000,  0,  0,  0")},
  };
  for (const auto& m : meant) {
    SCOPED_TRACE(m.what);
    const auto compiled = compile_text(m.line, m.train);
    for (const Warning& w : compiled->ctx.trail.warnings) ADD_FAILURE() << w.message;
  }
}

// A speed the cells cannot hold is the error of its own record only: the check
// reads on with the speed before it, and no later speed record draws it again.
TEST(PlausibilityTest, ARefusedSpeedIsOneErrorOnly) {
  for (const char* speed : {"1600", "-20", "99999"}) {
    SCOPED_TRACE(speed);
    const std::string train = train_with("velocita,  1950,  160",
                                         std::string("velocita,  1950,  ") + speed +
                                             "\r\nvelocita,  3000,  100\r\nvelocita,  5000,  120");
    const auto checked = compile_text(small_line_source(), train, {.read_past_errors = true});
    ASSERT_EQ(checked->ctx.trail.recordings.size(), 1u);
    EXPECT_EQ(checked->ctx.trail.recordings[0].where.line, 10);
  }
}

// A train file written for another line: positions mostly beyond the route's
// end, told once at the first of them instead of as a cascade of errors 15.
TEST(PlausibilityTest, ATrainFileOfAnotherLineIsOneWarning) {
  const std::string line = line_with("10000", "5000");
  const std::string far = train_with("velocita,  1950", "velocita,  9000");
  std::string train = replaced(far, "segnale,    1650", "segnale,    11000");
  train = replaced(train, "[codici]",
                   "segnale,    11500,   2, 4, 0,  0, 0,    2,  1,0,0, 0\r\n[codici]");
  const auto compiled = compile_text(line, train);
  EXPECT_TRUE(drawn(*compiled, warning("other-line", kTrain, 10, 1,
                                       {"most positions lie beyond this line's 5 km",
                                        "is this the train file of another line?"})));
  // Far beyond the cell row: one error where the compile stops, one warning for the rest.
  std::string beyond = replaced(small_train_source(), "velocita,  1950", "velocita,  30000");
  beyond = replaced(beyond, "segnale,    1650", "segnale,    31000");
  beyond = replaced(beyond, "[codici]",
                    "segnale,    32000,   2, 4, 0,  0, 0,    2,  1,0,0, 0\r\n"
                    "segnale,    33000,   2, 4, 0,  0, 0,    2,  1,0,0, 0\r\n[codici]");
  const auto checked = compile_text(line, beyond, {.read_past_errors = true});
  ASSERT_EQ(checked->ctx.trail.recordings.size(), 1u);
  EXPECT_EQ(checked->ctx.trail.recordings[0].numero, 15);
  EXPECT_TRUE(
      drawn(*checked, warning("other-line", kTrain, 10, 1, {"another line", "not listed"})));
}

}  // namespace
}  // namespace scenario::testing
