// The stampers and the chainage sort, on a hand-made cell row.
#include "compiler/stampers.h"

#include <gtest/gtest.h>

#include <array>

#include "base/run_time_failure.h"
#include "compiler/scenario_records.h"

namespace scenario {
namespace {

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
  memo_montagna(ctx, 141550, 143050, 11);
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
  memo_montagna(ctx, 1000, 2000, 5);
  memo_montagna(ctx, 2150, 3000, 6);  // 150 m after the previous end
  memo_montagna(ctx, 3200, 4000, 7);  // 200 m after
  EXPECT_EQ(ctx.percorso[20].montagna, 5);
  EXPECT_EQ(ctx.percorso[43].montagna, 3);
  EXPECT_EQ(ctx.percorso[64].montagna, 7);
  EXPECT_EQ(ctx.montagne.numero_montagne, 3);
}

TEST(MemoMontagnaTest, LightsOnlyInEmptyCellsAndNothingOutsideTheRow) {
  BuildContext ctx = row_of(100);
  ctx.percorso[63].oggetto = kSignal;
  memo_montagna(ctx, 3000, 20000, 12);  // runs past the last cell
  EXPECT_EQ(ctx.percorso[63].oggetto, kSignal);
  EXPECT_EQ(ctx.percorso[67].oggetto, kTunnelLight);
  EXPECT_EQ(ctx.percorso[100].montagna, 2);
  memo_montagna(ctx, -2000, 100, 1);  // starts before cell 0, and before the last end: type 3
  EXPECT_EQ(ctx.percorso[0].montagna, 3);
}

TEST(MemoMontagnaTest, TheListGrowsPast80Stretches) {
  BuildContext ctx = row_of(5000);
  for (int i = 0; i < 200; ++i) memo_montagna(ctx, 1000 * i, 1000 * i + 500, 1);
  EXPECT_EQ(ctx.montagne.numero_montagne, 200);
  EXPECT_EQ(ctx.montagne.fine_montagne[200], 199500);
}

TEST(MemoIndicatoriVMaxTest, PacksBothSides) {
  BuildContext ctx = row_of(5000);
  EXPECT_EQ(memo_indicatori_v_max(ctx, {700, 100, 110, 115, 0, 100, 110, 115, 0}).code, 0);
  const cella& board = ctx.percorso[15];
  EXPECT_EQ(board.oggetto, kSpeedBoard);
  EXPECT_EQ(board.dato1, 2020);
  EXPECT_EQ(board.dato2, 2222);
  EXPECT_EQ(board.dato3, 2323);
  EXPECT_EQ(board.dato4, 0);

  EXPECT_EQ(memo_indicatori_v_max(ctx, {143500, 60, 70, 75, 2, 0, 0, 0, 0}).code, 0);
  const cella& left_only = ctx.percorso[2871];
  EXPECT_EQ(left_only.dato1, 1200);
  EXPECT_EQ(left_only.dato2, 1400);
  EXPECT_EQ(left_only.dato3, 1500);
  EXPECT_EQ(left_only.dato4, 20);
}

TEST(MemoIndicatoriVMaxTest, OccupiedCellAndOverflow) {
  BuildContext ctx = row_of(5000);
  ctx.percorso[15].oggetto = kSignal;
  const StampResult taken = memo_indicatori_v_max(ctx, {700, 100, 110, 115, 0, 0, 0, 0, 0});
  EXPECT_EQ(taken.code, 21);
  EXPECT_EQ(taken.cell, 15);
  EXPECT_EQ(taken.occupant, kSignal);
  ctx.percorso[15].oggetto = kTunnelLight;
  EXPECT_EQ(memo_indicatori_v_max(ctx, {700, 100, 110, 115, 0, 0, 0, 0, 0}).code, 0);
  EXPECT_THROW(memo_indicatori_v_max(ctx, {800, 2000, 0, 0, 0, 0, 0, 0, 0}), RunTimeFailure);
  EXPECT_EQ(ctx.percorso[17].oggetto, kNoObject);  // checked before any write
}

TEST(MemoSegnaleTest, SignalAndApproachMarks) {
  BuildContext ctx = row_of(5000);
  ASSERT_EQ(memo_segnale(ctx, {1650, 2, 4, 0, 0, 0, 2, 1, 0, 0, 0}).code, 0);
  const cella& signal = ctx.percorso[34];
  EXPECT_EQ(signal.oggetto, kSignal);
  EXPECT_EQ(signal.dato1, 41);
  EXPECT_EQ(signal.dato2, 0);
  EXPECT_EQ(signal.dato3, 0);
  EXPECT_EQ(signal.dato4, 8);
  EXPECT_EQ(signal.tempo_segnale, 0);
  EXPECT_EQ(ctx.percorso[32].preavviso, 81);
  EXPECT_EQ(ctx.percorso[30].preavviso, 82);
  EXPECT_EQ(ctx.percorso[28].preavviso, 83);
  EXPECT_EQ(ctx.percorso[26].preavviso, 84);
  EXPECT_EQ(ctx.percorso[33].preavviso, 0);
}

TEST(MemoSegnaleTest, Tempo) {
  struct Case {
    int32_t sx, tempo;
    uint8_t kept;
  } cases[] = {{2, 50, 101},  {2, 0, 0},  {2, 101, 101}, {2, 1, 101}, {2, 100, 101},
               {2, 220, 220}, {1, 50, 0}, {0, 120, 0},   {2, 300, 44}};
  for (const Case& c : cases) {
    BuildContext ctx = row_of(5000);
    memo_segnale(ctx, {5000, c.sx, 1, 0, 0, 0, 0, 0, 0, 0, c.tempo});
    EXPECT_EQ(ctx.percorso[101].tempo_segnale, c.kept) << c.sx << " " << c.tempo;
  }
}

TEST(MemoSegnaleTest, ReplacesATunnelLightAndFailsOnABoard) {
  BuildContext ctx = row_of(5000);
  ctx.percorso[34].oggetto = kTunnelLight;
  EXPECT_EQ(memo_segnale(ctx, {1650, 2, 4, 0, 0, 0, 2, 1, 0, 0, 0}).code, 0);
  EXPECT_EQ(ctx.percorso[34].oggetto, kSignal);
  ctx.percorso[40].oggetto = kSpeedBoard;
  EXPECT_EQ(memo_segnale(ctx, {1950, 2, 4, 0, 0, 0, 2, 1, 0, 0, 0}).code, 16);
  EXPECT_EQ(ctx.percorso[38].preavviso, 0);
}

TEST(MemoSegnaleTest, MarksBeforeCellZeroAreLeftOut) {
  BuildContext ctx = row_of(100);
  EXPECT_EQ(memo_segnale(ctx, {100, 2, 4, 0, 0, 0, 0, 0, 0, 0, 0}).code, 0);
  EXPECT_EQ(ctx.percorso[1].preavviso, 61);
  EXPECT_EQ(ctx.percorso[3].oggetto, kSignal);
  // A signal before the route's start has no cell: it counts as occupied.
  const StampResult before = memo_segnale(ctx, {-500, 2, 4, 0, 0, 0, 0, 0, 0, 0, 0});
  EXPECT_EQ(before.code, 16);
  EXPECT_EQ(before.occupant, kNoObject);
}

TEST(MemoRallentamentoTest, WarningStartAndEnd) {
  BuildContext ctx = row_of(5000);
  ASSERT_EQ(memo_rallentamento(ctx, {24950, 60, 200, 0, 0, 60}).code, 0);
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
  BuildContext ctx = row_of(5000);
  ASSERT_EQ(memo_rallentamento(ctx, {141400, 60, 1650, 0, 1, 0}).code, 0);
  EXPECT_EQ(ctx.percorso[2805].oggetto, kSlowdownWarning);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(ctx.percorso[2804 - i].oggetto, kCountdownMarker);
    EXPECT_EQ(ctx.percorso[2804 - i].dato1, i + 1);
    EXPECT_EQ(ctx.percorso[2804 - i].dato2, 0);
  }
  EXPECT_EQ(ctx.percorso[2829].oggetto, kSlowdownStart);
  EXPECT_EQ(ctx.percorso[2862].oggetto, kSlowdownEnd);
}

TEST(MemoRallentamentoTest, EarlyAndEmptySlowdowns) {
  BuildContext at_1500 = row_of(5000);
  ASSERT_EQ(memo_rallentamento(at_1500, {1500, 30, 500, 1, 1, 0}).code, 0);
  for (int c = 0; c < 31; ++c) EXPECT_EQ(at_1500.percorso[c].oggetto, kNoObject) << c;
  EXPECT_EQ(at_1500.percorso[31].oggetto, kSlowdownStart);
  EXPECT_EQ(at_1500.percorso[31].dato3, 1);
  EXPECT_EQ(at_1500.percorso[41].oggetto, kSlowdownEnd);

  BuildContext zero = row_of(5000);
  ASSERT_EQ(memo_rallentamento(zero, {5000, 30, 0, 0, 0, 0}).code, 0);
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
    const StampResult result = memo_rallentamento(ctx, {24950, 60, 200, 0, 1, 0});
    EXPECT_EQ(result.code, c.code) << c.taken;
    EXPECT_EQ(result.cell, c.taken);
    const bool placed = c.code == 20;
    EXPECT_EQ(ctx.percorso[500].oggetto == kSlowdownStart, placed) << c.taken;
    EXPECT_EQ(ctx.percorso[c.taken].oggetto, kSignal);
  }
}

TEST(MemoRallentamentoTest, EndBeyondTheRowIsRejected) {
  BuildContext ctx = row_of(100);
  const StampResult result = memo_rallentamento(ctx, {4000, 30, 2000, 0, 0, 0});
  EXPECT_EQ(result.code, 19);
  EXPECT_EQ(result.cell, 121);
  for (const cella& c : ctx.percorso) EXPECT_EQ(c.oggetto, kNoObject);
}

}  // namespace
}  // namespace scenario
