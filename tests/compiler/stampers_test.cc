// The stampers and the chainage sort, on a hand-made cell row.
#include "compiler/stampers.h"

#include <gtest/gtest.h>

#include <array>

#include "base/run_time_failure.h"
#include "compiler/scenario_records.h"

namespace scenario {
namespace {

// The record the stampers are told placed their objects.
constexpr SourceLocation kRecord{SourceFile::train, 7, 1};

BuildContext row_of(int32_t last_cell) {
  BuildContext ctx;
  ctx.percorso.assign(static_cast<size_t>(last_cell) + 1, cella{});
  return ctx;
}

using Triple = std::array<int32_t, 3>;

TEST(ProgressiveOrdinaTest, SortsTheThreeReferences) {
  struct Case {
    Triple tre, due, uno;         // entries 81, 82, 83 as read
    Triple first, second, third;  // entries 81, 82, 83 after the sort
  } cases[] = {
      {{0, 0, 0}, {0, 0, 0}, {0, 350000, 1}, {0, 350100, 1}, {0, 0, 0}, {0, 0, 0}},
      {{1000, 1, 0}, {5000, 2, 0}, {3000, 3, 0}, {5000, 2, 0}, {3000, 3, 0}, {1000, 1, 0}},
      {{5000, 1, 0}, {5000, 2, 0}, {0, 3, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}},
      {{9000, 1, 0}, {2000, 2, 0}, {2000, 3, 0}, {9000, 1, 0}, {2000, 3, 0}, {2000, 2, 0}},
      {{2000, 1, 1}, {9000, 2, 0}, {2000, 3, 0}, {9000, 2, 0}, {2000, 3, 0}, {2000, 101, 1}},
      {{1000, 1, 0}, {2000, 2, 0}, {9000, 3, 0}, {9000, 3, 0}, {2000, 2, 0}, {1000, 1, 0}},
      {{0, 5, 0}, {0, 6, 0}, {0, 0, 0}, {0, 6, 0}, {0, 5, 0}, {0, 0, 0}},
      {{0, 5, 1}, {0, 0, 0}, {0, 0, 0}, {0, 105, 1}, {0, 0, 0}, {0, 0, 0}},
  };
  for (const Case& c : cases) {
    BuildContext ctx;
    const Triple* read[] = {&c.tre, &c.due, &c.uno};
    for (int i = 0; i < 3; ++i) {
      ctx.tabella[kEntryRefTre + i].valore1 = (*read[i])[0];
      ctx.tabella[kEntryRefTre + i].valore2 = (*read[i])[1];
      ctx.tabella[kEntryRefTre + i].valore3 = (*read[i])[2];
    }
    progressive_ordina(ctx);
    const Triple* expected[] = {&c.first, &c.second, &c.third};
    for (int i = 0; i < 3; ++i) {
      const voce& e = ctx.tabella[kEntryRefTre + i];
      EXPECT_EQ((Triple{e.valore1, e.valore2, e.valore3}), *expected[i])
          << "case starting " << c.tre[0] << "," << c.due[0] << "," << c.uno[0] << " entry " << i;
    }
  }
}

TEST(MemoMontagnaTest, TypeCellsAndTunnelLights) {
  BuildContext ctx = row_of(5000);
  memo_montagna(ctx, 141550, 143050, 11, kRecord);
  for (int c = 2825; c <= 2865; ++c) {
    const bool inside = c >= 2831 && c <= 2860;
    EXPECT_EQ(ctx.percorso[c].montagna, inside ? 1 : 0) << c;
    const bool light = inside && (c - 2831 + 1) % 4 == 0;
    EXPECT_EQ(ctx.percorso[c].oggetto, light ? kTunnelLight : kNoObject) << c;
  }
  EXPECT_EQ(ctx.percorso[2834].oggetto, kTunnelLight);
  EXPECT_EQ(ctx.percorso[2858].oggetto, kTunnelLight);
}

TEST(MemoMontagnaTest, CloseStretchIsForcedToType3) {
  BuildContext ctx = row_of(5000);
  memo_montagna(ctx, 1000, 2000, 5, kRecord);
  memo_montagna(ctx, 2150, 3000, 6, kRecord);  // 150 m after the previous end
  memo_montagna(ctx, 3200, 4000, 7, kRecord);  // 200 m after
  EXPECT_EQ(ctx.percorso[20].montagna, 5);
  EXPECT_EQ(ctx.percorso[43].montagna, 3);
  EXPECT_EQ(ctx.percorso[64].montagna, 7);
  EXPECT_EQ(ctx.montagne.numero_montagne, 3);
}

TEST(MemoMontagnaTest, LightsOnlyInEmptyCellsAndNothingOutsideTheRow) {
  BuildContext ctx = row_of(100);
  ctx.percorso[63].oggetto = kSignal;
  memo_montagna(ctx, 3000, 20000, 12, kRecord);  // runs past the last cell
  EXPECT_EQ(ctx.percorso[63].oggetto, kSignal);
  EXPECT_EQ(ctx.percorso[67].oggetto, kTunnelLight);
  EXPECT_EQ(ctx.percorso[100].montagna, 2);
  memo_montagna(ctx, -2000, 100, 1,
                kRecord);  // starts before cell 0, and before the last end: type 3
  EXPECT_EQ(ctx.percorso[0].montagna, 3);
}

TEST(MemoMontagnaTest, TheListGrowsPast80Stretches) {
  BuildContext ctx = row_of(5000);
  for (int i = 0; i < 200; ++i) memo_montagna(ctx, 1000 * i, 1000 * i + 500, 1, kRecord);
  EXPECT_EQ(ctx.montagne.numero_montagne, 200);
  EXPECT_EQ(ctx.montagne.fine_montagne[200], 199500);
}

TEST(MemoIndicatoriVMaxTest, PacksBothSides) {
  BuildContext ctx = row_of(5000);
  EXPECT_EQ(memo_indicatori_v_max(ctx, {700, 100, 110, 115, 0, 100, 110, 115, 0}, kRecord).code, 0);
  const cella& board = ctx.percorso[15];
  EXPECT_EQ(board.oggetto, kSpeedBoard);
  EXPECT_EQ(board.dato1, 2020);
  EXPECT_EQ(board.dato2, 2222);
  EXPECT_EQ(board.dato3, 2323);
  EXPECT_EQ(board.dato4, 0);

  EXPECT_EQ(memo_indicatori_v_max(ctx, {143500, 60, 70, 75, 2, 0, 0, 0, 0}, kRecord).code, 0);
  const cella& left_only = ctx.percorso[2871];
  EXPECT_EQ(left_only.dato1, 1200);
  EXPECT_EQ(left_only.dato2, 1400);
  EXPECT_EQ(left_only.dato3, 1500);
  EXPECT_EQ(left_only.dato4, 20);
}

TEST(MemoIndicatoriVMaxTest, OccupiedCellAndOverflow) {
  BuildContext ctx = row_of(5000);
  ctx.percorso[15].oggetto = kSignal;
  const StampResult taken =
      memo_indicatori_v_max(ctx, {700, 100, 110, 115, 0, 0, 0, 0, 0}, kRecord);
  EXPECT_EQ(taken.code, 21);
  EXPECT_EQ(taken.cell, 15);
  EXPECT_EQ(taken.occupant, kSignal);
  ctx.percorso[15].oggetto = kTunnelLight;
  EXPECT_EQ(memo_indicatori_v_max(ctx, {700, 100, 110, 115, 0, 0, 0, 0, 0}, kRecord).code, 0);
  EXPECT_THROW(memo_indicatori_v_max(ctx, {800, 2000, 0, 0, 0, 0, 0, 0, 0}, kRecord),
               RunTimeFailure);
  EXPECT_EQ(ctx.percorso[17].oggetto, kNoObject);  // checked before any write
}

TEST(MemoSegnaleTest, SignalAndApproachMarks) {
  const struct {
    SignalValues signal;
    size_t cell;
    int16_t dato1, dato2, dato3, dato4;
    uint8_t mark;  // sx x 3 + dx, times 10: the cell 2 x b before holds mark + b
  } rows[] = {
      {{1650, 2, 4, 0, 0, 0, 2, 1, 0, 0, 0}, 34, 41, 0, 0, 8, 80},
      // dato4 = rapp x 10 + sx x 3 + dx = 30 + 6 + 2; the marks leave rapp out.
      {{5000, 2, 4, 1, 1, 3, 2, 2, 1, 1, 0}, 101, 42, 11, 11, 38, 80},
      {{2000, 1, 3, 4, 0, 7, 0, 0, 0, 0, 0}, 41, 30, 40, 0, 73, 30},
      // 4000 x 10 + 8 = 40008 keeps its low 16 bits: 40008 - 65536.
      {{3000, 2, 5, 1, 0, 4000, 2, 3, 1, 0, 0}, 61, 53, 11, 0, -25528, 80},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.signal.posizione);
    BuildContext ctx = row_of(5000);
    ASSERT_EQ(memo_segnale(ctx, row.signal, kRecord).code, 0);
    const cella& signal = ctx.percorso[row.cell];
    EXPECT_EQ(signal.oggetto, kSignal);
    EXPECT_EQ(signal.dato1, row.dato1);
    EXPECT_EQ(signal.dato2, row.dato2);
    EXPECT_EQ(signal.dato3, row.dato3);
    EXPECT_EQ(signal.dato4, row.dato4);
    EXPECT_EQ(signal.tempo_segnale, 0);
    for (int b = 1; b <= 4; ++b) EXPECT_EQ(ctx.percorso[row.cell - 2 * b].preavviso, row.mark + b);
    EXPECT_EQ(ctx.percorso[row.cell - 1].preavviso, 0);
    EXPECT_EQ(ctx.percorso[row.cell - 9].preavviso, 0);
  }
}

TEST(MemoSegnaleTest, Tempo) {
  struct Case {
    int32_t sx, tempo;
    uint8_t kept;
  } cases[] = {{2, 50, 101},  {2, 0, 0},  {2, 101, 101}, {2, 1, 101}, {2, 100, 101},
               {2, 220, 220}, {1, 50, 0}, {0, 120, 0},   {2, 300, 44}};
  for (const Case& c : cases) {
    BuildContext ctx = row_of(5000);
    memo_segnale(ctx, {5000, c.sx, 1, 0, 0, 0, 0, 0, 0, 0, c.tempo}, kRecord);
    EXPECT_EQ(ctx.percorso[101].tempo_segnale, c.kept) << c.sx << " " << c.tempo;
  }
}

TEST(MemoSegnaleTest, ReplacesATunnelLightAndFailsOnABoard) {
  BuildContext ctx = row_of(5000);
  ctx.percorso[34].oggetto = kTunnelLight;
  EXPECT_EQ(memo_segnale(ctx, {1650, 2, 4, 0, 0, 0, 2, 1, 0, 0, 0}, kRecord).code, 0);
  EXPECT_EQ(ctx.percorso[34].oggetto, kSignal);
  ctx.percorso[40].oggetto = kSpeedBoard;
  EXPECT_EQ(memo_segnale(ctx, {1950, 2, 4, 0, 0, 0, 2, 1, 0, 0, 0}, kRecord).code, 16);
  EXPECT_EQ(ctx.percorso[38].preavviso, 0);
}

TEST(MemoSegnaleTest, MarksBeforeCellZeroAreLeftOut) {
  BuildContext ctx = row_of(100);
  EXPECT_EQ(memo_segnale(ctx, {100, 2, 4, 0, 0, 0, 0, 0, 0, 0, 0}, kRecord).code, 0);
  EXPECT_EQ(ctx.percorso[1].preavviso, 61);
  EXPECT_EQ(ctx.percorso[3].oggetto, kSignal);
  // A signal before the route's start has no cell: it counts as occupied.
  const StampResult before = memo_segnale(ctx, {-500, 2, 4, 0, 0, 0, 0, 0, 0, 0, 0}, kRecord);
  EXPECT_EQ(before.code, 16);
  EXPECT_EQ(before.occupant, kNoObject);
}

TEST(MemoRallentamentoTest, WarningStartAndEnd) {
  BuildContext ctx = row_of(5000);
  ASSERT_EQ(memo_rallentamento(ctx, {24950, 60, 200, 0, 0, 60}, kRecord).code, 0);
  for (int c : {476, 500, 504}) {
    EXPECT_EQ(ctx.percorso[c].dato1, 60) << c;
    EXPECT_EQ(ctx.percorso[c].dato2, 60) << c;
  }
  EXPECT_EQ(ctx.percorso[476].oggetto, kSlowdownWarning);
  EXPECT_EQ(ctx.percorso[500].oggetto, kSlowdownStart);
  EXPECT_EQ(ctx.percorso[504].oggetto, kSlowdownEnd);
  EXPECT_EQ(ctx.percorso[475].oggetto, kNoObject);
}

TEST(MemoRallentamentoTest, CountdownMarkers) {
  const struct {
    SlowdownValues slowdown;
    size_t warning, start, end;
    int16_t dato2;  // of the warning, start and end cells
    bool numbered;  // the countdown's dato2 repeats its number
  } rows[] = {
      {{141400, 60, 1650, 0, 1, 0}, 2805, 2829, 2862, 0, false},
      {{168900, 40, 200, 1, 1, 40}, 3355, 3379, 3383, 40, true},
      {{10000, 30, 400, 0, 1, 25}, 177, 201, 209, 25, true},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.slowdown.x);
    BuildContext ctx = row_of(5000);
    ASSERT_EQ(memo_rallentamento(ctx, row.slowdown, kRecord).code, 0);
    const std::array<size_t, 3> cells = {row.warning, row.start, row.end};
    const std::array<uint8_t, 3> kinds = {kSlowdownWarning, kSlowdownStart, kSlowdownEnd};
    for (size_t k = 0; k < 3; ++k) {
      const cella& c = ctx.percorso[cells[k]];
      EXPECT_EQ(c.oggetto, kinds[k]) << cells[k];
      EXPECT_EQ(c.dato1, row.slowdown.v) << cells[k];
      EXPECT_EQ(c.dato2, row.dato2) << cells[k];
      EXPECT_EQ(c.dato3, k == 0 ? 0 : row.slowdown.f_tt) << cells[k];
    }
    for (int i = 0; i < 4; ++i) {
      const cella& marker = ctx.percorso[row.warning - 1 - i];
      EXPECT_EQ(marker.oggetto, kCountdownMarker);
      EXPECT_EQ(marker.dato1, i + 1);
      EXPECT_EQ(marker.dato2, row.numbered ? i + 1 : 0);
    }
    EXPECT_EQ(ctx.percorso[row.warning - 5].oggetto, kNoObject);
  }
}

TEST(MemoRallentamentoTest, EarlyAndEmptySlowdowns) {
  BuildContext at_1500 = row_of(5000);
  ASSERT_EQ(memo_rallentamento(at_1500, {1500, 30, 500, 1, 1, 0}, kRecord).code, 0);
  for (int c = 0; c < 31; ++c) EXPECT_EQ(at_1500.percorso[c].oggetto, kNoObject) << c;
  EXPECT_EQ(at_1500.percorso[31].oggetto, kSlowdownStart);
  EXPECT_EQ(at_1500.percorso[31].dato3, 1);
  EXPECT_EQ(at_1500.percorso[41].oggetto, kSlowdownEnd);

  BuildContext zero = row_of(5000);
  ASSERT_EQ(memo_rallentamento(zero, {5000, 30, 0, 0, 0, 0}, kRecord).code, 0);
  EXPECT_EQ(zero.percorso[101].oggetto, kSlowdownStart);
}

TEST(MemoRallentamentoTest, OccupiedCells) {
  struct Case {
    int64_t taken;
    int32_t code;
  } cases[] = {{476, 17}, {500, 18}, {504, 19}, {475, 20}, {472, 20}};
  for (const Case& c : cases) {
    BuildContext ctx = row_of(5000);
    ctx.percorso[c.taken].oggetto = kSignal;
    const StampResult result = memo_rallentamento(ctx, {24950, 60, 200, 0, 1, 0}, kRecord);
    EXPECT_EQ(result.code, c.code) << c.taken;
    EXPECT_EQ(result.cell, c.taken);
    const bool placed = c.code == 20;
    EXPECT_EQ(ctx.percorso[500].oggetto == kSlowdownStart, placed) << c.taken;
    EXPECT_EQ(ctx.percorso[c.taken].oggetto, kSignal);
  }
}

TEST(MemoRallentamentoTest, EndBeyondTheRowIsRejected) {
  BuildContext ctx = row_of(100);
  const StampResult result = memo_rallentamento(ctx, {4000, 30, 2000, 0, 0, 0}, kRecord);
  EXPECT_EQ(result.code, 19);
  EXPECT_EQ(result.cell, 121);
  for (const cella& c : ctx.percorso) EXPECT_EQ(c.oggetto, kNoObject);
}

}  // namespace
}  // namespace scenario
