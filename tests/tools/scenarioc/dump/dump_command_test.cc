// scenarioc dump: the decoded compiled files agree with what their sources say,
// and a truncated or corrupted file is an error at its byte offset.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "test_support.h"
#include "tools/scenarioc/json_reader.h"
#include "tools/scenarioc/run_scenarioc.h"

namespace scenario::testing {
namespace {

namespace fs = std::filesystem;

// The "clean" fixture compiled once for every test of this file.
class DumpCommandTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new TempDir;
    copy_fixture("clean", dir_->path());
    const ToolRun run = run_scenarioc(dir_->path(), {"compile", "Prova_linea.txt", "Prova_1-.txt"});
    ASSERT_EQ(run.status, 0) << run.err;
  }
  static void TearDownTestSuite() {
    delete dir_;
    dir_ = nullptr;
  }

  static ToolRun dump(const std::vector<std::string>& args) {
    std::vector<std::string> full = {"dump"};
    full.insert(full.end(), args.begin(), args.end());
    return run_scenarioc(dir_->path(), full);
  }
  static std::string compiled(const std::string& name) { return read_file(*dir_ / name); }

  static TempDir* dir_;
};

TempDir* DumpCommandTest::dir_ = nullptr;

size_t count_lines_starting(const std::string& text, const std::string& start) {
  size_t count = 0;
  for (size_t at = 0; at < text.size(); at = text.find('\n', at) + 1) {
    if (text.compare(at, start.size(), start) == 0) ++count;
    if (text.find('\n', at) == std::string::npos) break;
  }
  return count;
}

TEST_F(DumpCommandTest, RouteCellsShowTheObjectsTheSourcesPlace) {
  const ToolRun run = dump({"Prova_1.dat"});
  ASSERT_EQ(run.status, 0) << run.err;
  const char* expected[] = {
      // 2715: the plain sum of the codes of "1prova" and the first 19 letters of the pad.
      "cell 1: no object dato1=5121 dato2=2715 dato3=0 dato4=0 tempo_segnale=0 preavviso=0 "
      "montagna=0 velocita=23 pendenza=100 aderenza=100",
      // indicatori_vmax at 700: 100 and 100 km/h give 100 × 20 + 100 / 5.
      "cell 15: speed board dato1=2020 dato2=2222 dato3=2323 dato4=0 tempo_segnale=0 "
      "preavviso=0 montagna=0 velocita=23 pendenza=100 aderenza=100",
      // segnale at 1650: s1 4, d1 1, sx 2, dx 2.
      "cell 34: signal dato1=41 dato2=0 dato3=0 dato4=8 tempo_segnale=0 preavviso=0 "
      "montagna=0 velocita=23 pendenza=100 aderenza=100",
      "cell 89: indication board dato1=80 dato2=0 dato3=0 dato4=0 tempo_segnale=0 preavviso=0 "
      "montagna=1 velocita=32 pendenza=100 aderenza=100",
      // The second station's zone ends at 7200 m.
      "cell 143: station mark dato1=2 dato2=0 dato3=0 dato4=0 tempo_segnale=0 preavviso=0 "
      "montagna=0 velocita=32 pendenza=100 aderenza=100",
  };
  for (const char* line : expected) EXPECT_TRUE(has_line(run.out, line)) << line;
  EXPECT_EQ(run.out.substr(0, run.out.find('\n')),
            "route cells: Prova_1.dat, 5115 bytes, 341 cells (0 to 340); header cell 1: "
            "dato1=5121 dato2=2715");
  // Cells with nothing to show are left out.
  EXPECT_EQ(run.out.find("cell 2:"), std::string::npos);
}

// The line under a raw line: its values in units and words.
std::string line_after(const std::string& text, const std::string& line) {
  const size_t at = text.find(line + "\n");
  if (at == std::string::npos) return "(no line " + line + ")";
  const size_t start = at + line.size() + 1;
  return text.substr(start, text.find('\n', start) - start);
}

TEST_F(DumpCommandTest, EachCellIsReadInUnitsUnderItsRawLine) {
  const ToolRun run = dump({"Prova_1.dat"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(line_after(run.out,
                       "cell 34: signal dato1=41 dato2=0 dato3=0 dato4=8 tempo_segnale=0 "
                       "preavviso=0 montagna=0 velocita=23 pendenza=100 aderenza=100"),
            "  at 1650 m, km 348+350: signal; left signal: kind 2, codes 4 0 0; right signal: "
            "kind 2, codes 1 0 0; code rapp: 0 | in force: speed limit: 115 km/h, gradient: "
            "0 \u2030, adhesion: 100");
  EXPECT_EQ(line_after(run.out,
                       "cell 15: speed board dato1=2020 dato2=2222 dato3=2323 dato4=0 "
                       "tempo_segnale=0 preavviso=0 montagna=0 velocita=23 pendenza=100 "
                       "aderenza=100"),
            "  at 700 m, km 349+300: speed board; category A: 100 km/h left, 100 km/h right; "
            "category B: 110 km/h left, 110 km/h right; category C: 115 km/h left, 115 km/h "
            "right; stripes: 0 left, 0 right | in force: speed limit: 115 km/h, gradient: "
            "0 \u2030, adhesion: 100");
  // The station table beside the cells names the station at its mark.
  const std::string mark =
      "cell 143: station mark dato1=2 dato2=0 dato3=0 dato4=0 tempo_segnale=0 preavviso=0 "
      "montagna=0 velocita=32 pendenza=100 aderenza=100";
  EXPECT_EQ(line_after(run.out, mark),
            "  at 7100 m, km 342+900: station mark; station: ALTRA-STAZIONE; entry: 2 | in "
            "force: speed limit: 160 km/h, gradient: 0 \u2030, adhesion: 100");
  // Without it, the mark gives its entry only.
  TempDir alone;
  fs::copy_file(*dir_ / "Prova_1.dat", alone / "Prova_1.dat");
  const ToolRun without = run_scenarioc(alone.path(), {"dump", "Prova_1.dat"});
  EXPECT_EQ(line_after(without.out, mark),
            "  at 7100 m: station mark; entry: 2 | in force: speed limit: 160 km/h, gradient: "
            "0 \u2030, adhesion: 100");
}

TEST_F(DumpCommandTest, EachEntryIsReadInUnitsUnderItsRawLine) {
  const ToolRun run = dump({"Prova_1.sim"});
  ASSERT_EQ(run.status, 0) << run.err;
  for (const char* line : {
           "  station ORIGINE at 0 m, km 350+000; zone -500 to 500 m; kind 8: zone \u00b1 "
           "length, stop and approach marks; stop 1 s; time 10:33:00",
           "  station ALTRA-STAZIONE at 6900 m, km 343+100; zone 6600 to 7200 m; kind 12: "
           "centred zone, stop and approach marks; stop 45 s; time 10:40:00",
           "  board text \"(Km 345+557)\"",
           "  kilometric reference from 0 m: km 350+000 as written (stored 100 m more), "
           "counting down",
           "  braked mass 130 %; route length 10000 m; coaches 14",
       }) {
    EXPECT_TRUE(has_line(run.out, line)) << line << "\n" << run.out;
  }
  // An empty entry has no such line.
  EXPECT_EQ(line_after(run.out,
                       "entry 3 (station or board text): genere=0 valore1=0 valore2=0 "
                       "valore3=0 colonna4=0 testo=\"\" colonna7=0 colonna8=0 "
                       "colonna10=0 colonna11=0 colonna12=0 colonna9=0 colonna13=0 "
                       "colonna6=0 colonna5=0 orario=0")
                .rfind("entry 4 ", 0),
            0u);
}

TEST_F(DumpCommandTest, AllShowsEveryCell) {
  const ToolRun run = dump({"Prova_1.dat", "--all"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(count_lines_starting(run.out, "cell "), 341u);
  EXPECT_TRUE(has_line(run.out,
                       "cell 340: no object dato1=0 dato2=0 dato3=0 dato4=0 tempo_segnale=0 "
                       "preavviso=0 montagna=0 velocita=0 pendenza=0 aderenza=0"));
}

TEST_F(DumpCommandTest, RouteCellsAsJsonAgreeWithTheText) {
  const ToolRun text = dump({"Prova_1.dat"});
  const ToolRun run = dump({"Prova_1.dat", "--json"});
  ASSERT_EQ(run.status, 0) << run.err;
  const JsonValue json = parse_json(run.out);
  EXPECT_EQ(json["kind"].text, "cells");
  EXPECT_EQ(json["bytes"].integer(), 5115);
  EXPECT_EQ(json["cell_count"].integer(), 341);
  const JsonValue& cells = json["cells"];
  EXPECT_EQ(cells.size(), count_lines_starting(text.out, "cell "));
  const JsonValue& signal = cells[11];
  EXPECT_EQ(signal["cell"].integer(), 34);
  EXPECT_EQ(signal["metres"].integer(), 1650);
  EXPECT_EQ(signal["oggetto"].integer(), 1);
  EXPECT_EQ(signal["object"].text, "signal");
  EXPECT_EQ(signal["dato1"].integer(), 41);
  EXPECT_EQ(signal["dato4"].integer(), 8);
  EXPECT_EQ(parse_json(dump({"Prova_1.dat", "--json", "--all"}).out)["cells"].size(), 341u);
}

TEST_F(DumpCommandTest, StationTableShowsItsRecordsWithNamedFields) {
  const ToolRun run = dump({"Prova_1.sim"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(count_lines_starting(run.out, "entry "), 87u);
  const char* expected[] = {
      "entry 1 (station or board text): genere=8 valore1=-500 valore2=500 valore3=0 colonna4=0 "
      "testo=\"ORIGINE\" colonna7=1 colonna8=1 colonna10=4 colonna11=1 colonna12=1 colonna9=0 "
      "colonna13=1 colonna6=0 colonna5=0 orario=37980",
      "entry 2 (station or board text): genere=12 valore1=6600 valore2=7200 valore3=6900 "
      "colonna4=0 testo=\"ALTRA-STAZIONE\" colonna7=1 colonna8=1 colonna10=4 colonna11=1 "
      "colonna12=1 colonna9=0 colonna13=45 colonna6=0 colonna5=0 orario=38400",
      "entry 80 (station or board text): genere=0 valore1=0 valore2=0 valore3=0 colonna4=0 "
      "testo=\"(Km 345+557)\" colonna7=0 colonna8=0 colonna10=0 colonna11=0 colonna12=0 "
      "colonna9=0 colonna13=0 colonna6=0 colonna5=0 orario=0",
      "entry 81 (kilometric reference): genere=0 valore1=0 valore2=350100 valore3=1 colonna4=0 "
      "testo=\"\" colonna7=0 colonna8=0 colonna10=0 colonna11=0 colonna12=0 colonna9=0 "
      "colonna13=0 colonna6=0 colonna5=0 orario=0",
      // 36340: the codes of "1prova" and the pad, each times its position.
      "entry 85 (header): genere=0 valore1=1 valore2=0 valore3=0 colonna4=0 testo=\"Prova\" "
      "colonna7=610 colonna8=0 colonna10=0 colonna11=0 colonna12=0 colonna9=0 colonna13=0 "
      "colonna6=0 colonna5=0 orario=36340",
      "entry 86 (signal repetition and train number): genere=0 valore1=1650 valore2=9000 "
      "valore3=4 colonna4=0 testo=\"1\" colonna7=200 colonna8=0 colonna10=10 colonna11=32 "
      "colonna12=40 colonna9=0 colonna13=0 colonna6=0 colonna5=0 orario=0",
  };
  for (const char* line : expected) EXPECT_TRUE(has_line(run.out, line)) << line;
}

TEST_F(DumpCommandTest, StationTableAsJson) {
  const ToolRun run = dump({"Prova_1.sim", "--json"});
  ASSERT_EQ(run.status, 0) << run.err;
  const JsonValue json = parse_json(run.out);
  EXPECT_EQ(json["kind"].text, "stations");
  ASSERT_EQ(json["records"].size(), 87u);
  const JsonValue& header = json["records"][85];
  EXPECT_EQ(header["index"].integer(), 85);
  EXPECT_EQ(header["role"].text, "header");
  EXPECT_EQ(header["testo"].text, "Prova");
  EXPECT_EQ(header["colonna7"].integer(), 610);
  EXPECT_EQ(header["orario"].integer(), 36340);
}

TEST_F(DumpCommandTest, TrackPlanSummary) {
  const ToolRun run = dump({"Prova_linea.dat"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(has_line(run.out, "metres: 0 to 17000 (route length + 7000 m)")) << run.out;
  EXPECT_TRUE(has_line(run.out, "points with x and y: 16999; empty entries: 4")) << run.out;

  const JsonValue json = parse_json(dump({"Prova_linea.dat", "--json"}).out);
  EXPECT_EQ(json["kind"].text, "track");
  EXPECT_EQ(json["metri_totali"].integer(), 17000);
  // One left curve of class 3: 600 m at 0.0004 rad a metre, 0.24 rad in all.
  EXPECT_NEAR(json["total_turning_degrees"].number, 13.751, 0.001);
  EXPECT_NEAR(json["net_turning_degrees"].number, 13.751, 0.001);
  const JsonValue& box = json["bounding_box"];
  EXPECT_EQ(box["x_max"].number, 0);
  EXPECT_EQ(box["y_min"].number, 0);
  EXPECT_LT(box["x_min"].number, -3000);
  EXPECT_GT(box["y_max"].number, 16000);
}

TEST_F(DumpCommandTest, TrackPlanPointsAsCsv) {
  const ToolRun run = dump({"Prova_linea.dat", "--points"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out.rfind("metre,x,y\n0,0,0\n1,0,1\n2,0,2\n", 0), 0u) << run.out.substr(0, 40);
  EXPECT_EQ(count_lines_starting(run.out, ""), 17002u);
  EXPECT_TRUE(has_line(run.out, "16999,,"));
  EXPECT_TRUE(has_line(run.out, "17000,,"));
}

TEST_F(DumpCommandTest, KindFromTheNameOrTheFlag) {
  fs::copy_file(*dir_ / "Prova_1.sim", *dir_ / "stations.bin");
  const ToolRun unknown = dump({"stations.bin"});
  EXPECT_EQ(unknown.status, 2);
  EXPECT_EQ(unknown.err.substr(0, unknown.err.find('\n')),
            "scenarioc dump: cannot tell the kind of 'stations.bin' from its name "
            "(NAME_linea.dat, NAME_NUMBER.sim or NAME_NUMBER.dat); give --kind track, stations "
            "or cells");
  const ToolRun given = dump({"stations.bin", "--kind", "stations"});
  EXPECT_EQ(given.status, 0) << given.err;
  EXPECT_EQ(given.out.substr(given.out.find('\n')),
            dump({"Prova_1.sim"}).out.substr(dump({"Prova_1.sim"}).out.find('\n')));
  EXPECT_EQ(dump({"stations.bin", "--kind", "timetable"}).status, 2);
  EXPECT_EQ(dump({"Prova_1.sim", "--points"}).status, 2);
  EXPECT_EQ(dump({"Prova_linea.dat", "--all"}).status, 2);
  EXPECT_EQ(dump({"missing.dat"}).err,
            "scenarioc: cannot open 'missing.dat': No such file or directory\n");
}

TEST_F(DumpCommandTest, DamagedFilesAreReportedAtTheirOffset) {
  using Damage = std::function<void(std::string&)>;
  const struct {
    const char* name;
    const char* source;
    Damage damage;
    const char* error;
  } rows[] = {
      {"route cells cut by one byte", "Prova_1.dat", [](std::string& b) { b.pop_back(); },
       "byte 5100: file size 5114 is not a multiple of 15: cell 340 has 14 of its 15 bytes"},
      {"station table cut short", "Prova_1.sim", [](std::string& b) { b.resize(10); },
       "byte 0: record 0 cut short: 10 bytes left, at least 34 needed"},
      {"station table with a byte too many", "Prova_1.sim", [](std::string& b) { b += 'x'; },
       "byte 2997: 1 trailing bytes after record 86, the last one"},
      {"station text longer than the file", "Prova_1.sim",
       [](std::string& b) { b[14] = b[15] = '\xFF'; },
       "byte 16: text of record 0 (65535 bytes) runs past the end of the file"},
      {"track plan with a bad first tag", "Prova_linea.dat", [](std::string& b) { b[0] = 7; },
       "byte 0: unknown element tag 7"},
      {"track plan with a bad third tag", "Prova_linea.dat", [](std::string& b) { b[8] = 9; },
       "byte 8: unknown element tag 9"},
      {"track plan cut inside a tag", "Prova_linea.dat",
       [](std::string& b) { b.resize(b.size() - 3); },
       "byte 339960: element tag cut short by the end of the file"},
      {"track plan one element short", "Prova_linea.dat",
       [](std::string& b) { b.resize(b.size() - 2); },
       "byte 339962: 34001 elements do not split into two equal columns"},
      {"track plan cut inside a value", "Prova_linea.dat", [](std::string& b) { b.resize(12); },
       "byte 8: element with tag 5 needs 8 value bytes, 2 left"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    std::string bytes = compiled(row.source);
    row.damage(bytes);
    const std::string damaged = std::string("damaged_") + row.source;
    write_file(*dir_ / damaged, bytes);
    const ToolRun run = dump({damaged});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "scenarioc: " + damaged + ": " + row.error + "\n");
    EXPECT_TRUE(run.out.empty());
  }
}

// Station names are Windows-1252 bytes; JSON carries them as UTF-8 with quotes,
// backslashes and control characters escaped.
TEST(DumpTextsTest, StationNameWithSpecialBytes) {
  TempDir dir;
  copy_fixture("clean", dir.path());
  std::string train = read_file(dir / "Prova_1-.txt");
  const std::string name = "CITT\xC0 \"ALTA\" \\ \x80\x01\x1B\x81";
  train.replace(train.find("ORIGINE"), 7, name);
  write_file(dir / "Prova_1-.txt", train);
  ASSERT_EQ(run_scenarioc(dir.path(), {"compile", "Prova_linea.txt", "Prova_1-.txt"}).status, 0);

  const ToolRun json = run_scenarioc(dir.path(), {"dump", "Prova_1.sim", "--json"});
  EXPECT_NE(json.out.find("\"testo\":\"CITT\xC3\x80 \\\"ALTA\\\" \\\\ "
                          "\xE2\x82\xAC\\u0001\\u001b\\u0081\""),
            std::string::npos)
      << json.out;
  EXPECT_EQ(parse_json(json.out)["records"][1]["testo"].text,
            "CITT\xC3\x80 \"ALTA\" \\ \xE2\x82\xAC\x01\x1B\xC2\x81");

  // The text as UTF-8, every control byte escaped: nothing reaches the
  // terminal raw.
  const ToolRun text = run_scenarioc(dir.path(), {"dump", "Prova_1.sim"});
  EXPECT_NE(text.out.find("testo=\"CITT\xC3\x80 \\\"ALTA\\\" \\\\ \xE2\x82\xAC\\x01\\x1B\\x81\" "
                          "colonna7=1"),
            std::string::npos)
      << text.out;
}

}  // namespace
}  // namespace scenario::testing
