// The choices of the decompiler where several sources give the same bytes,
// case by case on the small scenario: each variant compiles without an
// error, comes back byte for byte, and is written as the row says. And the
// sets it refuses, each with the place and the rule it breaks.
#include <gtest/gtest.h>

#include <string>

#include "compiler/compile_harness.h"
#include "compiler/decompile/decompile.h"
#include "test_support.h"

namespace scenario::testing {
namespace {

CompiledSet set_of(const Compiled& compiled) {
  CompiledSet set;
  set.track_plan = compiled.sink.files.at("Prova_linea.dat");
  set.station_table = compiled.sink.files.at("Prova_1.sim");
  set.route_cells = compiled.sink.files.at("Prova_1.dat");
  set.track_plan_name = "Prova_linea.dat";
  set.station_table_name = "Prova_1.sim";
  set.route_cells_name = "Prova_1.dat";
  return set;
}

struct Variant {
  const char* what;
  const char* line_from;  // replaced in the line source ("" for none)
  const char* line_to;
  const char* train_from;  // replaced in the train source ("" for none)
  const char* train_to;
  const char* written;  // a line the decompiled sources hold
};

// The small route has cells 0 to 340; 16900 m is the last position inside it.
const Variant kVariants[] = {
    {"records at the last position reach the last cells, one record a cell", "pendenza,  7000,   0",
     "pendenza,  7000,   0\r\npendenza, 16900, 4\r\npendenza, 16900, -3", "", "",
     "pendenza,   16900,   -3"},
    {"two curves of one class end to end are one curve", "curvas3, 1750, 600",
     "curvas3, 1750, 600\r\ncurvas3, 2350, 400", "", "", "curvas3, 1750, 1000"},
    {"a curve from the first step starts at 0", "curvas3, 1750, 600", "curvad2, 0, 300", "", "",
     "curvad2, 0, 300"},
    {"a gradient that repeats the one before it is no record", "pendenza,  7000,   0",
     "pendenza,  7000,   0\r\npendenza,  9000,   0", "", "",
     "pendenza,    7000,    0\r\n[montagne]"},
    {"a type above 10 without lights is written below 0", "montagna,   3000,  4500,  11",
     "montagna,   3000,  4500,  -241", "", "", "montagna,     3000,    4500,-241"},
    {"an object off the grid comes back on its cell's position", "indicatori_vmax,  700,",
     "indicatori_vmax,  715,", "", "",
     "indicatori_vmax,     700, 100, 110, 115,  0, 100, 110, 115,  0"},
    {"a board a stop mark covered comes back at a stop mark", "cartello_indicatore,  4400",
     "cartello_indicatore,  7100, (Km 342+900)\r\ncartello_indicatore,  4400", "", "",
     "cartello_indicatore,     400, (Km 342+900)"},
    {"the first station's end extension shows in its zone", "", "",
     "stazione,       0,  8,  500,  0, 0, 0,", "stazione,       0, 12,  500,  0, 0, 7,",
     "stazione,       0, 12,  500,  0, 0, 1,"},
    {"a time of 1 to 100 is kept as 101", "", "", "1,0,0, 0", "1,0,0, 50", "1,0,0,101"},
    {"a kept time of 1 to 100 was written 256 higher", "", "", "1,0,0, 0", "1,0,0, 300",
     "1,0,0,300"},
    {"a warning board in cell 7 puts the start just past 1500 m", "", "", "[rallentamenti]",
     "[rallentamenti]\r\nrallentamento,  1510,  60,  200,  0,  1,  0",
     "rallentamento,    1501,  60,   199,  0,  1,   0"},
    {"countdown markers two cells before their board put the start off the grid", "", "",
     "[rallentamenti]", "[rallentamenti]\r\nrallentamento,  5025,  60,  200,  0,  1,  0",
     "rallentamento,    5025,  60,   225,  0,  1,   0"},
    {"an abbattimento value kept in 16 bits below 0 was written 65536 higher", "", "", "[codici]",
     "[codici]\r\nabbattimento,  8000, 40000", "abbattimento,    8000,40000"},
    {"an abbattimento without a value", "", "", "[codici]", "[codici]\r\nabbattimento,  8000, -5",
     "abbattimento,    8000,    0"},
    {"a signal whose marks a station's replace is written before the station", "", "",
     "stazione,    6900",
     "segnale,    7200,   2, 4, 0,  0, 0,    1,  1,0,0, 0\r\nstazione,    6900",
     "[segnali]\r\nsegnale,    7200,   2, 4, 0,  0, 0,    1,  1,0,0, 0\r\n[stazioni]\r\nstazione,  "
     "  "
     "6900"},
};

TEST(DecompileChoices, EachVariantComesBackAndIsWrittenAsChosen) {
  for (const Variant& v : kVariants) {
    SCOPED_TRACE(v.what);
    const std::string line = *v.line_from ? line_with(v.line_from, v.line_to) : small_line_source();
    const std::string train =
        *v.train_from ? train_with(v.train_from, v.train_to) : small_train_source();
    const auto compiled = compile_text(line, train);
    ASSERT_TRUE(compiled->ctx.result.wrote_files());
    ASSERT_TRUE(compiled->ctx.trail.recordings.empty()) << compiled->ctx.trail.recordings[0].numero;
    DecompiledScenario d;
    ASSERT_EQ(failure_message([&] { d = decompile(set_of(*compiled)); }), "");
    EXPECT_TRUE(d.identical);
    EXPECT_TRUE(d.warnings.empty()) << (d.warnings.empty() ? "" : d.warnings[0].message);
    EXPECT_NE((d.line + d.train).find(v.written), std::string::npos) << d.line << d.train;
  }
}

struct Damage {
  const char* file;  // "plan", "table" or "cells"
  size_t offset;
  int value;  // the byte written there
  const char* error;
};

// Record k of the station table starts at the sum of the sizes before it:
// 34 bytes plus the text; the small set's records 1 and 2 hold ORIGINE and
// ALTRA-STAZIONE, record 80 the board's text.
constexpr size_t kRecord2 = 34 + (34 + 7);
const Damage kDamages[] = {
    {"table", kRecord2 + 1, 0x60,
     "Prova_1.sim: record 2: the zone 6496 to 7200 m is not one a type-12 station at 6900 m has"},
    {"table", 34 + 16 + 7 + 13, 3,
     "Prova_1.sim: record 1: colonna5 holds 3, which the compile clears for the first station"},
    {"cells", 15 * 89 + 1, 7,
     "Prova_1.dat: cell 89 (4400 m): an indication board whose text is in entry 7"},
    {"cells", 15 * 32 + 10, 99,
     "Prova_1.dat: cell 32 (1550 m): the approach mark 99, which no signal"},
    {"cells", 15 * 200, kSlowdownStart,
     "Prova_1.dat: cell 200 (9950 m): a slowdown start with no warning board"},
    {"cells", 15 * 62, kTunnelLight,
     "Prova_1.dat: cell 62 (3050 m): a tunnel light off the every-fourth-cell pattern"},
    {"cells", 15 * 143, kNoObject,
     "Prova_1.sim: record 2: no stop mark for this station in cell 143"},
};

TEST(DecompileChoices, ASetNoCompileWritesIsRefusedWithThePlaceOfTheFault) {
  const auto compiled = compile_text(small_line_source(), small_train_source());
  for (const Damage& d : kDamages) {
    SCOPED_TRACE(d.error);
    std::string plan = compiled->sink.files.at("Prova_linea.dat");
    std::string table = compiled->sink.files.at("Prova_1.sim");
    std::string cells = compiled->sink.files.at("Prova_1.dat");
    std::string& damaged = std::string(d.file) == "plan"    ? plan
                           : std::string(d.file) == "table" ? table
                                                            : cells;
    damaged[d.offset] = static_cast<char>(d.value);
    CompiledSet set;
    set.track_plan = plan;
    set.station_table = table;
    set.route_cells = cells;
    set.track_plan_name = "Prova_linea.dat";
    set.station_table_name = "Prova_1.sim";
    set.route_cells_name = "Prova_1.dat";
    const std::string failure = failure_message([&] { decompile(set); });
    EXPECT_EQ(failure.rfind(d.error, 0), 0u) << failure;
  }
}

}  // namespace
}  // namespace scenario::testing
