// The line source part of the parser: general part, object records, the track
// plan, the errors that stop the line file and error 15's carry-over.
#include <gtest/gtest.h>

#include <string>

#include "compiler/compile_harness.h"
#include "compiler/compile_step.h"
#include "compiler/parse/parser.h"
#include "compiler/scenario_records.h"
#include "compiler/source_files.h"

namespace scenario::testing {
namespace {

struct LineErrorCase {
  const char* name;
  std::string line;
  int32_t code;
  int32_t position;  // -1: posizione_errore unchanged (0)
  bool train_deleted;
};

void PrintTo(const LineErrorCase& c, std::ostream* os) { *os << c.name; }

class LineErrorTest : public ::testing::TestWithParam<LineErrorCase> {};

TEST_P(LineErrorTest, RecordsTheErrorAndDeletesWhatWasRead) {
  const LineErrorCase& c = GetParam();
  auto parsed = parse_text(c.line, small_train_source());
  EXPECT_EQ(parsed->ctx.codice_errore, c.code);
  EXPECT_EQ(parsed->ctx.posizione_errore, c.position < 0 ? 0 : c.position);
  EXPECT_FALSE(parsed->sources->exists(SourceFile::line));
  EXPECT_EQ(parsed->sources->exists(SourceFile::train), !c.train_deleted);
}

INSTANTIATE_TEST_SUITE_P(
    Errors, LineErrorTest,
    ::testing::Values(
        LineErrorCase{"no_general_part", line_with("[generale]", "[generali]"), 102, -1, false},
        LineErrorCase{"general_only_as_last_field", crlf({"[curve]", "[generale]"}), 102, -1,
                      false},
        LineErrorCase{"route_too_long", line_with("10000", "1000001"), 1, -1, false},
        LineErrorCase{"repetition_start", line_with("1650,    9000", "1675,    9000"), 3, -1,
                      false},
        LineErrorCase{"repetition_end", line_with("1650,    9000", "1650,    9025"), 4, -1, false},
        LineErrorCase{"repetition_codes", line_with("segnali 4 codici", "segnali codici"), 5, -1,
                      false},
        LineErrorCase{"curve_without_class", line_with("curvas3", "curvas7"), 103, -1, false},
        LineErrorCase{"board_on_speed_board",
                      line_with("(Km 345+557)", "(Km 345+557)\r\ncartello_indicatore, 700, X"), 6,
                      700, false},
        LineErrorCase{
            "speed_board_on_board",
            line_with("[fine]", "indicatori_vmax, 4400, 60,60,60,0, 60,60,60,0\r\n[fine]"), 21,
            4400, false},
        LineErrorCase{"beyond_the_row", line_with("pendenza,  7000,   0", "pendenza, 16901, 0"), 15,
                      1650, true},
        LineErrorCase{"not_a_number", line_with("-8", "-8x"), 25, -1, true},
        LineErrorCase{"past_the_end", "[generale]\r\nprogressiva chilometrica uno, 0, 350000\r\n",
                      25, -1, true}),
    [](const ::testing::TestParamInfo<LineErrorCase>& info) { return info.param.name; });

TEST(LineParserTest, MissingLineFileGives101AndDeletesNothing) {
  MemorySources sources("", small_train_source());
  sources.remove(SourceFile::line);
  BuildContext ctx;
  memorizza_dati(ctx, sources, {});
  EXPECT_EQ(ctx.codice_errore, 101);
  EXPECT_TRUE(sources.exists(SourceFile::train));
  EXPECT_FALSE(ctx.has_cell_row());
}

TEST(LineParserTest, RouteLengthSizesTheRowAndTheTrackPlan) {
  struct Case {
    const char* length;
    int32_t last_cell;
  } cases[] = {{"243000", 5000}, {"3", 140}, {"25", 140}, {"1000000", 20140}};
  for (const Case& c : cases) {
    auto parsed = parse_text(line_with("10000", c.length), small_train_source());
    EXPECT_EQ(parsed->ctx.last_cell(), c.last_cell) << c.length;
    EXPECT_EQ(parsed->ctx.tracciato.last_metre(), std::stoi(c.length) + 7000) << c.length;
    EXPECT_EQ(parsed->ctx.tabella[kEntryTrain].valore2, std::stoi(c.length));
  }
}

TEST(LineParserTest, KeywordCaseRules) {
  // Capitals and surrounding text around "[generale]" and in the length keyword are fine;
  // "progressiva" must be written in lower case.
  std::string line = line_with("[generale]", "x [GENERALE] x");
  line = line.replace(line.find("lunghezza percorso"), 18, "Lunghezza Percorso");
  line = line.replace(line.find("progressiva chilometrica uno"), 11, "Progressiva");
  auto parsed = parse_text(line, small_train_source());
  EXPECT_EQ(parsed->ctx.codice_errore, 0);
  EXPECT_EQ(parsed->ctx.last_cell(), 340);
  EXPECT_EQ(parsed->ctx.tabella[kEntryRefTre].valore2, 0);  // the reference was not read
}

TEST(LineParserTest, SectionHeaderEndsTheGeneralPart) {
  // A general record after "[curve]" is never recognised; an object record
  // before it is ignored in the same way.
  const std::string line = crlf({"[generale]", "lunghezza percorso, 10000", "pendenza, 0, 5",
                                 "[curve]", "sfondo uno, 7", "[fine]"});
  auto parsed = parse_text(line, small_train_source());
  EXPECT_EQ(parsed->ctx.codice_errore, 0);
  EXPECT_EQ(parsed->ctx.tabella[kEntryScenario].valore1, 0);
  EXPECT_EQ(parsed->ctx.percorso[0].pendenza, 100);
}

TEST(LineParserTest, SignalRepetitionCodes) {
  struct Case {
    const char* keyword;
    const char* values;
    int32_t codes;
  } cases[] = {{"ripetizione segnali 4 codici", "1650, 9000", 4},
               {"ripetizione segnali 9 codici", "1650, 9000", 9},
               {"ripetizione segnali 9 codici", "1650, 0", 0},
               {"ripetizione segnali 4 codici", "0, 0", 0}};
  for (const Case& c : cases) {
    auto parsed = parse_text(line_with("ripetizione segnali 4 codici,    1650,    9000",
                                       std::string(c.keyword) + ", " + c.values),
                             small_train_source());
    EXPECT_EQ(parsed->ctx.codice_errore, 0);
    EXPECT_EQ(parsed->ctx.tabella[kEntrySignals].valore3, c.codes) << c.keyword << c.values;
  }
}

TEST(LineParserTest, GradientFill) {
  auto parsed = parse_text(small_line_source(), small_train_source());
  const auto& row = parsed->ctx.percorso;
  const int32_t n = parsed->ctx.last_cell();
  for (int32_t c = 0; c <= n; ++c) {
    const int expected = c < 100 ? 100 : c < 140 ? 92 : c <= n - 3 ? 100 : 0;
    ASSERT_EQ(row[c].pendenza, expected) << "cell " << c;
  }
}

TEST(LineParserTest, TwoGradientsAtOnePositionStillWriteOneCell) {
  const std::string line =
      crlf({"[generale]", "lunghezza percorso, 10000", "[pendenze]", "pendenza, 0, 0",
            "pendenza, 500, 5", "pendenza, 500, 9", "[fine]"});
  auto parsed = parse_text(line, small_train_source());
  const auto& row = parsed->ctx.percorso;
  EXPECT_EQ(row[9].pendenza, 100);
  EXPECT_EQ(row[10].pendenza, 105);  // the second record at 500 writes one cell with 5
  EXPECT_EQ(row[11].pendenza, 109);
}

TEST(LineParserTest, CurvatureFromTheKeyword) {
  struct Case {
    const char* keyword;
    double curvature;
  } cases[] = {{"curvas3", -0.0004}, {"curvad1", 0.0001}, {"curvaS2", -0.0002},
               {"curvad12", 0.0001}, {"curvad4", 0.001},  {"CURVAD5", 0.002},
               {"curvad6", 0.003}};
  for (const Case& c : cases) {
    const std::string line = crlf({"[generale]", "lunghezza percorso, 10000", "[curve]",
                                   (std::string(c.keyword) + ", 100, 10").c_str(), "[fine]"});
    auto parsed = parse_text(line, small_train_source());
    const Tracciato t = parsed->ctx.tracciato.entries();
    // Straight up to metre 100 along +y, then the first curve step turns by c.
    EXPECT_EQ(t.value(100, 0), 0.0) << c.keyword;
    EXPECT_EQ(t.value(100, 1), 100.0) << c.keyword;
    EXPECT_EQ(t.value(101, 0), c.curvature) << c.keyword;
    EXPECT_EQ(t.value(101, 1), 101.0) << c.keyword;
  }
}

TEST(LineParserTest, TrackPlanEntries) {
  auto parsed = parse_text(small_line_source(), small_train_source());
  const Tracciato t = parsed->ctx.tracciato.entries();
  EXPECT_EQ(t.entry(0, 0).tag, TrackTag::int16);
  EXPECT_EQ(t.entry(1, 1).tag, TrackTag::int16);
  EXPECT_EQ(t.entry(1, 1).value, 1.0);
  EXPECT_EQ(t.entry(2, 0).tag, TrackTag::real);
  EXPECT_EQ(t.entry(16998, 1).tag, TrackTag::real);
  EXPECT_EQ(t.entry(16999, 0).tag, TrackTag::empty);
  EXPECT_EQ(t.entry(17000, 1).tag, TrackTag::empty);
}

TEST(LineParserTest, CurveBehindTheTraceMakesOnlyCurveStepsToItsEnd) {
  const std::string line = crlf({"[generale]", "lunghezza percorso, 10000", "[curve]",
                                 "curvad1, 1000, 100", "curvas1, 500, 700", "[fine]"});
  auto parsed = parse_text(line, small_train_source());
  const Tracciato t = parsed->ctx.tracciato.entries();
  // The second curve starts at metro 1101 and turns back to the left up to 1200.
  const double dx_before = t.value(1100, 0) - t.value(1099, 0);
  const double dx_after = t.value(1200, 0) - t.value(1199, 0);
  EXPECT_GT(dx_before, 0);
  EXPECT_LT(dx_after, dx_before);
  const double dx_straight = t.value(1300, 0) - t.value(1299, 0);
  EXPECT_DOUBLE_EQ(dx_straight, t.value(1202, 0) - t.value(1201, 0));
}

TEST(LineParserTest, TrackPlanPastMetreOneMillionGives103) {
  const std::string line = crlf(
      {"[generale]", "lunghezza percorso, 1000000", "[curve]", "curvad1, 999000, 2000", "[fine]"});
  auto parsed = parse_text(line, small_train_source());
  EXPECT_EQ(parsed->ctx.codice_errore, 103);
  const Tracciato t = parsed->ctx.tracciato.entries();
  EXPECT_EQ(t.entry(1000000, 0).tag, TrackTag::real);
  EXPECT_EQ(t.entry(1000001, 0).tag, TrackTag::empty);
}

TEST(LineParserTest, IndicationBoardsCountDownFromEntry80) {
  const std::string line = line_with(
      "(Km 345+557)", "(Km 345+557)\r\ncartello_indicatore,  8500, (km 341+500) (Torrente Lisca)");
  auto parsed = parse_text(line, small_train_source());
  const BuildContext& ctx = parsed->ctx;
  EXPECT_EQ(ctx.percorso[89].oggetto, kIndicationBoard);
  EXPECT_EQ(ctx.percorso[89].dato1, 80);
  EXPECT_EQ(ctx.tabella[80].testo, "(Km 345+557)");
  EXPECT_EQ(ctx.percorso[171].dato1, 79);
  EXPECT_EQ(ctx.tabella[79].testo, "(km 341+500) (Torrente Lisca)");
}

TEST(LineParserTest, An81stBoardIsRejectedWithError10) {
  std::string line = crlf({"[generale]", "lunghezza percorso, 100000", "[indicazioni]"});
  for (int i = 0; i < 81; ++i) {
    line += "cartello_indicatore, " + std::to_string(1000 + 100 * i) + ", B" + std::to_string(i) +
            "\r\n";
  }
  auto parsed = parse_text(line, small_train_source());
  EXPECT_EQ(parsed->ctx.codice_errore, 10);
  EXPECT_EQ(parsed->ctx.tabella[1].testo, "B79");
  EXPECT_EQ(parsed->ctx.tabella[0].testo, "");
}

TEST(LineParserTest, PositionAtTheEdgeOfTheRow) {
  // n = 340: a record at 50 n - 100 = 16900 is inside, 16901 is not.
  auto inside =
      parse_text(line_with("pendenza,  7000,   0", "pendenza, 16900, 3"), small_train_source());
  EXPECT_EQ(inside->ctx.codice_errore, 0);
  auto outside =
      parse_text(line_with("pendenza,  7000,   0", "pendenza, 16901, 3"), small_train_source());
  ASSERT_FALSE(outside->ctx.trail.recordings.empty());
  EXPECT_EQ(outside->ctx.trail.recordings[0].numero, 15);
  EXPECT_EQ(outside->ctx.trail.recordings[0].posizione, 16901);
  // The end steps still ran and the train file was read.
  EXPECT_EQ(outside->ctx.percorso[0].velocita, 23);
  EXPECT_EQ(outside->ctx.percorso[200].pendenza, 92);
}

TEST(LineParserTest, Error15CarriesIntoTheTrainFile) {
  // Stations before the first signal are read; the signal is stamped; then the parse stops.
  auto parsed =
      parse_text(line_with("pendenza,  7000,   0", "pendenza, 16901, 3"), small_train_source());
  const BuildContext& ctx = parsed->ctx;
  EXPECT_EQ(ctx.tabella[2].testo, "ALTRA-STAZIONE");
  EXPECT_EQ(ctx.percorso[34].oggetto, kSignal);
  ASSERT_EQ(ctx.trail.recordings.size(), 2u);
  EXPECT_EQ(ctx.trail.recordings[1].numero, 15);
  EXPECT_EQ(ctx.trail.recordings[1].reason, Reason::earlier_15_stands);
  EXPECT_EQ(ctx.codice_errore, 15);
  EXPECT_EQ(ctx.posizione_errore, 1650);
  EXPECT_FALSE(parsed->sources->exists(SourceFile::train));
}

TEST(LineParserTest, NoRouteLengthIsARunTimeFailure) {
  const std::string line = crlf({"[generale]", "sfondo uno, 1", "[curve]", "[fine]"});
  auto parsed = parse_text(line, small_train_source());
  EXPECT_EQ(parsed->ctx.codice_errore, 25);
  EXPECT_FALSE(parsed->ctx.has_cell_row());
  EXPECT_FALSE(parsed->sources->exists(SourceFile::line));
  EXPECT_FALSE(parsed->sources->exists(SourceFile::train));
}

TEST(LineParserTest, WithoutTrackPlanCurvesAreNotRecognised) {
  auto parsed = parse_text(small_line_source(), small_train_source(), {.track_plan = false});
  EXPECT_EQ(parsed->ctx.codice_errore, 0);
  EXPECT_FALSE(parsed->ctx.tracciato.exists());
}

}  // namespace
}  // namespace scenario::testing
