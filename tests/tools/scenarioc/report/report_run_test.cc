// The fastest run on the report: the sections beside the timetable, a run
// that cannot be made named on the page, the errors found past a compile's
// stop, the boards of the train's category and the curves.
#include "scenarioc/report/report_run.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "compiler/compile_harness.h"
#include "scenarioc/output/diagnostic_listing.h"
#include "scenarioc/report/report_model.h"
#include "scenarioc/report/report_page.h"
#include "scenarioc/report/report_profiles.h"
#include "source/builtin_line.h"
#include "source/builtin_train.h"
#include "source/text_writer.h"
#include "test_support.h"

namespace scenario::testing {
namespace {

std::string fixture_file(const std::string& name, const char* file) {
  return read_file(std::filesystem::path(fixture_path(name)) / file);
}

// The clean fixture's train source with `from` replaced by `to`.
std::string clean_train_with(const std::string& from, const std::string& to) {
  std::string train = fixture_file("clean", "Prova_1-.txt");
  const size_t at = train.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) train.replace(at, from.size(), to);
  return train;
}

struct Report {
  std::unique_ptr<Compiled> compiled;
  ReportModel model;
};

Report report_of(const std::string& line, const std::string& train) {
  Report r{compile_text(line, train), {}};
  r.model = build_report_model(r.compiled->ctx, *r.compiled->sources);
  return r;
}

TEST(ReportRunTest, TheBuiltInRunGivesEveryTimedSectionItsMargin) {
  const Report r =
      report_of(text_file_bytes(builtin_line_source()), text_file_bytes(builtin_train_source()));
  const ReportRun& run = r.model.run;
  ASSERT_TRUE(run.made()) << run.missing;
  ASSERT_EQ(run.station_s.size(), r.model.stations.size());
  EXPECT_EQ(run.samples.front().position_m, r.model.stations.front().position);
  EXPECT_EQ(run.samples.back().position_m, r.model.stations.back().position);
  ASSERT_FALSE(run.sections.empty());
  for (const ReportSection& s : run.sections) {
    EXPECT_NE(r.model.stations[s.from].time, 0);
    EXPECT_NE(r.model.stations[s.to].time, 0);
    EXPECT_NE(s.verdict, timetable::Verdict::cannot_be_kept)
        << r.model.stations[s.to].name << " " << margin_text(s);
  }
  EXPECT_EQ(run.sections.back().to, static_cast<int32_t>(r.model.stations.size()) - 1);
}

// The thinned line's value at a metre, straight between its points.
double value_at(const std::vector<LinePoint>& line, double metres) {
  size_t i = 1;
  while (i + 1 < line.size() && line[i].metres < metres) ++i;
  const LinePoint& a = line[i - 1];
  const LinePoint& b = line[i];
  return a.value + (b.value - a.value) * (metres - a.metres) / (b.metres - a.metres);
}

void expect_within(const std::vector<LinePoint>& line, double tolerance, const char* what) {
  const std::vector<LinePoint> thin = thin_line(line, tolerance);
  ASSERT_GE(thin.size(), 2u) << what;
  EXPECT_EQ(thin.front().metres, line.front().metres) << what;
  EXPECT_EQ(thin.back().metres, line.back().metres) << what;
  for (const LinePoint& p : line) {
    EXPECT_NEAR(value_at(thin, p.metres), p.value, tolerance * (1 + 1e-9))
        << what << " at " << p.metres;
  }
}

TEST(ReportRunTest, TheThinnedRunStaysWithinItsTolerance) {
  const Report r =
      report_of(text_file_bytes(builtin_line_source()), text_file_bytes(builtin_train_source()));
  std::vector<LinePoint> speed, time;
  for (const timetable::RunSample& s : r.model.run.samples) {
    speed.push_back({s.position_m, s.speed_kmh});
    time.push_back({s.position_m, s.time_s});
  }
  expect_within(speed, kSpeedTolerance, "speed");
  expect_within(time, kTimeTolerance, "time");
  EXPECT_LT(r.model.run.speed.size() * 3, speed.size());
  // A straight line keeps its ends; a step keeps its corners.
  EXPECT_EQ(thin_line({{0, 0}, {50, 1}, {100, 2}, {150, 3}}, 0.01).size(), 2u);
  EXPECT_EQ(thin_line({{0, 0}, {50, 0}, {100, 5}, {150, 5}}, 0.01).size(), 4u);
}

TEST(ReportRunTest, ASectionScheduledTooShortStandsOutOnThePage) {
  // 6.9 km from a stand to a stop in 3 minutes.
  const Report r = report_of(fixture_file("clean", "Prova_linea.txt"),
                             clean_train_with("10,40, 0, ALTRA", "10,36, 0, ALTRA"));
  ASSERT_TRUE(r.model.run.made()) << r.model.run.missing;
  ASSERT_EQ(r.model.run.sections.size(), 1u);
  const ReportSection& s = r.model.run.sections[0];
  EXPECT_EQ(s.scheduled_s, 180);
  EXPECT_EQ(s.verdict, timetable::Verdict::cannot_be_kept);
  EXPECT_EQ(margin_text(s).rfind("\u2212", 0), 0u) << margin_text(s);
  const std::string page = render_report_page(r.model);
  EXPECT_NE(page.find("<td class=\"n late\">" + margin_text(s)), std::string::npos);
  EXPECT_NE(page.find("<rect class=\"late\""), std::string::npos);
}

TEST(ReportRunTest, ARunThatCannotBeMadeSaysWhyOnThePage) {
  // The signal on the board stops the compile before the second speed limit:
  // the cells past it keep a limit of 0.
  const Report stopped = report_of(fixture_file("signal_on_speed_board", "Prova_linea.txt"),
                                   fixture_file("signal_on_speed_board", "Prova_1-.txt"));
  const Report no_cells = report_of("no general part here\r\n", "");
  for (const Report* r : {&stopped, &no_cells}) {
    EXPECT_FALSE(r->model.run.made());
    EXPECT_TRUE(r->model.run.sections.empty());
    const std::string page = render_report_page(r->model);
    EXPECT_NE(page.find("No fastest run, so no minimum times: " + r->model.run.missing),
              std::string::npos);
  }
}

TEST(ReportRunTest, ErrorsFoundPastTheCompilesStopAreListedAndMarked) {
  const std::string line = fixture_file("clean", "Prova_linea.txt");
  const std::string train = clean_train_with(
      "[codici]",
      "segnale, 700, 2, 4, 0, 0, 0, 2, 1,0,0, 0\r\nsegnale, 1650, 1, 4, 0, 0, 0, 0, "
      "0,0,0, 0\r\n[codici]");
  const std::unique_ptr<Compiled> compiled = compile_text(line, train);
  const std::unique_ptr<Compiled> read_on =
      compile_text(line, train, CompileOptions{.read_past_errors = true});
  const ReportModel alone = build_report_model(compiled->ctx, *compiled->sources);
  const ReportModel model = build_report_model(compiled->ctx, *compiled->sources, &read_on->ctx);
  ASSERT_EQ(alone.diagnostics.size(), 1u);
  ASSERT_EQ(model.diagnostics.size(), 2u);
  EXPECT_FALSE(model.diagnostics[0].after_stop);
  EXPECT_EQ(model.diagnostics[0].text(), alone.diagnostics[0].text());
  const ReportDiagnostic& late = model.diagnostics[1];
  EXPECT_TRUE(late.after_stop);
  EXPECT_EQ(*late.position, 1650);
  EXPECT_TRUE(late.text().ends_with(kAfterStopMark)) << late.text();
}

TEST(ReportRunTest, DurationsReadAsAnAuthorWritesThem) {
  const struct {
    double seconds;
    const char* text;
  } kCases[] = {{0, "0 s"},
                {0.4, "0 s"},
                {45, "45 s"},
                {60, "1 min"},
                {252.4, "4 min 12 s"},
                {3600, "1 h 0 min"},
                {3725, "1 h 2 min 5 s"},
                {-90, "1 min 30 s"}};
  for (const auto& c : kCases) EXPECT_EQ(duration_text(c.seconds), c.text) << c.seconds;
}

// One board at cell 1 showing `a`, `b`, `c` km/h on both sides, and a train
// limited to `limit` over every cell.
int category_for(int32_t limit, int16_t a, int16_t b, int16_t c) {
  std::vector<cella> row(20);
  for (cella& cell : row) cell.velocita = static_cast<uint8_t>(limit / 5);
  auto packed = [](int16_t v) { return static_cast<int16_t>(v / 5 * 100 + v / 5); };
  row[1].oggetto = kSpeedBoard;
  row[1].dato1 = packed(a);
  row[1].dato2 = packed(b);
  row[1].dato3 = packed(c);
  return train_board_category(row, 19 * 50);
}

TEST(ReportRunTest, SpeedBoardsAreReadInTheTrainsCategory) {
  const struct {
    int32_t limit;
    int expected;
  } kCases[] = {{100, 0}, {110, 1}, {115, 2}, {90, 0}};
  for (const auto& c : kCases)
    EXPECT_EQ(category_for(c.limit, 100, 110, 115), c.expected) << c.limit;
  // Where two categories show the same speed, the lower one.
  EXPECT_EQ(category_for(110, 100, 110, 110), 1);
}

TEST(ReportRunTest, ACurveIsOneStretchWithItsRadius) {
  // "curvas3, 1750, 600": one curve of class 3 over 600 m.
  const Report r =
      report_of(fixture_file("clean", "Prova_linea.txt"), fixture_file("clean", "Prova_1-.txt"));
  ASSERT_EQ(r.model.run.curves.size(), 1u);
  const ReportCurve& curve = r.model.run.curves[0];
  EXPECT_EQ(curve.from, 1750);
  EXPECT_EQ(curve.to, 2350);
  EXPECT_EQ(curve.radius_m, 2500);
}

}  // namespace
}  // namespace scenario::testing
