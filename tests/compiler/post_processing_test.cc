// Tests of the post-processing pass on cell rows built by hand: the markers
// before warning boards and around slowdowns, errors 11 to 13, the row's ends.
#include "compiler/post_processing.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "compiler/scenario_records.h"

namespace scenario {
namespace {

// One object put into a cell before the pass runs.
struct Put {
  int32_t cell;
  uint8_t kind;
  int16_t dato1 = 0;
};

struct Error {
  int32_t numero;
  int32_t posizione;
  bool operator==(const Error&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Error& e) {
  return out << "error " << e.numero << " at " << e.posizione;
}

constexpr int16_t kFast = 120;  // no walk, no signal search after the end
constexpr int16_t kSlow = 60;

class PostProcessingTest : public ::testing::Test {
 protected:
  static constexpr int32_t kLastCell = 200;

  PostProcessingTest() { reset(); }

  // A fresh context with an empty row of cells 0 to 200.
  void reset() {
    ctx = BuildContext();
    ctx.percorso.resize(kLastCell + 1);
  }

  void put(const Put& p) {
    ctx.percorso[p.cell].oggetto = p.kind;
    ctx.percorso[p.cell].dato1 = p.dato1;
  }
  void put_all(const std::vector<Put>& puts) {
    for (const Put& p : puts) put(p);
  }
  void block(const std::vector<int32_t>& cells) {
    for (int32_t c : cells) put({c, kSpeedBoard});
  }
  void slowdown(int32_t start, int32_t end, int16_t speed) {
    put({start, kSlowdownStart, speed});
    put({end, kSlowdownEnd, speed});
  }

  // The cells from `first` to `last` that hold a marker.
  std::vector<int32_t> markers(int32_t first = 0, int32_t last = kLastCell) const {
    std::vector<int32_t> cells;
    for (int32_t c = first; c <= last; ++c) {
      if (ctx.percorso[c].oggetto == kAbbattimento) cells.push_back(c);
    }
    return cells;
  }

  // Every object from `first` to `last`, one line per cell: "cell 19: kind 12 dato1 180".
  std::vector<std::string> objects(int32_t first, int32_t last) const {
    std::vector<std::string> lines;
    for (int32_t c = first; c <= last; ++c) {
      const cella& cell = ctx.percorso[c];
      if (cell.oggetto == kNoObject) continue;
      lines.push_back("cell " + std::to_string(c) + ": kind " + std::to_string(cell.oggetto) +
                      " dato1 " + std::to_string(cell.dato1));
    }
    return lines;
  }

  std::vector<Error> errors() const {
    std::vector<Error> list;
    for (const Recording& r : ctx.trail.recordings) list.push_back({r.numero, r.posizione});
    return list;
  }

  BuildContext ctx;
};

TEST(MinimoTest, TakesTheSmallerAndXOnATie) {
  struct Row {
    int32_t x, y, expected;
  };
  const Row rows[] = {{180, 200, 180}, {180, 120, 120}, {180, 180, 180}, {-5, 3, -5}};
  for (const Row& row : rows) {
    EXPECT_EQ(minimo(row.x, row.y), row.expected) << row.x << ", " << row.y;
  }
}

// The look-back windows in front of a slowdown start: which of them apply.
TEST_F(PostProcessingTest, LookBackWindowsDependOnTheStartCell) {
  struct Row {
    int32_t start;
    std::vector<int32_t> expected;
  };
  const Row rows[] = {
      {4, {}},      {7, {}},       {8, {3}},          {13, {8}},
      {14, {3, 9}}, {20, {9, 15}}, {21, {3, 10, 16}}, {100, {82, 89, 95}},
  };
  for (const Row& row : rows) {
    reset();
    slowdown(row.start, row.start + 2, kFast);
    run_post_processing(ctx);
    EXPECT_EQ(markers(), row.expected) << "start in cell " << row.start;
    EXPECT_EQ(ctx.codice_errore, 0) << "start in cell " << row.start;
    EXPECT_TRUE(ctx.trail.recordings.empty()) << "start in cell " << row.start;
  }
}

TEST_F(PostProcessingTest, LookBackTakesTheFirstFreeCellOfTheWindow) {
  struct Row {
    std::vector<Put> before;
    std::vector<std::string> expected;  // cells 93 to 95
  };
  const Row rows[] = {
      {{}, {"cell 95: kind 12 dato1 180"}},
      {{{95, kSpeedBoard}}, {"cell 94: kind 12 dato1 180", "cell 95: kind 6 dato1 0"}},
      {{{95, kSpeedBoard}, {94, kSignal}},
       {"cell 93: kind 12 dato1 180", "cell 94: kind 1 dato1 0", "cell 95: kind 6 dato1 0"}},
      // A marker already there is occupied: the next cell gets another one.
      {{{95, kAbbattimento, 200}}, {"cell 94: kind 12 dato1 180", "cell 95: kind 12 dato1 200"}},
      {{{95, kTunnelLight}}, {"cell 95: kind 12 dato1 180"}},
  };
  for (const Row& row : rows) {
    reset();
    put_all(row.before);
    slowdown(100, 102, kFast);
    run_post_processing(ctx);
    EXPECT_EQ(objects(93, 95), row.expected);
    EXPECT_TRUE(ctx.trail.recordings.empty());
  }
}

TEST_F(PostProcessingTest, FullLookBackWindowRecordsError12AndTheOthersStillApply) {
  block({93, 94, 95});
  slowdown(100, 102, kFast);
  run_post_processing(ctx);
  EXPECT_EQ(markers(), (std::vector<int32_t>{82, 89}));
  EXPECT_EQ(errors(), (std::vector<Error>{{12, 5000}}));
  EXPECT_EQ(ctx.trail.recordings[0].cell, 100);
  EXPECT_EQ(ctx.trail.recordings[0].occupant, kSlowdownStart);
}

TEST_F(PostProcessingTest, EveryFullWindowRecordsItsOwnError12) {
  block({93, 94, 95, 87, 88, 89, 80, 81, 82});
  slowdown(100, 102, kFast);
  run_post_processing(ctx);
  EXPECT_EQ(markers(), std::vector<int32_t>{});
  EXPECT_EQ(errors(), (std::vector<Error>{{12, 5000}, {12, 5000}, {12, 5000}}));
}

TEST_F(PostProcessingTest, LaterRulesSeeEarlierMarkers) {
  // The start in 100 takes 95; the start in 101 then finds 96 blocked and 95
  // taken, so it goes on to 94.
  block({96});
  slowdown(100, 110, kFast);
  put({101, kSlowdownStart, kFast});
  run_post_processing(ctx);
  EXPECT_EQ(markers(93, 99), (std::vector<int32_t>{94, 95}));
}

// Which signals before a warning board get a marker.
TEST_F(PostProcessingTest, WarningTreatsSignalsUpTo20CellsBeforeItFromCell3On) {
  struct Row {
    int32_t warning;
    std::vector<int32_t> signals;
    std::vector<int32_t> expected;
  };
  const Row rows[] = {
      {30, {29}, {28}},
      {30, {10}, {9}},  // 20 cells before: still treated
      {30, {9}, {}},    // 21 cells before: out of reach
      {10, {1}, {}},
      {10, {2}, {}},
      {10, {3}, {2}},
      {30, {25, 15}, {14, 24}},
      // The marker in front of the nearer signal takes 23, the farther one then goes to 22.
      {30, {25, 24}, {22, 23}},
  };
  for (const Row& row : rows) {
    reset();
    put({row.warning, kSlowdownWarning, kSlow});
    for (int32_t s : row.signals) put({s, kSignal});
    run_post_processing(ctx);
    EXPECT_EQ(markers(), row.expected) << "warning in cell " << row.warning;
    EXPECT_TRUE(ctx.trail.recordings.empty()) << "warning in cell " << row.warning;
  }
}

TEST_F(PostProcessingTest, WarningMarkerValuesInFrontOfASignal) {
  struct Row {
    const char* name;
    std::vector<Put> front;             // cells 18 and 19, the signal is in 20
    std::vector<std::string> expected;  // cells 18 and 19
    std::vector<Error> errors;
  };
  const Row rows[] = {
      {"marker of 200 with a free cell before it",
       {{19, kAbbattimento, 200}},
       {"cell 18: kind 12 dato1 180", "cell 19: kind 12 dato1 200"},
       {}},
      {"marker of 200, cell before it occupied",
       {{19, kAbbattimento, 200}, {18, kSpeedBoard}},
       {"cell 18: kind 6 dato1 0", "cell 19: kind 12 dato1 180"},
       {}},
      {"marker of 120 stays",
       {{19, kAbbattimento, 120}, {18, kSpeedBoard}},
       {"cell 18: kind 6 dato1 0", "cell 19: kind 12 dato1 120"},
       {}},
      {"marker two cells ahead",
       {{19, kSpeedBoard}, {18, kAbbattimento, 200}},
       {"cell 18: kind 12 dato1 180", "cell 19: kind 6 dato1 0"},
       {}},
      {"two markers: only the nearer is lowered",
       {{19, kAbbattimento, 200}, {18, kAbbattimento, 300}},
       {"cell 18: kind 12 dato1 300", "cell 19: kind 12 dato1 180"},
       {}},
      {"both front cells hold other objects",
       {{19, kSpeedBoard}, {18, kStationMark}},
       {"cell 18: kind 10 dato1 0", "cell 19: kind 6 dato1 0"},
       {{11, 1000}}},
      {"tunnel light in front", {{19, kTunnelLight}}, {"cell 19: kind 12 dato1 180"}, {}},
  };
  for (const Row& row : rows) {
    reset();
    put({30, kSlowdownWarning, kSlow});
    put({20, kSignal});
    put_all(row.front);
    run_post_processing(ctx);
    EXPECT_EQ(objects(18, 19), row.expected) << row.name;
    EXPECT_EQ(errors(), row.errors) << row.name;
  }
}

TEST_F(PostProcessingTest, Error11NamesTheSignalCell) {
  put({30, kSlowdownWarning, kSlow});
  put({20, kSignal});
  block({18, 19});
  run_post_processing(ctx);
  ASSERT_EQ(ctx.trail.recordings.size(), 1u);
  EXPECT_EQ(ctx.codice_errore, 11);
  EXPECT_EQ(ctx.posizione_errore, 1000);
  EXPECT_EQ(ctx.trail.recordings[0].cell, 20);
  EXPECT_EQ(ctx.trail.recordings[0].occupant, kSignal);
  EXPECT_FALSE(ctx.trail.recordings[0].has_slowdown);
}

// The walk along a slowdown that starts in cell 50.
TEST_F(PostProcessingTest, WalkRunsOnlyBelow110) {
  struct Row {
    int16_t speed;
    std::vector<int32_t> expected;
  };
  const Row rows[] = {
      {109, {58, 66, 74}}, {110, {}}, {200, {}}, {0, {58, 66, 74}}, {-1, {58, 66, 74}},
  };
  for (const Row& row : rows) {
    reset();
    slowdown(50, 80, row.speed);
    run_post_processing(ctx);
    EXPECT_EQ(markers(51, kLastCell), row.expected) << "speed " << row.speed;
    EXPECT_TRUE(ctx.trail.recordings.empty()) << "speed " << row.speed;
  }
}

TEST_F(PostProcessingTest, WalkStopsAtTheSlowdownEnd) {
  struct Row {
    int32_t end;
    std::vector<int32_t> expected;
  };
  const Row rows[] = {
      {51, {}},
      {57, {}},
      {58, {57}},  // the 8th cell is the end itself: the marker
                   // goes just before it
      {59, {58}},
      {74, {58, 66, 73}},
      {75, {58, 66, 74}},
      {82, {58, 66, 74, 81}},
  };
  for (const Row& row : rows) {
    reset();
    slowdown(50, row.end, kSlow);
    run_post_processing(ctx);
    EXPECT_EQ(markers(51, kLastCell), row.expected) << "end in cell " << row.end;
    EXPECT_TRUE(ctx.trail.recordings.empty()) << "end in cell " << row.end;
  }
}

TEST_F(PostProcessingTest, WalkMovesAroundOccupiedCells) {
  struct Row {
    const char* name;
    std::vector<Put> before;
    std::vector<int32_t> expected;  // walk markers, cells 51 to 90
    std::vector<Error> errors;
  };
  const Row rows[] = {
      {"8th cell occupied: one back, next 8 after it",
       {{58, kSpeedBoard}},
       {57, 65, 73, 81, 89},
       {}},
      {"8th and 7th occupied: one ahead, next 8 after it",
       {{58, kSpeedBoard}, {57, kSignal}},
       {59, 67, 75, 83},
       {}},
      {"all three occupied: no more markers on this walk",
       {{57, kSpeedBoard}, {58, kSpeedBoard}, {59, kSpeedBoard}},
       {},
       {{13, 2900}}},
      {"tunnel light replaced", {{58, kTunnelLight}}, {58, 66, 74, 82, 89}, {}},
      {"marker already in the 8th cell counts as occupied",
       {{58, kAbbattimento, 100}},
       {57, 58, 65, 73, 81, 89},
       {}},
  };
  for (const Row& row : rows) {
    reset();
    put_all(row.before);
    slowdown(50, 90, kSlow);
    run_post_processing(ctx);
    EXPECT_EQ(markers(51, 90), row.expected) << row.name;
    EXPECT_EQ(errors(), row.errors) << row.name;
  }
}

TEST_F(PostProcessingTest, AfterAWalkErrorTheSignalAfterTheEndStillGetsItsMarker) {
  block({57, 58, 59});
  slowdown(50, 90, kSlow);
  put({93, kSignal});
  run_post_processing(ctx);
  EXPECT_EQ(markers(51, kLastCell), (std::vector<int32_t>{92}));
  EXPECT_EQ(errors(), (std::vector<Error>{{13, 2900}}));
  EXPECT_EQ(ctx.trail.recordings[0].cell, 58);
  EXPECT_EQ(ctx.trail.recordings[0].occupant, kSpeedBoard);
}

// The first signal within 12 cells after the end of a slowdown
// from 50 to 56 (too short for a walk marker).
TEST_F(PostProcessingTest, SignalAfterTheEnd) {
  struct Row {
    const char* name;
    std::vector<Put> after;
    std::vector<std::string> expected;  // cells 55 to 70
    std::vector<Error> errors;
  };
  const std::string end = "cell 56: kind 2 dato1 60";
  const std::string signal_60 = "cell 60: kind 1 dato1 0";
  const Row rows[] = {
      {"12 cells after the end",
       {{68, kSignal}},
       {end, "cell 67: kind 12 dato1 180", "cell 68: kind 1 dato1 0"},
       {}},
      {"13 cells after the end", {{69, kSignal}}, {end, "cell 69: kind 1 dato1 0"}, {}},
      {"right after the end: the end cell is occupied, the cell before it is not",
       {{57, kSignal}},
       {"cell 55: kind 12 dato1 180", end, "cell 57: kind 1 dato1 0"},
       {}},
      {"front cell occupied",
       {{60, kSignal}, {59, kSpeedBoard}},
       {end, "cell 58: kind 12 dato1 180", "cell 59: kind 6 dato1 0", signal_60},
       {}},
      {"both front cells occupied",
       {{60, kSignal}, {59, kSpeedBoard}, {58, kSpeedBoard}},
       {end, "cell 58: kind 6 dato1 0", "cell 59: kind 6 dato1 0", signal_60},
       {{13, 2800}}},
      {"an existing marker is never lowered",
       {{60, kSignal}, {59, kAbbattimento, 200}, {58, kSpeedBoard}},
       {end, "cell 58: kind 6 dato1 0", "cell 59: kind 12 dato1 200", signal_60},
       {{13, 2800}}},
      {"only the first signal",
       {{60, kSignal}, {64, kSignal}},
       {end, "cell 59: kind 12 dato1 180", signal_60, "cell 64: kind 1 dato1 0"},
       {}},
  };
  for (const Row& row : rows) {
    reset();
    slowdown(50, 56, kSlow);
    put_all(row.after);
    run_post_processing(ctx);
    EXPECT_EQ(objects(55, 70), row.expected) << row.name;
    EXPECT_EQ(errors(), row.errors) << row.name;
    // The error names the slowdown end, not the signal.
    if (!row.errors.empty()) {
      EXPECT_EQ(ctx.trail.recordings.back().cell, 56) << row.name;
    }
  }
}

TEST_F(PostProcessingTest, SlowdownOf110OrMoreGetsNoSignalMarkerAfterItsEnd) {
  slowdown(50, 56, 110);
  put({60, kSignal});
  run_post_processing(ctx);
  EXPECT_EQ(markers(51, kLastCell), std::vector<int32_t>{});
}

// The ends of the row: the walk and the search stop at the last cell.
TEST_F(PostProcessingTest, WalkWithoutAnEndStopsAtTheLastCell) {
  put({190, kSlowdownStart, kSlow});
  run_post_processing(ctx);
  EXPECT_EQ(markers(191, kLastCell), (std::vector<int32_t>{198}));
  ASSERT_EQ(errors(), (std::vector<Error>{{13, 10000}}));
  EXPECT_EQ(ctx.trail.recordings[0].cell, kLastCell);
  EXPECT_EQ(ctx.trail.recordings[0].reason, Reason::walk_reached_row_end);
}

TEST_F(PostProcessingTest, WalkDueOnTheLastCellTreatsTheCellBeyondAsOccupied) {
  put({192, kSlowdownStart, kSlow});
  block({199, kLastCell});
  run_post_processing(ctx);
  EXPECT_EQ(markers(193, kLastCell), std::vector<int32_t>{});
  EXPECT_EQ(errors(), (std::vector<Error>{{13, 10000}, {13, 10000}}));
  EXPECT_EQ(ctx.trail.recordings[0].reason, Reason::none);
  EXPECT_EQ(ctx.trail.recordings[1].reason, Reason::walk_reached_row_end);
}

TEST_F(PostProcessingTest, WalkThatReachedTheLastCellSearchesForASignalThere) {
  put({195, kSlowdownStart, kSlow});
  put({kLastCell, kSignal});
  run_post_processing(ctx);
  EXPECT_EQ(markers(196, kLastCell), (std::vector<int32_t>{199}));
  EXPECT_EQ(errors(), (std::vector<Error>{{13, 10000}}));
}

TEST_F(PostProcessingTest, SearchAfterAnEndNearTheLastCellStopsThere) {
  slowdown(190, 195, kSlow);
  put({kLastCell, kSignal});
  run_post_processing(ctx);
  EXPECT_EQ(markers(191, kLastCell), (std::vector<int32_t>{199}));
  EXPECT_TRUE(ctx.trail.recordings.empty());
}

TEST_F(PostProcessingTest, CellZeroAndTheLastTwoCellsAreNeverVisited) {
  put({0, kSlowdownStart, kSlow});
  put({199, kSlowdownStart, kSlow});
  put({kLastCell, kSlowdownWarning, kSlow});
  put({196, kSignal});
  run_post_processing(ctx);
  EXPECT_EQ(markers(), std::vector<int32_t>{});
  EXPECT_TRUE(ctx.trail.recordings.empty());
}

TEST(PostProcessingRowTest, ShortOrMissingRowsAreSafe) {
  for (int32_t size = 0; size <= 4; ++size) {
    BuildContext ctx;
    ctx.percorso.resize(size);
    for (cella& c : ctx.percorso) c.oggetto = kSlowdownStart;
    run_post_processing(ctx);
    // Only a row of cells 0 to 3 visits a cell (cell 1), whose walk finds no end.
    EXPECT_EQ(ctx.trail.recordings.size(), size == 4 ? 1u : 0u) << size << " cells";
  }
}

// Recorded errors: the last one stays; each names its slowdown when known.
TEST_F(PostProcessingTest, SeveralErrorsLeaveTheLastInCodiceErrore) {
  ctx.posizione_errore = 123;
  put({30, kSlowdownWarning, kSlow});  // error 11 for the signal in 20
  put({20, kSignal});
  block({18, 19});
  block({55, 56, 57});  // error 12 for the start in 62
  slowdown(62, 120, kSlow);
  block({69, 70, 71});  // error 13 on the walk, at cell 70
  run_post_processing(ctx);
  EXPECT_EQ(errors(), (std::vector<Error>{{11, 1000}, {12, 3100}, {13, 3500}}));
  EXPECT_EQ(ctx.codice_errore, 13);
  EXPECT_EQ(ctx.posizione_errore, 3500);
}

TEST_F(PostProcessingTest, ErrorsNameTheSlowdownTheyBelongTo) {
  const SourceLocation first{SourceFile::train, 72, 1};
  const SourceLocation second{SourceFile::train, 73, 1};
  ctx.trail.rallentamenti = {{2450, 50, 26, first}, {9999, 50, -1, second}, {3000, 61, 37, second}};
  put({26, kSlowdownWarning, kSlow});
  put({20, kSignal});
  block({18, 19});
  block({43, 44, 45});
  slowdown(50, 52, kFast);
  run_post_processing(ctx);
  ASSERT_EQ(errors(), (std::vector<Error>{{11, 1000}, {12, 2500}}));
  const Recording& at_warning = ctx.trail.recordings[0];
  EXPECT_TRUE(at_warning.has_slowdown);
  EXPECT_EQ(at_warning.slowdown_x, 2450);
  EXPECT_EQ(at_warning.where.line, 72);
  // Two records claim start cell 50: the last one wins.
  const Recording& at_start = ctx.trail.recordings[1];
  EXPECT_TRUE(at_start.has_slowdown);
  EXPECT_EQ(at_start.slowdown_x, 9999);
  EXPECT_EQ(at_start.where.file, SourceFile::train);
  EXPECT_EQ(at_start.where.line, 73);
}

TEST_F(PostProcessingTest, AMarkerChangesOnlyKindAndValue) {
  cella& target = ctx.percorso[95];
  target.oggetto = kTunnelLight;
  target.dato1 = 7;
  target.dato2 = -3;
  target.dato3 = 4;
  target.dato4 = 5;
  target.tempo_segnale = 101;
  target.preavviso = 83;
  target.montagna = 1;
  target.velocita = 24;
  target.pendenza = 108;
  target.aderenza = 9;
  slowdown(100, 102, kFast);
  run_post_processing(ctx);
  const cella& after = ctx.percorso[95];
  EXPECT_EQ(after.oggetto, kAbbattimento);
  EXPECT_EQ(after.dato1, 180);
  EXPECT_EQ(after.dato2, -3);
  EXPECT_EQ(after.dato3, 4);
  EXPECT_EQ(after.dato4, 5);
  EXPECT_EQ(after.tempo_segnale, 101);
  EXPECT_EQ(after.preavviso, 83);
  EXPECT_EQ(after.montagna, 1);
  EXPECT_EQ(after.velocita, 24);
  EXPECT_EQ(after.pendenza, 108);
  EXPECT_EQ(after.aderenza, 9);
}

// The two built-in slowdowns as the stamper leaves them, starts at 24950 and 141400.
TEST_F(PostProcessingTest, BuiltInSlowdowns) {
  ctx.percorso.resize(5001);
  auto stamp = [&](int32_t c, uint8_t kind, int16_t dato1, int16_t dato2) {
    put({c, kind, dato1});
    ctx.percorso[c].dato2 = dato2;
  };
  stamp(476, kSlowdownWarning, 60, 60);
  stamp(500, kSlowdownStart, 60, 60);
  stamp(504, kSlowdownEnd, 60, 60);
  for (int16_t i = 1; i <= 4; ++i) stamp(2805 - i, kCountdownMarker, i, 0);
  stamp(2805, kSlowdownWarning, 60, 0);
  stamp(2829, kSlowdownStart, 60, 0);
  stamp(2862, kSlowdownEnd, 60, 0);
  for (int32_t c = 2834; c <= 2858; c += 4) put({c, kTunnelLight});  // the mountain from 141550
  ctx.trail.rallentamenti = {{24950, 500, 476, {}}, {141400, 2829, 2805, {}}};

  run_post_processing(ctx);

  EXPECT_EQ(objects(1, 2000), (std::vector<std::string>{
                                  "cell 476: kind 4 dato1 60",
                                  "cell 482: kind 12 dato1 180",
                                  "cell 489: kind 12 dato1 180",
                                  "cell 495: kind 12 dato1 180",
                                  "cell 500: kind 3 dato1 60",
                                  "cell 504: kind 2 dato1 60",
                              }));
  EXPECT_EQ(objects(2000, 5000), (std::vector<std::string>{
                                     "cell 2801: kind 5 dato1 4",    "cell 2802: kind 5 dato1 3",
                                     "cell 2803: kind 5 dato1 2",    "cell 2804: kind 5 dato1 1",
                                     "cell 2805: kind 4 dato1 60",   "cell 2811: kind 12 dato1 180",
                                     "cell 2818: kind 12 dato1 180", "cell 2824: kind 12 dato1 180",
                                     "cell 2829: kind 3 dato1 60",   "cell 2834: kind 11 dato1 0",
                                     "cell 2837: kind 12 dato1 180", "cell 2838: kind 11 dato1 0",
                                     "cell 2842: kind 11 dato1 0",   "cell 2845: kind 12 dato1 180",
                                     "cell 2846: kind 11 dato1 0",   "cell 2850: kind 11 dato1 0",
                                     "cell 2853: kind 12 dato1 180", "cell 2854: kind 11 dato1 0",
                                     "cell 2858: kind 11 dato1 0",   "cell 2861: kind 12 dato1 180",
                                     "cell 2862: kind 2 dato1 60",
                                 }));
  EXPECT_EQ(ctx.codice_errore, 0);
  EXPECT_TRUE(ctx.trail.recordings.empty());
}

}  // namespace
}  // namespace scenario
