// The train sheet's rows computed from a scenario: what names the row of a
// speed-limit change, the names of indication boards, and the time column of
// each kind of station from the train file and the details.
#include "documents/train_sheet_rows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "compiler/compile_harness.h"

namespace scenario {
namespace {

using testing::compile_text;
using testing::crlf;
using testing::small_line_source;

constexpr int64_t hm(int64_t hours, int64_t minutes) { return (hours * 60 + minutes) * 60; }

// The small line: chainage falling from km 350, a board "(Km 345+557)" at 4400.
std::string train_with_limits() {
  return crlf({
      "[generale]",
      "[vel_limite]",
      "velocita,     0,  100",
      "velocita,  1950,  150",
      "velocita,  3950,  120",
      "velocita,  4450,  110",
      "velocita,  5500,   90",
      "velocita,  7050,   80",
      "[stazioni]",
      "stazione,       0,  8,  500,  0, 0, 0,  1,1,0,  4,1,1,    1,  10, 0, 0, ALFA",
      "stazione,    4000, 12,  600,  0, 0, 0,  1,1,0,  4,1,1,    0,   0, 0, 0, BETA",
      "stazione,    8000,  2,  500,  0, 0, 0,  1,1,0,  2,1,1,    0,  10,20, 0, GAMMA",
      "[segnali]",
      "segnale,    1650,   2, 4, 0,  0, 0,    2,  1,0,0, 0",
      "segnale,    7000,   2, 4, 1,  1, 0,    2,  2,1,1, 0",
      "[fine]",
  });
}

TEST(TrainSheetRowsTest, WhatNamesTheRowOfALimitChange) {
  const auto compiled = compile_text(small_line_source(), train_with_limits());
  ASSERT_TRUE(compiled->ctx.trail.recordings.empty());
  const std::vector<SheetRow> rows =
      train_sheet_rows(compiled->ctx, route_stations(compiled->ctx), {});
  const struct {
    int32_t limit;
    int64_t chainage;
    const char* place;
  } expected[] = {
      {100, 350000, "ALFA"},
      {150, 348000, "Cippo Km 348.000"},  // 50 m before the post
      {120, 346000, "BETA"},              // 50 m before the station
      {110, 345557, "Km 345.557"},        // the board 50 m before, with its own chainage
      {90, 344500, "Km 344.500"},
      {80, 343000, "Segn.Prot. Gamma"},  // 50 m past the signal before GAMMA's zone
      {0, 342000, "GAMMA"},
  };
  ASSERT_EQ(rows.size(), std::size(expected));
  for (size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].limit, expected[i].limit) << i;
    EXPECT_EQ(rows[i].chainage, expected[i].chainage) << i;
    EXPECT_EQ(rows[i].place, expected[i].place) << i;
  }
  EXPECT_EQ(rows[0].time.form, TimeForm::departure);
  EXPECT_EQ(rows[2].time.form, TimeForm::passing);
  EXPECT_EQ(rows[6].time.form, TimeForm::arrival);
}

TEST(TrainSheetRowsTest, BoardNames) {
  const struct {
    const char* text;
    const char* name;
    int64_t chainage;
  } rows[] = {
      {"(Km 345+557)", "Km 345.557", 345557},
      {"(km 341+500)", "Km 341.500", 341500},
      {"(Torrente) (Varsella) (Km 314+347)", "Torrente Varsella", 314347},
      {"( Km 12 + 050 )", "Km 12.050", 12050},
      {"Bivio Lame", "Bivio Lame", 1000},          // no groups: the text at the board's place
      {"(Ponte) Serio", "(Ponte) Serio", 1000},    // text outside the groups
      {"(Galleria Alta)", "Galleria Alta", 1000},  // no chainage group
      {"(Km 12+5)", "Km 12+5", 1000},              // metres need three digits
  };
  for (const auto& row : rows) {
    const BoardName name = board_name(row.text, 1000);
    EXPECT_EQ(name.text, row.name) << row.text;
    EXPECT_EQ(name.chainage, row.chainage) << row.text;
  }
}

TEST(TrainSheetRowsTest, StationTimes) {
  RouteStation passing;  // no time in the train file
  RouteStation timed;
  timed.time = static_cast<int32_t>(hm(10, 55));
  RouteStation stop = timed;
  stop.dwell = 45;
  StationDetails given;
  given.arrival = static_cast<int32_t>(hm(10, 53));
  StationDetails passes;
  passes.time = static_cast<int32_t>(hm(10, 38));
  passes.mark = "(*)";
  const struct {
    const RouteStation* station;
    StationRole role;
    const StationDetails* details;
    const char* text;
  } rows[] = {
      {&timed, StationRole::origin, nullptr, "         10.55  "},
      {&timed, StationRole::terminus, nullptr, " 10.55          "},
      {&passing, StationRole::terminus, nullptr, " xx.xx          "},
      {&timed, StationRole::intermediate, nullptr, "      10.55     "},  // a time, no dwell
      {&stop, StationRole::intermediate, nullptr, " 10.54 - 10.55  "},   // less the dwell
      {&stop, StationRole::intermediate, &given, " 10.53 - 10.55  "},    // the details' arrival
      {&passing, StationRole::intermediate, nullptr, "      xx.xx     "},
      {&passing, StationRole::intermediate, &passes, "      10.38(*)  "},
      {&passing, StationRole::intermediate, &given, " 10.53 - xx.xx  "},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(time_column_text(station_time(*row.station, row.role, row.details)), row.text)
        << row.text;
  }
}

TEST(TrainSheetRowsTest, NamesInCapitalsAndMixedCase) {
  const struct {
    const char* name;
    const char* capitals;
    const char* mixed;
  } rows[] = {
      {"VELMORA CENTRALE", "VELMORA CENTRALE", "Velmora Centrale"},
      {"PIEVE D'ARSENA", "PIEVE D'ARSENA", "Pieve D'Arsena"},
      {"S. ELIDIO VALLE", "S. ELIDIO VALLE", "S. Elidio Valle"},
      {"Luvigna-scarpene", "LUVIGNA-SCARPENE", "Luvigna-Scarpene"},
      {"CITT\xC0 ALTA", "CITT\xC0 ALTA", "Citt\xE0 Alta"},  // single-byte text
  };
  for (const auto& row : rows) {
    EXPECT_EQ(capitals(row.name), row.capitals);
    EXPECT_EQ(mixed_case(row.name), row.mixed);
  }
}

}  // namespace
}  // namespace scenario
