// The train source part of `memorizza_dati`: consist, clock, speed and
// adhesion profiles, signals, slowdowns, abbattimento records and stations,
// then the final fills and the check of the kilometric references.
#include <cstdint>
#include <utility>

#include "base/rounding.h"
#include "compiler/parse_session.h"
#include "compiler/stampers.h"

namespace scenario {
namespace {

constexpr int32_t kMarkedStationKinds = 25;  // kinds below this get a station mark

// After a stamper: its own error, or an error 15 still standing from the line
// file, ends the parse at this record.
Flow after_stamper(ParseSession& s, const StampResult& result, int32_t position) {
  if (result.code != 0) {
    return s.stop_on_cell(result.code, position, result.cell, result.occupant);
  }
  if (s.ctx.codice_errore > 0) {
    return s.stop_at(s.ctx.codice_errore, position, Reason::earlier_15_stands);
  }
  return Flow::go_on;
}

uint8_t speed_value(int32_t speed) { return round_to_uint8(speed / 5.0); }

Flow speed_record(ParseSession& s) {
  const int32_t p = s.reader().read_int32();
  const int32_t v = s.reader().read_int32();
  if (!s.inside_row(p)) return s.leave_with_15(p);
  const int32_t n = s.last_cell();
  const int64_t k = static_cast<int64_t>(round_half_even(p / 50.0));
  // Unlike the other profile fills, this one stops before the last cell, its counter too.
  if (k > 0) {
    s.fill_profile(&cella::velocita, s.cella_velocita, k, n - 1, AtBound::stop,
                   [&s] { return speed_value(s.previous_speed); });
  }
  s.previous_speed = v;
  return Flow::go_on;
}

Flow adhesion_record(ParseSession& s) {
  const int32_t p = s.reader().read_int32();
  const int32_t a = s.reader().read_int32();
  if (!s.inside_row(p)) return s.leave_with_15(p);
  const int64_t k = static_cast<int64_t>(round_half_even(p / 50.0));
  if (k > 0) {
    s.fill_profile(&cella::aderenza, s.cella_aderenza, k, s.last_cell(), AtBound::count_on,
                   [&s] { return low8(s.previous_adhesion); });
  }
  s.previous_adhesion = a;
  return Flow::go_on;
}

Flow signal_record(ParseSession& s) {
  SignalValues v;
  for (int32_t* value :
       {&v.posizione, &v.sx, &v.s1, &v.s2, &v.s3, &v.rapp, &v.dx, &v.d1, &v.d2, &v.d3, &v.tempo}) {
    *value = s.reader().read_int32();
  }
  if (!s.inside_row(v.posizione)) return s.leave_with_15(v.posizione);
  return after_stamper(s, memo_segnale(s.ctx, v), v.posizione);
}

Flow slowdown_record(ParseSession& s) {
  SlowdownValues v;
  for (int32_t* value : {&v.x, &v.v, &v.l, &v.f_tt, &v.f_ta, &v.d_v}) {
    *value = s.reader().read_int32();
  }
  if (!s.inside_row(v.x)) return s.leave_with_15(v.x);
  const StampResult result = memo_rallentamento(s.ctx, v);
  if (result.code == 0 || result.code == 20) {
    const bool has_warning = v.x > 1500;
    s.ctx.rallentamenti.push_back({v.x, static_cast<int32_t>(cell_of(v.x)),
                                   has_warning ? static_cast<int32_t>(cell_of(v.x - 1200)) : -1,
                                   s.record_location()});
  }
  return after_stamper(s, result, v.x);
}

Flow abbattimento_record(ParseSession& s) {
  BuildContext& ctx = s.ctx;
  const int32_t p = s.reader().read_int32();
  const int32_t a = s.reader().read_int32();
  if (!s.inside_row(p)) return s.leave_with_15(p);
  const int64_t c = static_cast<int64_t>(round_half_even(p / 50.0));
  if (!ctx.is_free(c)) {
    return s.stop_on_cell(7, p, c, ctx.in_row(c) ? ctx.percorso[c].oggetto : 0);
  }
  if (a > 0) {
    ctx.place(c, kAbbattimento);
    ctx.percorso[c].dato1 = low16(a);
  } else {
    ctx.place(c, kAbbattimentoNoValue);
  }
  return Flow::go_on;
}

void read_station_values(ParseSession& s, voce& e) {
  FieldReader& r = s.reader();
  e.colonna4 = r.read_uint8();
  e.colonna5 = r.read_uint8();
  e.colonna6 = r.read_uint8();
  e.colonna7 = r.read_int16();
  e.colonna8 = r.read_int16();
  e.colonna9 = r.read_uint8();
  e.colonna10 = r.read_int16();
  e.colonna11 = r.read_int16();
  e.colonna12 = r.read_int16();
  e.colonna13 = r.read_uint8();
  const int32_t hours = r.read_int32();
  const int32_t minutes = r.read_int32();
  const int32_t seconds = r.read_int32();
  e.testo = r.read_text();
  e.orario = add32(mul32(add32(mul32(hours, 60), minutes), 60), seconds);
}

void set_station_zone(voce& e, int32_t length) {
  const int32_t p = e.valore3;
  if (e.genere == 5 || e.genere == 6) {
    e.valore1 = sub32(p, length);
    e.valore2 = add32(p, 150);
    e.colonna6 = 0;
  } else if (e.genere == 7 || e.genere == 8) {
    e.valore1 = sub32(p, length);
    e.valore2 = add32(p, length);
    e.colonna6 = 0;
  } else {
    e.valore1 = round_to_int32(p - length / 2.0);
    e.valore2 = round_to_int32(p + length / 2.0 + (e.colonna6 != 0 ? 50 : 0));
  }
}

Flow station_record(ParseSession& s) {
  BuildContext& ctx = s.ctx;
  // With every entry down to 1 taken by board texts there is no entry left.
  if (s.indice_stazione > s.indice_cartelli) return s.stop_with(10, Reason::station_without_entry);
  voce& e = ctx.tabella[s.indice_stazione];
  ctx.entry_sources[s.indice_stazione] = s.record_location();
  e.valore3 = s.reader().read_int32();
  if (int64_t{e.valore3} + 800 > int64_t{50} * s.last_cell()) return s.leave_with_15(e.valore3);
  if (e.valore3 % 50 != 0) return s.stop_at(8, e.valore3);
  e.genere = s.reader().read_uint8();
  const int32_t length = s.reader().read_int32();
  if (length % 100 != 0) return s.stop_at(9, e.valore3);
  read_station_values(s, e);
  set_station_zone(e, length);
  if (length < 600) e.colonna5 = 0;
  if (s.indice_stazione == 1) {
    e.colonna5 = 0;
    e.colonna6 = 0;
  }

  const bool marked = e.genere < kMarkedStationKinds;
  const double mark = e.valore2 / 50.0 - 1;
  if (marked && mark > 1 && round_half_even(mark) > ctx.last_cell()) {
    return s.leave_with_15(e.valore3, Reason::station_zone_beyond_row);
  }
  if (marked && e.genere != 5 && e.genere != 6) {
    for (int i = 1; i <= 4; ++i) {
      if (mark - i > 1)
        ctx.percorso[static_cast<size_t>(round_half_even(mark - i))].preavviso = 80 + i;
    }
  }
  if (marked) {
    if (mark <= 1) return s.stop_with(24);
    const auto c = static_cast<int64_t>(round_half_even(mark));
    ctx.place(c, kStationMark);
    ctx.percorso[c].dato1 = low16(s.indice_stazione);
  }
  if (s.indice_stazione > 1 &&
      int64_t{e.valore1} - 350 < ctx.tabella[s.indice_stazione - 1].valore2) {
    return s.stop_at(22, e.valore3);
  }
  ++s.indice_stazione;
  if (s.indice_stazione >= s.indice_cartelli) return s.stop_with(10);
  return Flow::go_on;
}

Flow train_record(ParseSession& s) {
  Tabella& t = s.ctx.tabella;
  if (s.has("frenata") && s.has("massa")) t[kEntryTrain].valore1 = s.reader().read_int32();
  if (s.has("vetture")) t[kEntryTrain].valore3 = s.reader().read_int32();
  struct Kind {
    const char* keyword;
    Flow (*parse)(ParseSession&);
  };
  static constexpr Kind kStampedKinds[] = {{"velocit", speed_record},
                                           {"aderenza", adhesion_record}};
  for (const Kind& kind : kStampedKinds) {
    if (!s.has(kind.keyword)) continue;
    const Flow flow = kind.parse(s);
    if (flow != Flow::go_on) return flow;
  }
  if (s.has("orologio")) {
    t[kEntrySignals].colonna10 = s.reader().read_int16();
    t[kEntrySignals].colonna11 = s.reader().read_int16();
    t[kEntrySignals].colonna12 = s.reader().read_int16();
  }
  if (s.has("sabbia")) t[kEntrySignals].colonna7 = s.reader().read_int16();
  static constexpr Kind kObjectKinds[] = {{"segnale", signal_record},
                                          {"rallentamento", slowdown_record},
                                          {"abbattimento", abbattimento_record},
                                          {"stazione", station_record}};
  for (const Kind& kind : kObjectKinds) {
    if (!s.has(kind.keyword)) continue;
    const Flow flow = kind.parse(s);
    if (flow != Flow::go_on) return flow;
  }
  return Flow::go_on;
}

// Reads fields up to the one holding "[generale]"; false, with nothing
// recorded, when the source ends first.
bool find_general_part_if_any(ParseSession& s) {
  while (!s.at_end()) {
    s.read_keyword();
    if (s.has("[generale]")) return true;
  }
  return false;
}

Flow parse_records(ParseSession& s) {
  if (!find_general_part_if_any(s)) return Flow::end_steps;
  for (;;) {
    if (s.at_end()) return Flow::end_steps;
    s.read_keyword();
    if (s.at_end() || !s.skip_comments()) return Flow::end_steps;
    const Flow flow = train_record(s);
    if (flow != Flow::go_on) return flow;
  }
}

bool is_multiple_of_50(int32_t value) { return value % 50 == 0; }

void end_steps(ParseSession& s) {
  BuildContext& ctx = s.ctx;
  s.close_and_delete();
  const int32_t n = s.last_cell();
  s.fill_profile(&cella::velocita, s.cella_velocita, n - 2, n, AtBound::count_on,
                 [&s] { return speed_value(s.previous_speed); });
  s.fill_profile(&cella::aderenza, s.cella_aderenza, n - 2, n, AtBound::count_on,
                 [&s] { return low8(s.previous_adhesion); });
  for (int entry = kEntryRefTre; entry <= kEntryRefUno; ++entry) {
    const voce& e = ctx.tabella[entry];
    if (!is_multiple_of_50(e.valore1) || !is_multiple_of_50(e.valore2)) {
      Recording r;
      r.numero = 2;
      // The references are the line file's; a chainage with flag 1 was stored plus 100.
      r.where.file = SourceFile::line;
      r.value = e.valore1;
      r.chainage = e.valore3 == 1 ? e.valore2 - 100 : e.valore2;
      record_error(ctx, std::move(r));
      return;
    }
  }
}

}  // namespace

void parse_train_source(ParseSession& s) {
  s.open(SourceFile::train);
  if (parse_records(s) == Flow::parse_ends) return;
  end_steps(s);
}

}  // namespace scenario
