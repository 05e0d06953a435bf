// What the report shows of a compile: every object of the cells with its
// source record, the stations, the profiles and the errors at their places.
#include "scenarioc/report/report_model.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "compiler/compile_harness.h"
#include "source/builtin_line.h"
#include "source/builtin_train.h"
#include "source/text_writer.h"
#include "test_support.h"

namespace scenario::testing {
namespace {

// The built-in scenario compiled in memory, and its report model.
struct BuiltIn {
  std::unique_ptr<Compiled> compiled =
      compile_text(text_file_bytes(builtin_line_source()), text_file_bytes(builtin_train_source()));
  ReportModel model = build_report_model(compiled->ctx, *compiled->sources);
};

const BuiltIn& builtin() {
  static const BuiltIn* b = new BuiltIn;
  return *b;
}

std::unique_ptr<Compiled> compile_fixture(const std::string& name) {
  const std::filesystem::path folder = fixture_path(name);
  return compile_text(read_file(folder / "Prova_linea.txt"), read_file(folder / "Prova_1-.txt"));
}

const ReportObject* object_at(const ReportModel& model, uint8_t oggetto, int32_t metres) {
  for (const ReportObject& o : model.objects) {
    if (o.oggetto == oggetto && o.metres == metres) return &o;
  }
  return nullptr;
}

std::string fact(const std::vector<Fact>& facts, const std::string& name) {
  for (const Fact& f : facts) {
    if (f.name == name) return f.value;
  }
  return "(none)";
}

TEST(ReportModelTest, EveryObjectOfTheCellsIsThereOnce) {
  const BuiltIn& b = builtin();
  const std::vector<cella>& cells = b.compiled->ctx.percorso;
  size_t held = 0;
  for (const cella& c : cells) held += c.oggetto != kNoObject;
  EXPECT_EQ(b.model.objects.size(), held);
  for (const ReportObject& o : b.model.objects) {
    EXPECT_EQ(cells[o.cell].oggetto, o.oggetto) << "cell " << o.cell;
    EXPECT_EQ(o.metres, (o.cell - 1) * 50);
  }
  EXPECT_EQ(b.model.count(kSignal), 124);
  EXPECT_EQ(b.model.slowdowns.size(), 3u);
  EXPECT_EQ(b.model.stations.size(), 35u);
}

TEST(ReportModelTest, ObjectsNameTheirRecordAndTheirValuesInUnits) {
  const ReportModel& model = builtin().model;
  // "segnale,   14800,   2, 4, 0,  0, 0,    2,  1,0,0, 0" on line 83 of the train source
  // (in memory, so named "train source").
  const ReportObject* signal = object_at(model, kSignal, 14800);
  ASSERT_NE(signal, nullptr);
  EXPECT_EQ(signal->source.text(), "train source:83");
  EXPECT_EQ(fact(signal->facts, "left signal"), "kind 2, codes 4 0 0");
  EXPECT_EQ(fact(signal->facts, "right signal"), "kind 2, codes 1 0 0");
  EXPECT_EQ(fact(signal->stretch, "speed limit"), "150 km/h");
  // The first speed-indicator board: 100, 110 and 115 km/h on both sides.
  const ReportObject* board = object_at(model, kSpeedBoard, 700);
  ASSERT_NE(board, nullptr);
  EXPECT_EQ(board->source.file, "line source");
  EXPECT_EQ(fact(board->facts, "category C"), "115 km/h left, 115 km/h right");
  // The built-in train's limits are those of category C: its boards' label.
  EXPECT_EQ(model.board_category, 2);
  EXPECT_EQ(board->label, "115");
  // The slowdown at 141400 m: its start, 60 km/h.
  const ReportObject* start = object_at(model, kSlowdownStart, 141400);
  ASSERT_NE(start, nullptr);
  EXPECT_EQ(fact(start->facts, "speed"), "60 km/h");
  EXPECT_EQ(model.slowdowns[start->slowdown].end, 143050);
  EXPECT_EQ(model.slowdowns[start->slowdown].warning, 140200);
}

TEST(ReportModelTest, MarkersOfThePostProcessingNameTheirSlowdown) {
  const ReportModel& model = builtin().model;
  int automatic = 0;
  for (const ReportObject& o : model.objects) {
    if (o.oggetto != kAbbattimento) continue;
    EXPECT_TRUE(o.automatic) << "cell " << o.cell;  // the built-in train has no such record
    ASSERT_GE(o.slowdown, 0);
    EXPECT_EQ(o.source.text(), model.slowdowns[o.slowdown].source.text());
    ++automatic;
  }
  EXPECT_EQ(automatic, 18);
}

TEST(ReportModelTest, StationsCarryTheTimetable) {
  const ReportModel& model = builtin().model;
  const ReportStation& first = model.stations.front();
  EXPECT_EQ(first.name, "VELMORA CENTRALE");
  EXPECT_EQ(first.chainage, 350000);
  EXPECT_EQ(clock_text(first.time), "10:33:00");
  EXPECT_FALSE(first.arrival);
  EXPECT_EQ(first.source.text(), "train source:37");
  const ReportStation& last = model.stations.back();
  EXPECT_EQ(last.name, "DORSEL");
  EXPECT_TRUE(last.arrival);
  EXPECT_EQ(clock_text(last.time), "13:18:00");
  int with_mark = 0, stopping = 0;
  for (const ReportStation& s : model.stations) {
    with_mark += s.mark_object >= 0;
    stopping += s.stop_seconds > 1;
    EXPECT_EQ(s.mark_object >= 0, s.genere < 25) << s.name;
  }
  EXPECT_EQ(with_mark, 30);
  EXPECT_EQ(stopping, 7);
}

TEST(ReportModelTest, ProfilesFollowTheCells) {
  const BuiltIn& b = builtin();
  const ReportModel& model = b.model;
  // The elevation at the end is the gradients of all cells, each over 50 m.
  int64_t millimetres = 0;
  for (size_t c = 1; c < b.compiled->ctx.percorso.size(); ++c) {
    millimetres += int64_t{gradient_permille(b.compiled->ctx.percorso[c])} * 50;
  }
  EXPECT_EQ(model.elevation.back().millimetres, millimetres);
  EXPECT_EQ(model.elevation.back().metres, model.last_metres);
  // The speed limit record at 1950 m takes effect from cell round(1950 / 50) = 39, at 1900 m.
  ASSERT_GE(model.speed_limit.size(), 2u);
  EXPECT_EQ(model.speed_limit[0].value, 115);
  EXPECT_EQ(model.speed_limit[1].from, 1900);
  EXPECT_EQ(model.speed_limit[1].value, 160);
  ASSERT_EQ(model.mountain.size(), 3u);
  EXPECT_EQ(model.mountain[0].from, 141550 - 50);
  // Category A from the first board without stripes: 100 km/h at 700 m.
  ASSERT_FALSE(model.board_speed[0].empty());
  EXPECT_EQ(model.board_speed[0][0].from, 700);
  EXPECT_EQ(model.board_speed[0][0].value, 100);
  EXPECT_EQ(model.diagnostics.size(), 0u);
}

TEST(ReportModelTest, AnErrorPointsAtTheObjectInItsWay) {
  auto compiled = compile_fixture("signal_on_speed_board");
  const ReportModel model = build_report_model(compiled->ctx, *compiled->sources);
  ASSERT_EQ(model.diagnostics.size(), 1u);
  const ReportDiagnostic& d = model.diagnostics[0];
  EXPECT_EQ(d.name, "16");
  ASSERT_TRUE(d.position.has_value());
  EXPECT_EQ(*d.position, 700);
  ASSERT_GE(d.object, 0);
  EXPECT_EQ(model.objects[d.object].oggetto, kSpeedBoard);
  EXPECT_EQ(model.objects[d.object].diagnostics, std::vector<int32_t>{0});
  EXPECT_EQ(d.text(), "train source:16:1: error 16: " + d.message);
}

TEST(ReportModelTest, WarningsAreListedBesideTheErrorsAndPointAtTheirRecord) {
  auto compiled = compile_fixture("clean");
  Compilation& ctx = compiled->ctx;
  ASSERT_TRUE(ctx.trail.recordings.empty());
  // The signal record on line 16 of the train source, warned about.
  Warning warning;
  warning.kind = WarningClass::off_grid;
  warning.where = {SourceFile::train, 16, 1};
  warning.message = "the position 1660 m is off the 50 m grid";
  warning.notes = {{{SourceFile::line, 3, 1}, "the grid starts here"}};
  ctx.trail.warnings.push_back(warning);
  const ReportModel model = build_report_model(ctx, *compiled->sources);
  ASSERT_EQ(model.diagnostics.size(), 1u);
  const ReportDiagnostic& d = model.diagnostics[0];
  EXPECT_EQ(d.severity, "warning");
  EXPECT_EQ(d.text(), "train source:16:1: warning: the position 1660 m is off the 50 m grid [-W" +
                          std::string(warning_name(WarningClass::off_grid)) + "]");
  EXPECT_EQ(d.notes, std::vector<std::string>{"line source:3: the grid starts here"});
  ASSERT_GE(d.object, 0);
  EXPECT_EQ(model.objects[d.object].oggetto, kSignal);
}

TEST(ReportModelTest, AFatalErrorAndAMissingCellRowAreListedToo) {
  auto fatal = compile_fixture("object_at_route_start");
  ASSERT_NE(fatal->ctx.result.fatal_error, 0);
  const ReportModel with_fatal = build_report_model(fatal->ctx, *fatal->sources);
  ASSERT_FALSE(with_fatal.diagnostics.empty());
  EXPECT_EQ(with_fatal.diagnostics.back().name, std::to_string(fatal->ctx.result.fatal_error));
  EXPECT_GE(with_fatal.diagnostics.back().object, 0);  // the object in the header cell

  auto missing = compile_text("no general part here\r\n", "");
  ASSERT_TRUE(missing->ctx.result.cell_row_missing);
  const ReportModel empty = build_report_model(missing->ctx, *missing->sources);
  EXPECT_FALSE(empty.has_cell_row);
  EXPECT_TRUE(empty.objects.empty());
  EXPECT_TRUE(empty.plan.empty());
  EXPECT_EQ(empty.diagnostics.size(), 2u);  // error 102, and no cell row
}

}  // namespace
}  // namespace scenario::testing
