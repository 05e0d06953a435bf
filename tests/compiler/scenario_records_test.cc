// The build context's record of which source record placed each object.
#include "compiler/scenario_records.h"

#include <gtest/gtest.h>

#include <map>

#include "compiler/compile_harness.h"

namespace scenario::testing {
namespace {

// The last placement in each cell: the object the cell holds in the end.
std::map<int32_t, Placement> last_placements(const BuildContext& ctx) {
  std::map<int32_t, Placement> last;
  for (const Placement& p : ctx.trail.placements) last[p.cell] = p;
  return last;
}

TEST(ScenarioRecordsTest, EveryObjectNamesTheRecordThatPlacedIt) {
  // Line 15 of the train source: warning board at 3800 m (cell 77), countdown
  // markers in cells 76 to 73, start in cell 101, end in cell 105.
  auto compiled =
      compile_text(small_line_source(),
                   train_with("[rallentamenti]\r\n",
                              "[rallentamenti]\r\nrallentamento, 5000, 60, 200, 0, 1, 0\r\n"));
  const BuildContext& ctx = compiled->ctx;
  ASSERT_EQ(ctx.codice_errore, 0);
  const std::map<int32_t, Placement> last = last_placements(ctx);
  for (int32_t c = 0; c <= ctx.last_cell(); ++c) {
    if (ctx.percorso[c].oggetto == kNoObject) continue;
    ASSERT_TRUE(last.count(c)) << "cell " << c;
    EXPECT_EQ(last.at(c).oggetto, ctx.percorso[c].oggetto) << "cell " << c;
  }
  struct Row {
    int32_t cell;
    SourceFile file;
    int32_t line;
    int32_t position;  // the record's position; a marker's is its slowdown's
  };
  const Row rows[] = {
      {15, SourceFile::line, 19, 700},     // speed-indicator board at 700 m
      {89, SourceFile::line, 22, 4400},    // indication board at 4400 m
      {63, SourceFile::line, 17, 3000},    // a tunnel light of the mountain stretch
      {34, SourceFile::train, 17, 1650},   // signal at 1650 m
      {77, SourceFile::train, 15, 5000},   // slowdown warning board
      {75, SourceFile::train, 15, 5000},   // countdown marker over a tunnel light
      {101, SourceFile::train, 15, 5000},  // slowdown start
      {96, SourceFile::train, 15, 5000},   // a marker the post-processing pass put before the start
  };
  for (const Row& row : rows) {
    ASSERT_TRUE(last.count(row.cell)) << "cell " << row.cell;
    const Placement& placed = last.at(row.cell);
    EXPECT_EQ(placed.where.file, row.file) << "cell " << row.cell;
    EXPECT_EQ(placed.where.line, row.line) << "cell " << row.cell;
    EXPECT_EQ(placed.where.column, 1) << "cell " << row.cell;
    EXPECT_EQ(placed.position, row.position) << "cell " << row.cell;
  }
}

TEST(ScenarioRecordsTest, StationAndBoardEntriesNameTheirRecord) {
  auto compiled = compile_text(small_line_source(), small_train_source());
  const BuildContext& ctx = compiled->ctx;
  ASSERT_EQ(ctx.codice_errore, 0);
  // The first station record is line 12 of the train source, the board line 22 of the line source.
  EXPECT_EQ(ctx.trail.entry_sources[1].file, SourceFile::train);
  EXPECT_EQ(ctx.trail.entry_sources[1].line, 12);
  EXPECT_EQ(ctx.trail.entry_sources[2].line, 13);
  EXPECT_EQ(ctx.trail.entry_sources[3].file, SourceFile::none);
  EXPECT_EQ(ctx.trail.entry_sources[kFirstBoardEntry].file, SourceFile::line);
  EXPECT_EQ(ctx.trail.entry_sources[kFirstBoardEntry].line, 22);
}

}  // namespace
}  // namespace scenario::testing
