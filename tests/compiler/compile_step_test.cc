// The compile step as a whole: header values, competition codes, the three
// compiled files, the fatal header checks and a compile without a cell row.
#include "compiler/compile_step.h"

#include <gtest/gtest.h>

#include <string>

#include "compiler/compile_harness.h"
#include "compiler/format/binary_layout.h"
#include "compiler/format/compiled_file_decoder.h"
#include "compiler/scenario_records.h"

namespace scenario::testing {
namespace {

constexpr const char* kTrackPlan = "Prova_linea.dat";
constexpr const char* kStationTable = "Prova_1.sim";
constexpr const char* kRouteCells = "Prova_1.dat";

TEST(CompileStepTest, WritesTheThreeFilesWithTheirHeaders) {
  auto compiled = compile_text(small_line_source(), small_train_source());
  ASSERT_EQ(compiled->ctx.codice_errore, 0);
  EXPECT_EQ(compiled->ctx.result.files_written,
            (std::vector<std::string>{kTrackPlan, kStationTable, kRouteCells}));
  const auto& files = compiled->sink.files;

  // Route cells: 15 bytes for each of the cells 0 to 340; cell 1 is the header cell.
  const std::string& cells = files.at(kRouteCells);
  ASSERT_EQ(cells.size(), 15u * 341);
  EXPECT_EQ(load_i16(cells.data() + 16), 5121);
  EXPECT_EQ(load_i16(cells.data() + 18), 2715);  // codice_gara_og, see below
  EXPECT_EQ(static_cast<uint8_t>(cells[15 * 34]), kSignal);
  EXPECT_EQ(load_i16(cells.data() + 15 * 34 + 1), 41);

  // Station table: 87 records; entry 85 carries 610 and the weighted code.
  const Tabella table = decode_station_table(files.at(kStationTable));
  EXPECT_EQ(table[kEntryScenario].testo, "Prova");
  EXPECT_EQ(table[kEntryScenario].colonna7, 610);
  EXPECT_EQ(table[kEntryScenario].orario, 36340);  // codice_gara_st, see below
  EXPECT_EQ(table[1].testo, "ORIGINE");
  // The texts: ORIGINE, ALTRA-STAZIONE, (Km 345+557), Prova and 1.
  EXPECT_EQ(files.at(kStationTable).size(), 87u * 34 + 7 + 14 + 12 + 5 + 1);

  // Track plan: metres 0 to 17000 of x, then of y.
  const DecodedTrackPlan plan = decode_track_plan(files.at(kTrackPlan));
  EXPECT_EQ(plan.metri_totali, 17000);
  EXPECT_EQ(plan.tracciato.entry(16998, 0).value,
            compiled->ctx.tracciato.entries().value(16998, 0));
  // 4 int16 entries of 4 bytes, 2 x 16997 doubles of 10 bytes, 4 empty entries of 2 bytes.
  EXPECT_EQ(files.at(kTrackPlan).size(), 4u * 4 + 2u * 16997 * 10 + 4u * 2);
}

TEST(CompileStepTest, CompetitionCodesOfAKnownIdentifier) {
  auto compiled = compile_text(small_line_source(), small_train_source());
  // "1prova" and the first 19 letters of the pad, "1provakkllmmnnooppqqrrsst":
  // the sum of the 25 codes, and the sum of each code times its place 1 to 25.
  EXPECT_EQ(compiled->ctx.percorso[1].dato2, 2715);
  EXPECT_EQ(compiled->ctx.tabella[kEntryScenario].orario, 36340);
}

TEST(CompileStepTest, WithoutTrackPlanOnlyTwoFiles) {
  auto compiled = compile_text(small_line_source(), small_train_source(), {.track_plan = false});
  EXPECT_EQ(compiled->ctx.result.files_written,
            (std::vector<std::string>{kStationTable, kRouteCells}));
}

TEST(CompileStepTest, ObjectInTheHeaderCellIsFatal1250) {
  std::string line = small_line_source();
  line.replace(line.find("[indicazioni]"), 13,
               "indicatori_vmax, 0, 60,60,60,0, 60,60,60,0\r\n[indicazioni]");
  auto compiled = compile_text(line, small_train_source());
  EXPECT_EQ(compiled->ctx.result.fatal_error, 1250);
  EXPECT_TRUE(compiled->sink.files.empty());
  EXPECT_FALSE(compiled->ctx.result.wrote_files());
}

TEST(CompileStepTest, SecondValueInTheHeaderCellIsFatal1251) {
  // A slowdown at 0 puts speed 0 and d_v 30 into cell 1.
  auto compiled =
      compile_text(small_line_source(),
                   train_with("[segnali]", "rallentamento, 0, 0, 0, 0, 0, 30\r\n[segnali]"));
  EXPECT_EQ(compiled->ctx.result.fatal_error, 1251);
  EXPECT_TRUE(compiled->sink.files.empty());
}

TEST(CompileStepTest, RecordedErrorsStillWriteTheFiles) {
  auto broken = compile_text(
      small_line_source(), train_with("[codici]", "segnale, 700, 2,4,0,0,0,2,1,0,0,0\r\n[codici]"));
  EXPECT_EQ(broken->ctx.codice_errore, 16);
  EXPECT_EQ(broken->sink.files.size(), 3u);
}

TEST(CompileStepTest, NoCellRowWritesNothing) {
  auto compiled =
      compile_text(crlf({"[generale]", "sfondo uno, 1", "[fine]"}), small_train_source());
  EXPECT_TRUE(compiled->ctx.result.cell_row_missing);
  EXPECT_TRUE(compiled->sink.files.empty());
  EXPECT_EQ(compiled->ctx.codice_errore, 25);

  auto missing = compile_text(crlf({"[curve]", "[fine]"}), small_train_source());
  EXPECT_TRUE(missing->ctx.result.cell_row_missing);
  EXPECT_EQ(missing->ctx.codice_errore, 102);
}

TEST(CompileStepTest, TableIsClearedAndErrorCodeResetAtEachCompile) {
  Compilation ctx(BuildIdentity{"Prova", "1", {}});
  ctx.tabella[40].testo = "left over";
  ctx.codice_errore = 99;
  ctx.posizione_errore = 1234;
  ctx.trail.warnings.push_back({});
  MemorySources sources(small_line_source(), small_train_source());
  MemorySink sink;
  compile(ctx, sources, sink);
  EXPECT_EQ(ctx.tabella[40].testo, "");
  EXPECT_EQ(ctx.codice_errore, 0);
  EXPECT_EQ(ctx.posizione_errore, 1234);  // never reset
  EXPECT_TRUE(ctx.trail.warnings.empty());
}

TEST(CompileStepTest, RouteOfOneMillionMetres) {
  std::string line = small_line_source();
  line.replace(line.find("10000"), 5, "1000000");
  auto compiled = compile_text(line, small_train_source());
  ASSERT_EQ(compiled->ctx.codice_errore, 0);
  EXPECT_EQ(compiled->ctx.last_cell(), 20140);
  EXPECT_EQ(compiled->sink.files.at(kRouteCells).size(), 15u * 20141);
  EXPECT_EQ(decode_track_plan(compiled->sink.files.at(kTrackPlan)).metri_totali, 1007000);
  EXPECT_EQ(compiled->ctx.percorso[20137].velocita, 32);
  EXPECT_EQ(compiled->ctx.percorso[20138].velocita, 0);
}

}  // namespace
}  // namespace scenario::testing
