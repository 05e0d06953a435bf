// The built-in scenario compiled as the build compiles it: no rule records an
// error, and every object of the sources reaches a cell of its own.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "compiler/compile.h"
#include "compiler/diagnostics/diagnostics.h"
#include "compiler/diagnostics/warnings.h"
#include "compiler/scenario_records.h"
#include "source/builtin_line.h"
#include "source/builtin_source_records.h"
#include "source/builtin_train.h"

namespace scenario {
namespace {

class BuiltinScenarioTest : public ::testing::Test {
 protected:
  BuiltinScenarioTest()
      : sources(text_file_bytes(builtin_line_source()), text_file_bytes(builtin_train_source())) {
    compile(ctx, sources, sink);
  }

  std::map<int, int> objects_by_kind() const {
    std::map<int, int> kinds;
    for (const cella& c : ctx.percorso) {
      if (c.oggetto != kNoObject) ++kinds[c.oggetto];
    }
    return kinds;
  }

  Compilation ctx{BuildIdentity{"Velmora_Dorsel", "904", {}}};
  MemorySources sources;
  MemorySink sink;
  const CompileResult& result = ctx.result;
};

TEST_F(BuiltinScenarioTest, CompilesWithoutAnyRecordedError) {
  EXPECT_EQ(ctx.codice_errore, 0) << "at " << ctx.posizione_errore;
  for (const Recording& r : ctx.trail.recordings) {
    ADD_FAILURE() << "error " << r.numero << " at " << r.posizione << ", source line "
                  << r.where.line << ": " << describe(r);
  }
  EXPECT_EQ(result.fatal_error, 0);
  EXPECT_FALSE(result.cell_row_missing);
  EXPECT_EQ(result.files_written,
            (std::vector<std::string>{"Velmora_Dorsel_linea.dat", "Velmora_Dorsel_904.sim",
                                      "Velmora_Dorsel_904.dat"}));
  EXPECT_EQ(ctx.last_cell(), 5000);
}

// The scenario `scenarioc emit` writes is the first an author edits: it must
// draw no warning, compiled or checked.
TEST_F(BuiltinScenarioTest, DrawsNoWarning) {
  for (const Warning& w : ctx.trail.warnings) {
    ADD_FAILURE() << warning_name(w.kind) << " at line " << w.where.line << ": " << w.message;
  }
  Compilation checked(ctx, {.read_past_errors = true});
  MemorySources again(text_file_bytes(builtin_line_source()),
                      text_file_bytes(builtin_train_source()));
  MemorySink discard;
  compile(checked, again, discard);
  EXPECT_TRUE(checked.trail.warnings.empty());
  EXPECT_TRUE(checked.trail.recordings.empty());
}

// Had two objects met in one cell, one of these counts would come up short.
TEST_F(BuiltinScenarioTest, EveryObjectHasItsOwnCell) {
  const std::map<int, int> expected = {
      {kSignal, 124},
      {kSlowdownEnd, 3},
      {kSlowdownStart, 3},
      {kSlowdownWarning, 3},
      {kCountdownMarker, 8},  // two slowdowns with countdown markers
      {kSpeedBoard, 40},
      {kStationMark, 30},  // every station of type below 25
      {kTunnelLight, 19},
      {kAbbattimento, 18},  // the markers the route rules add around the
                            // slowdowns
      {kIndicationBoard, 6},
  };
  EXPECT_EQ(objects_by_kind(), expected);
}

TEST_F(BuiltinScenarioTest, StationsAndBoardTextsReachTheTable) {
  const std::vector<testing::StationRow> stations = testing::builtin_stations();
  for (size_t i = 0; i < stations.size(); ++i) {
    EXPECT_EQ(ctx.tabella[i + 1].testo, stations[i].name);
    EXPECT_EQ(ctx.tabella[i + 1].valore3, stations[i].position);
  }
  EXPECT_EQ(ctx.tabella[80].testo, "(Km 345+557)");
  EXPECT_EQ(ctx.tabella[75].testo, "(Km 204+676)");
}

// The signal that the system's own description follows from source to cell.
TEST_F(BuiltinScenarioTest, SignalAt14800) {
  const cella& c = ctx.percorso[297];
  EXPECT_EQ(c.oggetto, kSignal);
  EXPECT_EQ(c.dato1, 41);
  EXPECT_EQ(c.dato4, 8);
}

}  // namespace
}  // namespace scenario
