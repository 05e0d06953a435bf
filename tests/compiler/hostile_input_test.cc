// Large and hostile source text through the whole compile step: the longest
// route with thousands of records, over half a million lines, lines of
// megabytes, NUL bytes, bytes above 127 and the line ends other editors write.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "compiler/compile_harness.h"
#include "compiler/format/compiled_file_decoder.h"
#include "compiler/scenario_records.h"

namespace scenario::testing {
namespace {

constexpr const char* kStationTable = "Prova_1.sim";
constexpr const char* kRouteCells = "Prova_1.dat";
constexpr size_t kLongLine = 5 << 20;  // bytes

std::string join_crlf(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

std::string station(int32_t position, const std::string& name) {
  return "stazione, " + std::to_string(position) + ", 12, 600, 0, 0, 0, 1,1,0, 4,1,1, 0, 0,0,0, " +
         name;
}

std::string signal(int32_t position) {
  return "segnale, " + std::to_string(position) + ", 2, 4, 0, 0, 0, 2, 1,0,0, 0";
}

int64_t count_kind(const std::vector<cella>& cells, uint8_t kind) {
  return std::count_if(cells.begin(), cells.end(),
                       [kind](const cella& c) { return c.oggetto == kind; });
}

// A route of 1000000 m in 1000-metre blocks: a signal at 0 and 500 m into each
// block (none in the header cell), a speed board at 250, an indication board at
// 750 in the first 30 blocks, a station every 20 km whose mark falls at 800, and
// a slowdown between 350 and 650 in every hundredth block; curves, gradients,
// mountains, speed and adhesion profiles all along.
struct LongestRoute {
  LongestRoute() {
    std::vector<std::string> l = {"[generale]", "lunghezza percorso, 1000000",
                                  "progressiva chilometrica uno, 0, 1350000, 1", "[curve]"};
    for (int i = 0; i < 2000; ++i) {
      l.push_back(std::string("curva") + (i % 2 ? "s" : "d") + std::to_string(i % 6 + 1) + ", " +
                  std::to_string(1000 + 400 * i) + ", 200");
    }
    l.push_back("[pendenze]");
    for (int i = 0; i < 5000; ++i) {
      l.push_back("pendenza, " + std::to_string(200 * i) + ", " + (i % 2 ? "-8" : "5"));
    }
    l.push_back("[montagne]");
    for (int i = 0; i < 400; ++i) {
      l.push_back("montagna, " + std::to_string(2000 * i + 100) + ", " +
                  std::to_string(2000 * i + 1100) + ", " + std::to_string(i % 20 + 1));
    }
    l.push_back("[cartelli]");
    for (int k = 0; k < 1000; ++k) {
      l.push_back("indicatori_vmax, " + std::to_string(1000 * k + 250) + ", 100,110,115,0, ,,,0");
    }
    l.push_back("[indicazioni]");
    for (int k = 1; k <= 30; ++k) {
      l.push_back("cartello_indicatore, " + std::to_string(1000 * k + 750) + ", CARTELLO " +
                  std::to_string(k));
    }
    l.push_back("[fine]");
    line = join_crlf(l);

    std::vector<std::string> t = {"[generale]", "numero vetture, 14", "[aderenze]"};
    for (int i = 0; i < 100; ++i) {
      t.push_back("aderenza, " + std::to_string(10000 * i) + ", " + std::to_string(80 + i % 20));
    }
    t.push_back("[vel_limite]");
    for (int i = 0; i < 200; ++i) {
      t.push_back("velocita, " + std::to_string(5000 * i) + ", " +
                  std::to_string(100 + i % 5 * 10));
    }
    t.push_back("[stazioni]");
    for (int j = 1; j <= 40; ++j)
      t.push_back(station(20000 * j + 600, "STAZIONE " + std::to_string(j)));
    t.push_back("[rallentamenti]");
    for (int j = 0; j < 10; ++j) {
      t.push_back("rallentamento, " + std::to_string(1000 * (100 * j + 50) + 350) +
                  ", 60, 300, 1, 0, 0");
    }
    t.push_back("[segnali]");
    t.push_back(signal(500));
    for (int k = 1; k < 1000; ++k) {
      t.push_back(signal(1000 * k));
      t.push_back(signal(1000 * k + 500));
    }
    t.push_back("[fine]");
    train = join_crlf(t);
  }

  std::string line;
  std::string train;
};

TEST(HostileInputTest, LongestRouteWithThousandsOfRecords) {
  const LongestRoute route;
  auto compiled = compile_text(route.line, route.train);
  ASSERT_EQ(compiled->ctx.codice_errore, 0);
  EXPECT_TRUE(compiled->ctx.trail.recordings.empty());
  ASSERT_EQ(compiled->ctx.result.files_written.size(), 3u);

  // Every record is in its cell: none lost, none out of place.
  const std::vector<cella> cells = decode_route_cells(compiled->sink.files.at(kRouteCells));
  ASSERT_EQ(cells.size(), 20141u);
  EXPECT_EQ(count_kind(cells, kSignal), 1999);
  EXPECT_EQ(count_kind(cells, kSpeedBoard), 1000);
  EXPECT_EQ(count_kind(cells, kIndicationBoard), 30);
  EXPECT_EQ(count_kind(cells, kStationMark), 40);
  EXPECT_EQ(count_kind(cells, kSlowdownStart), 10);
  EXPECT_EQ(cells[19991].oggetto, kSignal);  // the last one, at 999500 m
  EXPECT_EQ(cells[19991].preavviso, 0);
  EXPECT_EQ(cells[19989].preavviso, 81);

  const Tabella table = decode_station_table(compiled->sink.files.at(kStationTable));
  EXPECT_EQ(table[40].testo, "STAZIONE 40");
  EXPECT_EQ(table[51].testo, "CARTELLO 30");
  EXPECT_EQ(compiled->ctx.tracciato.last_metre(), 1007000);
}

// Each route-length record creates the cell row and the track plan anew, so
// thousands of them, of whatever lengths, compile to the files of the last one.
TEST(HostileInputTest, RepeatedRouteLengthsCompileAsTheLastOne) {
  const LongestRoute route;
  std::string repeated;
  for (int i = 0; i < 2000; ++i) {
    repeated += "lunghezza percorso, " + std::string(i % 3 == 1 ? "500" : "1000000") + "\r\n";
  }
  std::string line = route.line;
  line.insert(line.find("lunghezza percorso"), repeated);
  auto once = compile_text(route.line, route.train);
  auto repeatedly = compile_text(line, route.train);
  ASSERT_EQ(repeatedly->ctx.codice_errore, 0);
  EXPECT_TRUE(repeatedly->sink.files == once->sink.files);
}

TEST(HostileInputTest, HundredsOfThousandsOfLines) {
  // More gradient records than the row has cells, and over half a million
  // fields that name no record; the reader holds one block of text at a time.
  constexpr int kGradientLines = 60000;
  constexpr int kTrainLines = 600000;
  std::string line = "[generale]\r\nlunghezza percorso, 10000\r\n[pendenze]\r\n";
  for (int i = 0; i < kGradientLines; ++i) line += "pendenza, 100, 3\r\n";
  line += "[fine]\r\n";
  std::string train = "[generale]\r\n";
  for (int i = 0; i < kTrainLines; ++i) train += "x\r\n";
  train += signal(1650) + "\r\n[fine]\r\n";

  auto compiled = compile_text(line, train);
  ASSERT_EQ(compiled->ctx.codice_errore, 0);
  const std::vector<cella>& cells = compiled->ctx.percorso;
  ASSERT_EQ(cells.size(), 341u);
  EXPECT_EQ(cells[0].pendenza, 100);
  EXPECT_EQ(cells[1].pendenza, 100);
  EXPECT_EQ(cells[2].pendenza, 103);
  EXPECT_EQ(cells[340].pendenza, 103);    // the records reached past the row's end
  EXPECT_EQ(cells[34].oggetto, kSignal);  // the train file was read to its end
}

TEST(HostileInputTest, LinesOfMegabytes) {
  const std::string too_long = "field longer than 65535 characters";
  const struct {
    const char* name;
    std::string line;
    std::string train;
    int32_t code;
    std::string reason;
    SourceLocation where;
  } rows[] = {
      {"a board text of megabytes",
       line_with("(Km 345+557)", std::string(kLongLine, 'K')),
       small_train_source(),
       25,
       too_long,
       {SourceFile::line, 22, 1}},
      {"a number of megabytes of digits",
       line_with("-8", std::string(kLongLine, '8')),
       small_train_source(),
       25,
       too_long,
       {SourceFile::line, 14, 1}},
      {"a comment line of megabytes",
       line_with("[montagne]", "- " + std::string(kLongLine, 'c')),
       small_train_source(),
       25,
       too_long,
       {SourceFile::line, 16, 1}},
      {"a keyword field of megabytes",
       small_line_source(),
       train_with("[codici]", std::string(kLongLine, 'p')),
       25,
       too_long,
       {SourceFile::train, 17, 1}},
      {"megabytes of NUL bytes",
       small_line_source(),
       train_with("[codici]", std::string(kLongLine, '\0')),
       25,
       too_long,
       {SourceFile::train, 17, 1}},
      {"megabytes of blanks before a field",
       line_with("[montagne]", std::string(kLongLine, ' ') + "[montagne]"),
       small_train_source(),
       0,
       "",
       {}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    auto compiled = compile_text(row.line, row.train);
    EXPECT_EQ(compiled->ctx.codice_errore, row.code);
    if (row.code == 0) {
      EXPECT_TRUE(compiled->ctx.trail.recordings.empty());
      continue;
    }
    ASSERT_FALSE(compiled->ctx.trail.recordings.empty());
    const Recording& r = compiled->ctx.trail.recordings.back();
    EXPECT_EQ(r.text, row.reason);
    EXPECT_EQ(r.where.file, row.where.file);
    EXPECT_EQ(r.where.line, row.where.line);
    EXPECT_EQ(r.where.column, row.where.column);
    // The line file had its cell row: the build still writes its files.
    EXPECT_EQ(compiled->ctx.result.files_written.size(), 3u);
  }
}

TEST(HostileInputTest, NulBytesAndBytesAbove127) {
  const char kName[] = "STA\0ZIONE CITT\xC0 D'\xC9LBA \xFF";
  const std::string name(kName, sizeof kName - 1);
  auto compiled = compile_text(small_line_source(), train_with("ALTRA-STAZIONE", name));
  ASSERT_EQ(compiled->ctx.codice_errore, 0);
  // Kept byte for byte, one byte per character, NUL and all.
  EXPECT_EQ(compiled->ctx.tabella[2].testo, name);
  EXPECT_EQ(decode_station_table(compiled->sink.files.at(kStationTable))[2].testo, name);

  // A NUL byte splits a keyword, which then names no record; the values that
  // follow pass as fields that name none either.
  auto split = compile_text(line_with("pendenza,  5000", std::string("pen\0denza,  5000", 16)),
                            small_train_source());
  ASSERT_EQ(split->ctx.codice_errore, 0);
  EXPECT_EQ(split->ctx.percorso[100].pendenza, 100);  // -8 never took effect

  // A letter above 127 in capitals still reads as its lower-case form.
  auto capital =
      compile_text(line_with("pendenza,  5000", "PENDENZA \xC0,  5000"), small_train_source());
  ASSERT_EQ(capital->ctx.codice_errore, 0);
  EXPECT_EQ(capital->ctx.percorso[100].pendenza, 92);

  // Inside a number a NUL byte is not a digit.
  auto number = compile_text(line_with("-8", std::string("-8\0", 3)), small_train_source());
  EXPECT_EQ(number->ctx.codice_errore, 25);
  EXPECT_EQ(number->ctx.trail.recordings.back().text,
            "not a whole number where a number is expected");
}

std::string without_final_line_end(const std::string& text) {
  return text.substr(0, text.size() - 2);
}

std::string with_line_ends(std::string text, const std::string& end) {
  std::string out;
  for (size_t at; (at = text.find("\r\n")) != std::string::npos; text.erase(0, at + 2)) {
    out += text.substr(0, at) + end;
  }
  return out + text;
}

// Variants of the same scenario that an author may write without a mistake:
// they compile to the same bytes and draw no warning.
TEST(HostileInputTest, BenignVariantsCompileTheSameAndDrawNothing) {
  const auto reference = compile_text(small_line_source(), small_train_source());
  ASSERT_EQ(reference->ctx.codice_errore, 0);
  const struct {
    const char* name;
    std::string line;
    std::string train;
  } rows[] = {
      {"no final line end", without_final_line_end(small_line_source()),
       without_final_line_end(small_train_source())},
      {"line feeds only", with_line_ends(small_line_source(), "\n"),
       with_line_ends(small_train_source(), "\n")},
      {"carriage returns only", with_line_ends(small_line_source(), "\r"),
       with_line_ends(small_train_source(), "\r")},
      {"comment lines, two in a row",
       line_with("[pendenze]", "-- pendenze della linea\r\n- in per mille\r\n[pendenze]"),
       train_with("[segnali]", "[segnali]\r\n-- segnali di partenza\r\n- e di arrivo")},
      {"ten comment lines in the general part",
       line_with(
           "[generale]\r\n", "[generale]\r\n" +
                                 [] {
                                   std::string lines;
                                   for (int i = 0; i < 10; ++i) lines += "- nota\r\n";
                                   return lines;
                                 }()),
       small_train_source()},
      {"empty lines and blanks before the fields", line_with("[curve]", "\r\n  [curve]\r\n"),
       train_with("segnale,", "\r\n   segnale,")},
      {"velocità with its accent, in Windows-1252", small_line_source(),
       train_with("velocita,  1950", "velocit\xE0,  1950")},
      {"velocità with its accent, in UTF-8", small_line_source(),
       train_with("velocita,  1950", "velocit\xC3\xA0,  1950")},
      {"keywords in capitals", line_with("pendenza,  5000", "PENDENZA,  5000"),
       train_with("segnale,", "Segnale,")},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const auto compiled = compile_text(row.line, row.train);
    EXPECT_EQ(compiled->ctx.codice_errore, 0);
    for (const Warning& w : compiled->ctx.trail.warnings) ADD_FAILURE() << w.message;
    ASSERT_EQ(compiled->sink.files.size(), reference->sink.files.size());
    for (const auto& [name, bytes] : reference->sink.files) {
      EXPECT_TRUE(compiled->sink.files.at(name) == bytes) << name << " differs";
    }
  }
}

TEST(HostileInputTest, RecordOnTheLastLineWithoutLineEnd) {
  const std::string train = small_train_source() + station(8500, "ULTIMA");
  const auto compiled = compile_text(small_line_source(), train);
  ASSERT_EQ(compiled->ctx.codice_errore, 0);
  EXPECT_EQ(compiled->ctx.tabella[3].testo, "ULTIMA");
  EXPECT_EQ(compiled->ctx.percorso[175].oggetto, kStationMark);
}

}  // namespace
}  // namespace scenario::testing
