// The program itself, run in a folder of its own: the files it leaves there,
// and its three compiled files read byte by byte against values worked out by
// hand from the built-in source text.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "driver/window_module.h"
#include "test_support.h"

namespace scenario {
namespace {

using testing::list_folder;
using testing::read_file;
using testing::TempDir;

// The window module built with the program.
constexpr const char* kOwnModule = "own";

// Runs the program copied into `folder`, with a window module (kOwnModule, or
// the path of another) when `module` is not null, under the given environment
// change; returns its exit status, or -1 when it did not exit normally.
int run_program(const std::filesystem::path& folder, const std::string& environment,
                const char* module) {
  const std::filesystem::path program = SCENARIO_VELMORA_DORSEL;
  std::filesystem::copy_file(program, folder / "velmora_dorsel");
  if (module != nullptr) {
    const std::filesystem::path from = module == kOwnModule
                                           ? program.parent_path() / kWindowModuleName
                                           : std::filesystem::path(module);
    std::filesystem::copy_file(from, folder / kWindowModuleName);
  }
  const std::string command =
      "cd '" + folder.string() + "' && env " + environment + " ./velmora_dorsel >output.log 2>&1";
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Whatever the display, the build writes its six files; only a module that
// cannot be loaded while a display is named is worth a line. A module of
// another build, whose table may be shorter or differ, is never called.
TEST(ProgramTest, BuildsInItsOwnFolder) {
  const std::string other_build = "velmora_dorsel: no waiting window: ";
  const struct {
    const char* name;
    const char* environment;
    const char* module;
    std::string output;
  } rows[] = {
      {"no display", "-u DISPLAY", nullptr, ""},
      {"an empty DISPLAY", "DISPLAY=", nullptr, ""},
      {"a display that cannot be opened", "DISPLAY=:9999", kOwnModule, ""},
      {"a display but no window module", "DISPLAY=:9999", nullptr, other_build},
      {"a module with the table of an earlier layout", "DISPLAY=:9999", SCENARIO_OLD_WINDOW_MODULE,
       other_build},
      {"a module with a shorter table", "DISPLAY=:9999", SCENARIO_SHORT_WINDOW_MODULE, other_build},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    TempDir dir;
    EXPECT_EQ(run_program(dir.path(), row.environment, row.module), 0)
        << read_file(dir / "output.log");
    std::vector<std::string> expected = {
        "Velmora_Dorsel_904.dat",
        "Velmora_Dorsel_904.sim",
        "Velmora_Dorsel_904_note.txt",
        "Velmora_Dorsel_904_rallentamenti.txt",
        "Velmora_Dorsel_904_scheda_treno.txt",
        "Velmora_Dorsel_linea.dat",
        "output.log",
    };
    if (row.module != nullptr) expected.push_back(kWindowModuleName);
    expected.push_back("velmora_dorsel");
    EXPECT_EQ(list_folder(dir.path()), expected);
    // The fixed start is followed by the module's path and the system's words.
    const std::string log = read_file(dir / "output.log");
    if (row.output.empty()) {
      EXPECT_EQ(log, "");
    } else {
      EXPECT_TRUE(log.starts_with(row.output)) << log;
      EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;
    }
  }
}

// A little-endian field read from the bytes, apart from the compiler's decoder.
uint64_t le(const std::string& bytes, size_t offset, size_t width) {
  uint64_t value = 0;
  for (size_t i = width; i-- > 0;) value = value << 8 | static_cast<uint8_t>(bytes.at(offset + i));
  return value;
}
int u8(const std::string& b, size_t at) { return static_cast<uint8_t>(le(b, at, 1)); }
int i16(const std::string& b, size_t at) { return static_cast<int16_t>(le(b, at, 2)); }
int u16(const std::string& b, size_t at) { return static_cast<uint16_t>(le(b, at, 2)); }
int i32(const std::string& b, size_t at) { return static_cast<int32_t>(le(b, at, 4)); }

// One 15-byte cell of the route cell file, field by field.
struct Cell {
  int oggetto, dato1, dato2, dato3, dato4, tempo_segnale, preavviso, montagna, velocita, pendenza,
      aderenza;
  bool operator==(const Cell&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Cell& c) {
  return out << "{" << c.oggetto << ", " << c.dato1 << ", " << c.dato2 << ", " << c.dato3 << ", "
             << c.dato4 << ", " << c.tempo_segnale << ", " << c.preavviso << ", " << c.montagna
             << ", " << c.velocita << ", " << c.pendenza << ", " << c.aderenza << "}";
}

Cell cell_at(const std::string& file, size_t index) {
  const size_t at = 15 * index;
  return {u8(file, at),      i16(file, at + 1), i16(file, at + 3), i16(file, at + 5),
          i16(file, at + 7), u8(file, at + 9),  u8(file, at + 10), u8(file, at + 11),
          u8(file, at + 12), u8(file, at + 13), u8(file, at + 14)};
}

// One record of the station table file: 34 bytes and its text.
struct Entry {
  int genere, valore1, valore2, valore3, colonna4;
  std::string testo;
  int colonna7, colonna8, colonna10, colonna11, colonna12, colonna9, colonna13, colonna6, colonna5,
      orario;
  bool operator==(const Entry&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Entry& e) {
  return out << "{" << e.genere << ", " << e.valore1 << ", " << e.valore2 << ", " << e.valore3
             << ", " << e.colonna4 << ", \"" << e.testo << "\", " << e.colonna7 << ", "
             << e.colonna8 << ", " << e.colonna10 << ", " << e.colonna11 << ", " << e.colonna12
             << ", " << e.colonna9 << ", " << e.colonna13 << ", " << e.colonna6 << ", "
             << e.colonna5 << ", " << e.orario << "}";
}

// Record `k`, found by walking the records before it.
Entry entry_at(const std::string& file, int k) {
  size_t at = 0;
  for (int i = 0; i < k; ++i) at += 34 + u16(file, at + 14);
  const size_t l = u16(file, at + 14);
  const size_t t = at + 16 + l;  // the fields after the text
  return {u8(file, at),      i32(file, at + 1),       i32(file, at + 5), i32(file, at + 9),
          u8(file, at + 13), file.substr(at + 16, l), i16(file, t),      i16(file, t + 2),
          i16(file, t + 4),  i16(file, t + 6),        i16(file, t + 8),  u8(file, t + 10),
          u8(file, t + 11),  u8(file, t + 12),        u8(file, t + 13),  i32(file, t + 14)};
}

// The built-in route is 243000 m long: n = (243000 + 7000) / 50 = 5000 and
// `metri_totali` = 250000. Speeds are stored divided by 5, gradients plus 100.
class BuiltinFilesTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new TempDir;
    ASSERT_EQ(run_program(dir_->path(), "-u DISPLAY", nullptr), 0)
        << read_file(*dir_ / "output.log");
  }
  static void TearDownTestSuite() {
    delete dir_;
    dir_ = nullptr;
  }
  static std::string file(const std::string& name) { return read_file(*dir_ / name); }

  static TempDir* dir_;
};

TempDir* BuiltinFilesTest::dir_ = nullptr;

TEST_F(BuiltinFilesTest, RouteCells) {
  const std::string cells = file("Velmora_Dorsel_904.dat");
  ASSERT_EQ(cells.size(), 75015u);  // 15 bytes x cells 0 to 5000
  const struct {
    size_t index;
    Cell cell;
  } rows[] = {
      // Header cell: 5121 and codice_gara_og, the plain sum of the codes of the
      // 25 characters "904velmora_dorselkkllmmnn" = 2527. Speed 115, gradient 0,
      // adhesion 100 from position 0.
      {1, {0, 5121, 2527, 0, 0, 0, 0, 0, 23, 100, 100}},
      // "segnale, 36550, 2, 4, 1, 1, 0, 2, 2,1,1, 220": cell 36550 / 50 + 1;
      // s1 d1 = 4 2, s2 d2 = 1 1, s3 d3 = 1 1, rapp x 10 + sx x 3 + dx = 0 + 6 + 2,
      // tempo 220 kept with sx 2. Speed 125 from 35750, gradient 0 from 36000.
      {732, {1, 42, 11, 11, 8, 220, 0, 0, 25, 100, 100}},
      // Its approach marks 2, 4, 6 and 8 cells before it: (6 + 2) x 10 + b.
      {730, {0, 0, 0, 0, 0, 0, 81, 0, 25, 100, 100}},
      {731, {0, 0, 0, 0, 0, 0, 0, 0, 25, 100, 100}},
      {724, {0, 0, 0, 0, 0, 0, 84, 0, 25, 100, 100}},
      // "rallentamento, 168900, 40, 200, 0, 1, 40": warning board in cell
      // (168900 - 1200) / 50 + 1 = 3355, the countdown 1, 2, 3, 4 below it, with
      // dato2 the same number as d_v is not 0; start 168900 / 50 + 1 = 3379, end
      // 169100 / 50 + 1 = 3383, each with v and d_v. Speed 175 from 156950.
      {3355, {4, 40, 40, 0, 0, 0, 0, 0, 35, 100, 100}},
      {3354, {5, 1, 1, 0, 0, 0, 0, 0, 35, 100, 100}},
      {3353, {5, 2, 2, 0, 0, 0, 0, 0, 35, 100, 100}},
      {3352, {5, 3, 3, 0, 0, 0, 0, 0, 35, 100, 100}},
      {3351, {5, 4, 4, 0, 0, 0, 0, 0, 35, 100, 100}},
      {3350, {0, 0, 0, 0, 0, 0, 0, 0, 35, 100, 100}},
      // The signal at 169200 (cell 3385, sx 2, dx 2) marks 3383 with 81 and 3379
      // with 83 after the slowdown was stamped.
      {3379, {3, 40, 40, 0, 0, 0, 83, 0, 35, 100, 100}},
      {3383, {2, 40, 40, 0, 0, 0, 81, 0, 35, 100, 100}},
      // Markers of 180 from the pass over the cells: in front of the signal at
      // 167400 (cell 3349), 6 cells before the warning board; 5, 11 and 18 cells
      // before the start; in front of the first signal after the end.
      {3348, {12, 180, 0, 0, 0, 0, 0, 0, 35, 100, 100}},
      {3374, {12, 180, 0, 0, 0, 0, 0, 0, 35, 100, 100}},
      {3368, {12, 180, 0, 0, 0, 0, 0, 0, 35, 100, 100}},
      {3361, {12, 180, 0, 0, 0, 0, 0, 0, 35, 100, 100}},
      {3384, {12, 180, 0, 0, 0, 0, 0, 0, 35, 100, 100}},
      // Station 22, VALDENZA, at 146150, 800 m of kind 2: zone end 146550, mark
      // in cell 146550 / 50 - 1 = 2930 with its entry 22, approach marks 81 to
      // 84 in 2929 to 2926. The signal at 146750 (cell 2936, sx 2, dx 2), read
      // after the stations, overwrites 2930 with 83 and 2928 with 84. Speed 75
      // from 145300, gradient -2 from 145000.
      {2930, {10, 22, 0, 0, 0, 0, 83, 0, 15, 98, 100}},
      {2929, {0, 0, 0, 0, 0, 0, 81, 0, 15, 98, 100}},
      {2928, {0, 0, 0, 0, 0, 0, 84, 0, 15, 98, 100}},
      {2927, {0, 0, 0, 0, 0, 0, 83, 0, 15, 98, 100}},
      {2926, {0, 0, 0, 0, 0, 0, 84, 0, 15, 98, 100}},
      {2932, {0, 0, 0, 0, 0, 0, 82, 0, 15, 98, 100}},
      // The fills of speed, gradient and adhesion stop at n - 3; the last three
      // cells hold nothing.
      {4997, {0, 0, 0, 0, 0, 0, 0, 0, 23, 100, 100}},
      {4998, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {5000, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
  };
  for (const auto& row : rows) EXPECT_EQ(cell_at(cells, row.index), row.cell) << row.index;
}

TEST_F(BuiltinFilesTest, StationTable) {
  const std::string table = file("Velmora_Dorsel_904.sim");
  // 87 records of 34 bytes and their texts: 379 bytes of 35 station names, 115
  // of 6 board texts, "Velmora_Dorsel" and "904".
  ASSERT_EQ(table.size(), 87u * 34 + 379 + 115 + 14 + 3);
  const struct {
    int k;
    Entry entry;
  } rows[] = {
      // "stazione, 0, 8, 500, 0, 0, 0, 1,1,0, 4,1,1, 1, 10,33, 0": kind 8, zone
      // 0 - 500 to 0 + 500; 10:33:00 is 37980 s.
      {1, {8, -500, 500, 0, 0, "VELMORA CENTRALE", 1, 1, 4, 1, 1, 0, 1, 0, 0, 37980}},
      // "stazione, 146150, 2, 800, 1, 1, 0, 4,1,0, 2,1,1, 80, 12,17, 0": zone
      // 146150 -/+ 400; colonna5 kept at 800 m; 12:17:00 is 44220 s.
      {22, {2, 145750, 146550, 146150, 1, "VALDENZA", 4, 1, 2, 1, 1, 0, 80, 0, 1, 44220}},
      // The one chainage reference (0, 350000, 1) sorted first, 100 added for its flag.
      {81, {0, 0, 350100, 1, 0, "", 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {83, {0, 0, 0, 0, 0, "", 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      // Braked mass 130, route length 243000, 14 coaches.
      {84, {0, 130, 243000, 14, 0, "", 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      // Backgrounds 1, 0, 0 (uno, tre, due); 610; codice_gara_st, the sum of the
      // codes of "904velmora_dorselkkllmmnn" each times its place 1 to 25 = 34724.
      {85, {0, 1, 0, 0, 0, "Velmora_Dorsel", 610, 0, 0, 0, 0, 0, 0, 0, 0, 34724}},
      // Signal repetition 1650 to 241000 with 4 codes; sand 200; clock 10 32 40.
      {86, {0, 1650, 241000, 4, 0, "904", 200, 0, 10, 32, 40, 0, 0, 0, 0, 0}},
  };
  for (const auto& row : rows) EXPECT_EQ(entry_at(table, row.k), row.entry) << row.k;
  // Board texts count down from entry 80.
  EXPECT_EQ(entry_at(table, 80).testo, "(Km 345+557)");
  EXPECT_EQ(entry_at(table, 75).testo, "(Km 204+676)");
}

TEST_F(BuiltinFilesTest, TrackPlan) {
  const std::string plan = file("Velmora_Dorsel_linea.dat");
  // Per column of metres 0 to 250000: 2 integers of 4 bytes, the doubles of
  // metres 2 to 249998 of 10 bytes, 2 empty entries of 2 bytes.
  const size_t column = 2 * 4 + 249997 * 10 + 2 * 2;
  ASSERT_EQ(plan.size(), 2 * column);
  for (size_t c : {size_t{0}, column}) {
    EXPECT_EQ(u16(plan, c), 2);  // metre 0: the integer 0
    EXPECT_EQ(i16(plan, c + 2), 0);
    EXPECT_EQ(u16(plan, c + 4), 2);
    EXPECT_EQ(u16(plan, c + 8 + 249997 * 10), 0);  // metres 249999 and 250000: empty
    EXPECT_EQ(u16(plan, c + 8 + 249997 * 10 + 2), 0);
  }
  EXPECT_EQ(i16(plan, 6), 0);           // x of metre 1
  EXPECT_EQ(i16(plan, column + 6), 1);  // y of metre 1
  const auto real = [&](size_t c, int metre) {
    const size_t at = c + 8 + static_cast<size_t>(metre - 2) * 10;
    EXPECT_EQ(u16(plan, at), 5) << metre;
    return std::bit_cast<double>(le(plan, at + 2, 8));
  };
  // Straight along y up to the first curve, "curvas3, 1750, 600": c = -0.0004.
  EXPECT_EQ(real(0, 1750), 0.0);
  EXPECT_EQ(real(column, 1750), 1750.0);
  // Metre 1751: x = 0 + (0 + c x 1), y = 1750 + (1 - c x 0).
  EXPECT_EQ(real(0, 1751), -0.0004);
  EXPECT_EQ(real(column, 1751), 1751.0);
  // Metre 1752, from dx = -0.0004, dy = 1: x = -0.0004 + (-0.0004 + c x 1),
  // y = 1751 + (1 - c x -0.0004), in doubles.
  EXPECT_EQ(real(0, 1752), -0.0012000000000000001);
  EXPECT_EQ(real(column, 1752), 1751.99999984);
}

}  // namespace
}  // namespace scenario
