// The train source part of the parser: profiles, stations and their marks,
// abbattimento records, the stops and the final steps.
#include <gtest/gtest.h>

#include <string>

#include "compiler/compile_harness.h"
#include "compiler/compile_step.h"
#include "compiler/parse/parser.h"
#include "compiler/scenario_records.h"
#include "compiler/source_files.h"

namespace scenario::testing {
namespace {

// The small train source with `stations` in place of its station records.
std::string train_with_stations(const std::string& stations) {
  std::string text = small_train_source();
  const size_t from = text.find("stazione,");
  const size_t to = text.find("[rallentamenti]");
  return text.replace(from, to - from, stations);
}

std::string station(int position, int kind, int length, int value6 = 0, const char* name = "NOME") {
  return "stazione, " + std::to_string(position) + ", " + std::to_string(kind) + ", " +
         std::to_string(length) + ", 0, 1, " + std::to_string(value6) +
         ", 1,1,0, 4,1,1, 0, 10,33,0, " + name + "\r\n";
}

TEST(TrainParserTest, ConsistClockAndSand) {
  auto parsed = parse_text(small_line_source(), small_train_source());
  const Tabella& t = parsed->ctx.tabella;
  EXPECT_EQ(t[kEntryTrain].valore1, 130);
  EXPECT_EQ(t[kEntryTrain].valore3, 14);
  EXPECT_EQ(t[kEntrySignals].colonna7, 200);
  EXPECT_EQ(t[kEntrySignals].colonna10, 10);
  EXPECT_EQ(t[kEntrySignals].colonna11, 32);
  EXPECT_EQ(t[kEntrySignals].colonna12, 40);
  EXPECT_EQ(t[kEntryScenario].testo, "Prova");
  EXPECT_EQ(t[kEntrySignals].testo, "1");
  EXPECT_EQ(parsed->ctx.codice_errore, 0);
  EXPECT_FALSE(parsed->sources->exists(SourceFile::train));
}

TEST(TrainParserTest, SpeedAndAdhesionFills) {
  auto parsed = parse_text(small_line_source(), small_train_source());
  const auto& row = parsed->ctx.percorso;
  const int32_t n = parsed->ctx.last_cell();
  for (int32_t c = 0; c <= n; ++c) {
    const int speed = c <= 38 ? 23 : c <= n - 3 ? 32 : 0;
    ASSERT_EQ(row[c].velocita, speed) << "cell " << c;
    ASSERT_EQ(row[c].aderenza, c <= n - 3 ? 100 : 0) << "cell " << c;
  }
}

TEST(TrainParserTest, ProfilesStartingLaterStartFromZero) {
  auto parsed =
      parse_text(small_line_source(), train_with("velocita,     0,  115", "velocita,   500,  115"));
  EXPECT_EQ(parsed->ctx.percorso[9].velocita, 0);
  EXPECT_EQ(parsed->ctx.percorso[10].velocita, 23);
}

// Records at 50 m write one cell each and push their fill on. The speed fill
// stops before the last cell, which the final fill then writes with the last
// speed; the adhesion fill counts on past the row, and its final fill writes
// nothing.
TEST(TrainParserTest, ProfileFillsAtTheEndOfTheRow) {
  const int32_t n = 340;  // the small line source's last cell
  std::string train = "[generale]\r\n";
  for (int32_t i = 0; i < n + 20; ++i) train += "velocita, 50, 100\r\naderenza, 50, 7\r\n";
  // A speed that does not fit a byte, in force only where the fill has stopped, is never stored.
  train += "velocita, 50, 1300\r\nvelocita, 50, 150\r\naderenza, 50, 9\r\n[fine]\r\n";
  auto parsed = parse_text(small_line_source(), train);
  ASSERT_EQ(parsed->ctx.codice_errore, 0);
  const auto& row = parsed->ctx.percorso;
  ASSERT_EQ(parsed->ctx.last_cell(), n);
  EXPECT_EQ(row[0].velocita, 0);
  EXPECT_EQ(row[0].aderenza, 0);
  for (int32_t c = 1; c < n; ++c) {
    ASSERT_EQ(row[c].velocita, 20) << "cell " << c;
    ASSERT_EQ(row[c].aderenza, 7) << "cell " << c;
  }
  EXPECT_EQ(row[n].velocita, 30);
  EXPECT_EQ(row[n].aderenza, 7);
}

TEST(TrainParserTest, SpeedThatDoesNotFitAByteFails) {
  auto parsed =
      parse_text(small_line_source(), train_with("velocita,  1950,  160", "velocita,  1950, 1300"));
  EXPECT_EQ(parsed->ctx.codice_errore, 25);
}

TEST(TrainParserTest, StationZonesAndMarks) {
  struct Case {
    std::string record;
    int32_t zone_start, zone_end;
    int64_t mark_cell;       // -1: no station mark
    int64_t first_approach;  // cell of mark 81, -1: none
  } cases[] = {
      {station(0, 8, 500), -500, 500, 9, 8},
      {station(6900, 12, 600), 6600, 7200, 143, 142},
      {station(6000, 5, 600), 5400, 6150, 122, -1},
      {station(6100, 2, 600, 1), 5800, 6450, 128, 127},
      {station(6000, 28, 200), 5900, 6100, -1, -1},
  };
  for (const Case& c : cases) {
    auto parsed = parse_text(small_line_source(), train_with_stations(c.record));
    const BuildContext& ctx = parsed->ctx;
    ASSERT_EQ(ctx.codice_errore, 0) << c.record;
    EXPECT_EQ(ctx.tabella[1].valore1, c.zone_start) << c.record;
    EXPECT_EQ(ctx.tabella[1].valore2, c.zone_end) << c.record;
    EXPECT_EQ(ctx.tabella[1].colonna5, 0) << c.record;  // first station
    EXPECT_EQ(ctx.tabella[1].colonna6, 0) << c.record;
    for (int64_t i = 0; i <= ctx.last_cell(); ++i) {
      const bool mark = i == c.mark_cell;
      EXPECT_EQ(ctx.percorso[i].oggetto == kStationMark, mark) << c.record << " cell " << i;
      if (mark) {
        EXPECT_EQ(ctx.percorso[i].dato1, 1);
      }
    }
    for (int i = 1; i <= 4; ++i) {
      if (c.first_approach < 0) continue;
      EXPECT_EQ(ctx.percorso[c.first_approach + 1 - i].preavviso, 80 + i) << c.record;
    }
  }
}

TEST(TrainParserTest, SecondStationKeepsItsCodesWhenLongEnough) {
  auto parsed = parse_text(small_line_source(),
                           train_with_stations(station(0, 8, 500) + station(6100, 2, 600, 1)));
  const voce& e = parsed->ctx.tabella[2];
  EXPECT_EQ(e.colonna5, 1);
  EXPECT_EQ(e.colonna6, 1);
  EXPECT_EQ(e.valore2, 6450);
  EXPECT_EQ(e.orario, 37980);
  EXPECT_EQ(e.testo, "NOME");
}

TEST(TrainParserTest, StationErrors) {
  struct Case {
    std::string stations;
    int32_t code;
    int32_t position;
  } cases[] = {
      {station(6925, 12, 600), 8, 6925},
      {station(6900, 12, 650), 9, 6900},
      {station(0, 12, 200), 24, 0},
      {station(6900, 12, 600) + station(1000, 12, 600), 22, 1000},
      {station(6900, 12, 600) + station(7800, 12, 600), 22, 7800},
      {station(16250, 12, 600), 15, 16250},
      {station(16200, 12, 600), 0, 0},
      {station(15000, 8, 3000), 15, 15000},
  };
  for (const Case& c : cases) {
    auto parsed = parse_text(small_line_source(), train_with_stations(c.stations));
    EXPECT_EQ(parsed->ctx.codice_errore, c.code) << c.stations;
    EXPECT_EQ(parsed->ctx.posizione_errore, c.code == 24 ? 0 : c.position) << c.stations;
  }
}

TEST(TrainParserTest, StationsAndBoardTextsShareTheTable) {
  // One board (entry 80): the 78th station reaches entry 79 and gives error 10.
  std::string stations;
  for (int i = 0; i < 78; ++i) stations += station(5000 + 1000 * i, 28, 200);
  std::string line = small_line_source();
  line.replace(line.find("10000"), 5, "200000");
  auto parsed = parse_text(line, train_with_stations(stations));
  EXPECT_EQ(parsed->ctx.codice_errore, 10);
  EXPECT_EQ(parsed->ctx.tabella[78].valore3, 5000 + 1000 * 77);
  EXPECT_EQ(parsed->ctx.tabella[80].testo, "(Km 345+557)");
}

TEST(TrainParserTest, Abbattimento) {
  struct Case {
    const char* record;
    int64_t cell;
    uint8_t kind;
    int16_t value;
  } cases[] = {{"abbattimento, 24, 150", 0, kAbbattimento, 150},
               {"abbattimento, 1000, 120", 20, kAbbattimento, 120},
               {"abbattimento, 1000, 0", 20, kAbbattimentoNoValue, 0}};
  for (const Case& c : cases) {
    auto parsed = parse_text(small_line_source(),
                             train_with("[codici]", std::string(c.record) + "\r\n[codici]"));
    EXPECT_EQ(parsed->ctx.codice_errore, 0) << c.record;
    EXPECT_EQ(parsed->ctx.percorso[c.cell].oggetto, c.kind) << c.record;
    EXPECT_EQ(parsed->ctx.percorso[c.cell].dato1, c.value) << c.record;
  }
  auto taken = parse_text(small_line_source(),
                          train_with("[codici]", "abbattimento, 1700, 100\r\n[codici]"));
  EXPECT_EQ(taken->ctx.codice_errore, 7);
  EXPECT_EQ(taken->ctx.posizione_errore, 1700);
}

TEST(TrainParserTest, StamperErrorsStopTheParseWithTheRecordPosition) {
  auto parsed = parse_text(
      small_line_source(),
      train_with("[codici]", "segnale, 700, 2,4,0,0,0,2,1,0,0,0\r\nsabbia, 7\r\n[codici]"));
  EXPECT_EQ(parsed->ctx.codice_errore, 16);
  EXPECT_EQ(parsed->ctx.posizione_errore, 700);
  EXPECT_EQ(parsed->ctx.tabella[kEntrySignals].colonna7, 200);  // nothing after the stop is read
  ASSERT_EQ(parsed->ctx.trail.recordings.size(), 1u);
  EXPECT_EQ(parsed->ctx.trail.recordings[0].where.line, 17);
  EXPECT_EQ(parsed->ctx.trail.recordings[0].cell, 15);
  EXPECT_EQ(parsed->ctx.trail.recordings[0].occupant, kSpeedBoard);
}

TEST(TrainParserTest, WithoutGeneralPartNothingIsReadButEndStepsRun) {
  const std::string train = crlf({"velocita, 0, 100", "[fine]"});
  auto parsed = parse_text(small_line_source(), train);
  EXPECT_EQ(parsed->ctx.codice_errore, 0);
  EXPECT_EQ(parsed->ctx.percorso[0].velocita, 0);
  EXPECT_FALSE(parsed->sources->exists(SourceFile::train));
}

TEST(TrainParserTest, ReferenceCheckAfterTheTrainFile) {
  std::string line = small_line_source();
  line.replace(line.find("350000"), 6, "350010");
  auto parsed = parse_text(line, small_train_source());
  EXPECT_EQ(parsed->ctx.codice_errore, 2);
  EXPECT_EQ(parsed->ctx.percorso[34].oggetto, kSignal);  // the train file was read whole
}

TEST(TrainParserTest, MissingTrainFileIsARunTimeFailure) {
  MemorySources sources(small_line_source(), "");
  sources.remove(SourceFile::train);
  BuildContext ctx;
  memorizza_dati(ctx, sources, {});
  EXPECT_EQ(ctx.codice_errore, 25);
  EXPECT_FALSE(sources.exists(SourceFile::line));
  ASSERT_EQ(ctx.trail.recordings.size(), 1u);
  EXPECT_EQ(ctx.trail.recordings[0].where.file, SourceFile::train);
}

// The error stands at the record's keyword and names the value and where it was found.
TEST(TrainParserTest, ValueOutOfItsColumnFailsAtItsRecord) {
  auto parsed = parse_text(small_line_source(), train_with("sabbia,    200", "sabbia,  40000"));
  EXPECT_EQ(parsed->ctx.codice_errore, 25);
  ASSERT_EQ(parsed->ctx.trail.recordings.size(), 1u);
  const Recording& r = parsed->ctx.trail.recordings[0];
  EXPECT_EQ(r.where.line, 4);
  EXPECT_EQ(r.where.column, 1);
  EXPECT_EQ(r.record, "sand setting");
  EXPECT_EQ(r.failure, FieldFailure::out_of_range);
  EXPECT_EQ(r.found, "40000");
  EXPECT_EQ(r.found_at.line, 4);
  EXPECT_EQ(r.found_at.column, 10);
  EXPECT_NE(r.text.find("40000"), std::string::npos);
  EXPECT_FALSE(parsed->sources->exists(SourceFile::line));
  EXPECT_FALSE(parsed->sources->exists(SourceFile::train));
}

TEST(TrainParserTest, StationNameKeepsItsDash) {
  auto parsed = parse_text(small_line_source(), small_train_source());
  EXPECT_EQ(parsed->ctx.tabella[2].testo, "ALTRA-STAZIONE");
}

}  // namespace
}  // namespace scenario::testing
