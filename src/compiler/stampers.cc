#include "compiler/stampers.h"

#include <algorithm>
#include <array>

#include "base/rounding.h"
#include "compiler/cells.h"

namespace scenario {
namespace {

struct Reference {
  int32_t valore1 = 0, valore2 = 0, valore3 = 0;
};

Reference reference_of(const voce& e) { return {e.valore1, e.valore2, e.valore3}; }

using ReferenceOrder = std::array<Reference, 3>;

// Step 1 of the sort: by starting position, largest first; a tie for the
// largest clears all three.
ReferenceOrder order_by_position(const Reference& e81, const Reference& e82, const Reference& e83) {
  if (e81.valore1 > e82.valore1 && e81.valore1 > e83.valore1) {
    return e82.valore1 > e83.valore1 ? ReferenceOrder{e81, e82, e83}
                                     : ReferenceOrder{e81, e83, e82};
  }
  if (e82.valore1 > e81.valore1 && e82.valore1 > e83.valore1) {
    return e81.valore1 > e83.valore1 ? ReferenceOrder{e82, e81, e83}
                                     : ReferenceOrder{e82, e83, e81};
  }
  if (e83.valore1 > e81.valore1 && e83.valore1 > e82.valore1) {
    return e81.valore1 > e82.valore1 ? ReferenceOrder{e83, e81, e82}
                                     : ReferenceOrder{e83, e82, e81};
  }
  return {};
}

// Step 2: all starting positions sum to 0; the last reference with a chainage
// above 0 decides the order.
ReferenceOrder order_by_chainage(const Reference& e81, const Reference& e82, const Reference& e83) {
  ReferenceOrder order{};
  if (e81.valore2 > 0) order = {e81, e82, e83};
  if (e82.valore2 > 0) order = {e82, e81, e83};
  if (e83.valore2 > 0) order = {e83, e82, e81};
  return order;
}

StampResult occupied(const BuildContext& ctx, int32_t code, int64_t c) {
  return {code, c, ctx.in_row(c) ? ctx.percorso[c].oggetto : uint8_t{0}};
}

}  // namespace

void progressive_ordina(BuildContext& ctx) {
  const Reference e81 = reference_of(ctx.tabella[kEntryRefTre]);
  const Reference e82 = reference_of(ctx.tabella[kEntryRefDue]);
  const Reference e83 = reference_of(ctx.tabella[kEntryRefUno]);
  const int64_t sum = int64_t{e81.valore1} + e82.valore1 + e83.valore1;
  const ReferenceOrder order =
      sum != 0 ? order_by_position(e81, e82, e83) : order_by_chainage(e81, e82, e83);
  for (int i = 0; i < 3; ++i) {
    voce& e = ctx.tabella[kEntryRefTre + i];
    e.valore1 = order[i].valore1;
    e.valore2 = order[i].valore2;
    e.valore3 = order[i].valore3;
    if (e.valore3 == 1) e.valore2 = add32(e.valore2, 100);
  }
}

void memo_montagna(BuildContext& ctx, int32_t inizio, int32_t fine, int32_t tipo,
                   const SourceLocation& where) {
  const bool tunnel_lights = tipo > 10;
  if (tunnel_lights) tipo -= 10;
  MountainList& list = ctx.montagne;
  const int32_t k = ++list.numero_montagne;
  if (static_cast<size_t>(k) >= list.inizio_montagne.size()) {
    list.inizio_montagne.resize(static_cast<size_t>(k) + 1);
    list.fine_montagne.resize(static_cast<size_t>(k) + 1);
  }
  list.inizio_montagne[k] = inizio;
  list.fine_montagne[k] = fine;
  if (k > 1 && int64_t{inizio} - list.fine_montagne[k - 1] <= 150) tipo = 3;

  const int64_t first = cell_before(inizio);
  const int64_t last = cell_two_before(fine);
  for (int64_t c = std::max<int64_t>(first, 0); c <= std::min<int64_t>(last, ctx.last_cell());
       ++c) {
    ctx.percorso[c].montagna = low8(tipo);
    const int64_t j = c - first + 1;
    if (tunnel_lights && j % 4 == 0 && ctx.percorso[c].oggetto == kNoObject) {
      ctx.place(c, kTunnelLight, where, inizio);
    }
  }
}

StampResult memo_indicatori_v_max(BuildContext& ctx, const SpeedBoardValues& b,
                                  const SourceLocation& where) {
  const int64_t c = cell_of(b.posizione);
  if (!ctx.is_free(c)) return occupied(ctx, 21, c);
  const int16_t dato1 = round_to_int16(mul32(b.vas, 20) + b.vad / 5.0);
  const int16_t dato2 = round_to_int16(mul32(b.vbs, 20) + b.vbd / 5.0);
  const int16_t dato3 = round_to_int16(mul32(b.vcs, 20) + b.vcd / 5.0);
  const int16_t dato4 = low16(add32(mul32(b.strisces, 10), b.strisced));
  ctx.place(c, kSpeedBoard, where, b.posizione);
  cella& cell = ctx.percorso[c];
  cell.dato1 = dato1;
  cell.dato2 = dato2;
  cell.dato3 = dato3;
  cell.dato4 = dato4;
  return {};
}

StampResult memo_segnale(BuildContext& ctx, const SignalValues& s, const SourceLocation& where) {
  const int64_t c = cell_of(s.posizione);
  if (!ctx.is_free(c)) return occupied(ctx, 16, c);
  const int32_t sides = add32(mul32(s.sx, 3), s.dx);
  const int16_t dato4 = low16(add32(mul32(s.rapp, 10), sides));
  const int16_t dato1 = low16(add32(mul32(s.s1, 10), s.d1));
  const int16_t dato2 = low16(add32(mul32(s.s2, 10), s.d2));
  const int16_t dato3 = low16(add32(mul32(s.s3, 10), s.d3));
  const int32_t tempo = s.tempo >= 1 && s.tempo <= 100 ? 101 : s.tempo;
  const int32_t mark_base = mul32(sides, 10);

  ctx.place(c, kSignal, where, s.posizione);
  cella& cell = ctx.percorso[c];
  cell.dato4 = dato4;
  cell.dato1 = dato1;
  cell.dato2 = dato2;
  cell.dato3 = dato3;
  cell.tempo_segnale = s.sx == 2 ? low8(tempo) : 0;
  for (int b = 1; b <= 4; ++b) {
    const int64_t mark = c - 2 * b;
    if (ctx.in_row(mark)) ctx.percorso[mark].preavviso = low8(add32(mark_base, b));
  }
  return {};
}

StampResult memo_rallentamento(BuildContext& ctx, const SlowdownValues& r,
                               const SourceLocation& where) {
  const int32_t before = sub32(r.x, 1200);
  const int64_t warning = cell_of(before);
  const int64_t start = cell_of(r.x);
  const int64_t end = cell_of(add32(r.x, r.l));
  const int64_t h = cell_before(before);
  const bool has_warning = r.x > 1500;
  const bool countdown = has_warning && r.f_ta != 0;

  if (has_warning && !ctx.is_free(warning)) return occupied(ctx, 17, warning);
  if (!ctx.is_free(start)) return occupied(ctx, 18, start);
  if (!ctx.is_free(end)) return occupied(ctx, 19, end);

  const int16_t v = low16(r.v);
  const int16_t d_v = low16(r.d_v);
  const int16_t f_tt = low16(r.f_tt);
  std::vector<cella>& row = ctx.percorso;
  ctx.place(end, kSlowdownEnd, where, r.x);
  if (r.d_v != 0) row[end].dato2 = d_v;
  ctx.place(start, kSlowdownStart, where, r.x);
  if (r.d_v != 0) row[start].dato2 = d_v;
  if (has_warning) {
    ctx.place(warning, kSlowdownWarning, where, r.x);
    if (r.d_v != 0) row[warning].dato2 = d_v;
    row[warning].dato1 = v;
  }
  row[start].dato1 = v;
  row[end].dato1 = v;
  row[start].dato3 = f_tt;
  row[end].dato3 = f_tt;

  if (!countdown) return {};
  for (int i = 0; i < 4; ++i) {
    if (!ctx.is_free(h - i)) return occupied(ctx, 20, h - i);
  }
  for (int i = 0; i < 4; ++i) {
    ctx.place(h - i, kCountdownMarker, where, r.x);
    row[h - i].dato1 = static_cast<int16_t>(i + 1);
    if (r.d_v != 0) row[h - i].dato2 = static_cast<int16_t>(i + 1);
  }
  return {};
}

}  // namespace scenario
