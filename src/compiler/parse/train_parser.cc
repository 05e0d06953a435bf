// The train source part of `memorizza_dati`: consist, clock, speed and
// adhesion profiles, signals, slowdowns, abbattimento records and stations,
// then the final fills and the check of the kilometric references.
#include <cstdint>
#include <utility>

#include "base/rounding.h"
#include "compiler/cells.h"
#include "compiler/parse/parse_session.h"
#include "compiler/parse/record_checks.h"
#include "compiler/stampers.h"

namespace scenario {
namespace {

constexpr int32_t kMarkedStationKinds = 25;  // kinds below this get a station mark

int32_t row_limit(const ParseSession& s) { return last_record_position(s.last_cell()); }

// After a stamper: its own error, or an error 15 still standing from the line
// file, ends the parse at this record.
Flow after_stamper(ParseSession& s, const StampResult& result, int32_t position) {
  if (result.code != 0) {
    return s.stop_on_cell(result.code, position, result.cell, result.occupant);
  }
  // The code then standing is the line file's 15; a check keeps that stop apart.
  if (s.read_past_errors ? s.earlier_15_stops_here() : s.ctx.codice_errore > 0) {
    const int32_t code = s.read_past_errors ? 15 : s.ctx.codice_errore;
    return s.stop_at(code, position, Reason::earlier_15_stands);
  }
  return Flow::go_on;
}

// The speed of the last speed record as a cell holds it; a speed the cells
// cannot hold is that record's error. A check sets that record aside and goes
// on with the speed before it, so that no later record draws its error.
uint8_t previous_speed_value(ParseSession& s, const SourceLocation& given_at) {
  try {
    return round_to_uint8(s.previous_speed / 5.0);
  } catch (const RunTimeFailure&) {
    const int32_t v = s.previous_speed;
    const std::string why =
        "is " + std::to_string(v) + " km/h, " + (v < 0 ? "below 0" : "above 1275") +
        ": a cell keeps the speed divided by 5 in one byte, so it holds 0 to 1275 km/h";
    s.blame(given_at, RecordId::speed, 1, why);
    if (!s.read_past_errors) throw;
    s.record_failure_read_past(RunTimeFailure(why));
    s.previous_speed = s.speed_before_previous;
    return round_to_uint8(s.previous_speed / 5.0);
  }
}

Flow speed_record(ParseSession& s) {
  s.begin_record(RecordId::speed);
  const int32_t p = s.int32();
  const int32_t v = s.int32();
  s.end_record();
  if (!s.inside_row(p)) return s.leave_with_15(p, row_limit(s));
  const SourceLocation previous_at = s.speeds.where;
  check_speed(s, p, v);
  const int32_t n = s.last_cell();
  const int64_t k = cell_before(p);
  // Unlike the other profile fills, this one stops before the last cell, its counter too.
  if (k > 0) {
    s.fill_profile(&cella::velocita, s.cella_velocita, k, n - 1, AtBound::stop,
                   [&s, &previous_at] { return previous_speed_value(s, previous_at); });
  }
  s.speed_before_previous = s.previous_speed;
  s.previous_speed = v;
  return Flow::go_on;
}

Flow adhesion_record(ParseSession& s) {
  s.begin_record(RecordId::adhesion);
  const int32_t p = s.int32();
  const int32_t a = s.int32();
  s.end_record();
  if (!s.inside_row(p)) return s.leave_with_15(p, row_limit(s));
  check_adhesion(s, p, a);
  const int64_t k = cell_before(p);
  if (k > 0) {
    s.fill_profile(&cella::aderenza, s.cella_aderenza, k, s.last_cell(), AtBound::count_on,
                   [&s] { return low8(s.previous_adhesion); });
  }
  s.previous_adhesion = a;
  return Flow::go_on;
}

Flow signal_record(ParseSession& s) {
  SignalValues v;
  s.begin_record(RecordId::signal);
  for (int32_t* value :
       {&v.posizione, &v.sx, &v.s1, &v.s2, &v.s3, &v.rapp, &v.dx, &v.d1, &v.d2, &v.d3, &v.tempo}) {
    *value = s.int32();
  }
  s.end_record();
  if (!s.inside_row(v.posizione)) return s.leave_with_15(v.posizione, row_limit(s));
  s.set_position(v.posizione);
  check_signal(s, v);
  const std::vector<TunnelLight> lights = tunnel_lights_in(s.ctx, {cell_of(v.posizione)});
  const StampResult result = memo_segnale(s.ctx, v, s.record_location());
  if (result.code == 0) {
    note_signal_marks(s, v);
    warn_replaced_tunnel_lights(s, lights);
  }
  return after_stamper(s, result, v.posizione);
}

Flow slowdown_record(ParseSession& s) {
  SlowdownValues v;
  s.begin_record(RecordId::slowdown);
  for (int32_t* value : {&v.x, &v.v, &v.l, &v.f_tt, &v.f_ta, &v.d_v}) {
    *value = s.int32();
  }
  s.end_record();
  if (!s.inside_row(v.x)) return s.leave_with_15(v.x, row_limit(s));
  s.set_position(v.x);
  check_slowdown(s, v);
  const bool has_warning = v.x > 1500;
  const int64_t h = cell_before(int64_t{v.x} - 1200);
  const std::vector<TunnelLight> lights =
      has_warning ? tunnel_lights_in(s.ctx, {cell_of(int64_t{v.x} - 1200), cell_of(v.x),
                                             cell_of(int64_t{v.x} + v.l), h, h - 1, h - 2, h - 3})
                  : tunnel_lights_in(s.ctx, {cell_of(v.x), cell_of(int64_t{v.x} + v.l)});
  const StampResult result = memo_rallentamento(s.ctx, v, s.record_location());
  if (result.code == 0 || result.code == 20) {
    s.ctx.trail.rallentamenti.push_back(
        {v.x, static_cast<int32_t>(cell_of(v.x)),
         has_warning ? static_cast<int32_t>(cell_of(v.x - 1200)) : -1, s.record_location(), v.v,
         v.l, v.f_tt});
    warn_replaced_tunnel_lights(s, lights);
  }
  return after_stamper(s, result, v.x);
}

Flow abbattimento_record(ParseSession& s) {
  BuildContext& ctx = s.ctx;
  s.begin_record(RecordId::abbattimento);
  const int32_t p = s.int32();
  const int32_t a = s.int32();
  s.end_record();
  if (!s.inside_row(p)) return s.leave_with_15(p, row_limit(s));
  s.set_position(p);
  check_abbattimento(s, p, a);
  const int64_t c = cell_before(p);
  if (!ctx.is_free(c)) {
    return s.stop_on_cell(7, p, c, ctx.in_row(c) ? ctx.percorso[c].oggetto : 0);
  }
  const std::vector<TunnelLight> lights = tunnel_lights_in(ctx, {c});
  if (a > 0) {
    s.place(c, kAbbattimento);
    ctx.percorso[c].dato1 = low16(a);
  } else {
    s.place(c, kAbbattimentoNoValue);
  }
  warn_replaced_tunnel_lights(s, lights);
  return Flow::go_on;
}

void read_station_values(ParseSession& s, voce& e) {
  e.colonna4 = s.uint8();
  e.colonna5 = s.uint8();
  e.colonna6 = s.uint8();
  e.colonna7 = s.int16();
  e.colonna8 = s.int16();
  e.colonna9 = s.uint8();
  e.colonna10 = s.int16();
  e.colonna11 = s.int16();
  e.colonna12 = s.int16();
  e.colonna13 = s.uint8();
  const int32_t hours = s.int32();
  const int32_t minutes = s.int32();
  const int32_t seconds = s.int32();
  e.testo = s.text();
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

// Error 22: a zone that starts too soon after the previous station's zone end.
Flow stop_too_close(ParseSession& s, const voce& e) {
  const voce& before = s.ctx.tabella[s.indice_stazione - 1];
  Recording r;
  r.numero = 22;
  r.has_position = true;
  r.posizione = e.valore3;
  r.previous = before.valore3;
  r.value = e.valore1;
  r.limit = add32(before.valore2, 350);
  r.notes.push_back({s.ctx.trail.entry_sources[s.indice_stazione - 1],
                     "the station before it, at " + std::to_string(before.valore3) +
                         " m, is here; its zone ends at " + std::to_string(before.valore2) + " m"});
  return s.stop(std::move(r));
}

Flow station_record(ParseSession& s) {
  BuildContext& ctx = s.ctx;
  s.begin_record(RecordId::station);
  // With every entry down to 1 taken by board texts there is no entry left.
  if (s.indice_stazione > s.indice_cartelli) return s.stop_with(10, Reason::station_without_entry);
  voce& e = ctx.tabella[s.indice_stazione];
  ctx.trail.entry_sources[s.indice_stazione] = s.record_location();
  e.valore3 = s.int32();
  s.count_position(e.valore3);
  const int32_t n = s.last_cell();
  if (!station_inside_row(e.valore3, n)) {
    return s.leave_with_15(e.valore3, last_station_position(n));
  }
  if (!on_cell_grid(e.valore3)) return s.stop_at(8, e.valore3);
  e.genere = s.uint8();
  const int32_t length = s.int32();
  if (length % 100 != 0) return s.stop_at(9, e.valore3);
  read_station_values(s, e);
  s.end_record();
  s.set_position(e.valore3);
  check_station(s, e, length);
  set_station_zone(e, length);
  if (length < 600) e.colonna5 = 0;
  if (s.indice_stazione == 1) {
    e.colonna5 = 0;
    e.colonna6 = 0;
  }

  const bool marked = e.genere < kMarkedStationKinds;
  const double mark = in_cells(e.valore2) - 1;  // cell_two_before the zone's end, unrounded
  if (marked && mark > 1 && round_half_even(mark) > ctx.last_cell()) {
    return s.leave_with_15(e.valore3, last_station_position(n), Reason::station_zone_beyond_row,
                           e.valore2);
  }
  if (marked && e.genere != 5 && e.genere != 6) {
    for (int i = 1; i <= 4; ++i) {
      if (mark - i > 1)
        ctx.percorso[static_cast<size_t>(round_half_even(mark - i))].preavviso = 80 + i;
    }
    note_station_marks(s, e, mark);
  }
  if (marked) {
    if (mark <= 1) return s.stop_with(24);
    const auto c = static_cast<int64_t>(round_half_even(mark));
    check_stop_mark_cell(s, e, c);
    s.place(c, kStationMark);
    ctx.percorso[c].dato1 = low16(s.indice_stazione);
  }
  if (s.indice_stazione > 1 &&
      int64_t{e.valore1} - 350 < ctx.tabella[s.indice_stazione - 1].valore2) {
    return stop_too_close(s, e);
  }
  note_station(s, e);
  ++s.indice_stazione;
  if (s.indice_stazione >= s.indice_cartelli) return s.stop_with(10);
  return Flow::go_on;
}

Flow braked_mass_record(ParseSession& s) {
  s.begin_record(RecordId::braked_mass);
  s.ctx.tabella[kEntryTrain].valore1 = s.int32();
  s.end_record();
  return Flow::go_on;
}

Flow coaches_record(ParseSession& s) {
  s.begin_record(RecordId::coaches);
  s.ctx.tabella[kEntryTrain].valore3 = s.int32();
  s.end_record();
  return Flow::go_on;
}

Flow clock_record(ParseSession& s) {
  voce& e = s.ctx.tabella[kEntrySignals];
  s.begin_record(RecordId::clock);
  e.colonna10 = s.int16();
  e.colonna11 = s.int16();
  e.colonna12 = s.int16();
  s.end_record();
  return Flow::go_on;
}

Flow sand_record(ParseSession& s) {
  s.begin_record(RecordId::sand);
  s.ctx.tabella[kEntrySignals].colonna7 = s.int16();
  s.end_record();
  return Flow::go_on;
}

// Every kind whose test `riga` passes reads its own values, in this order.
constexpr RecordReader kTrainKinds[] = {
    {RecordId::braked_mass,
     [](const ParseSession& s) { return s.has("frenata") && s.has("massa"); }, braked_mass_record},
    {RecordId::coaches, [](const ParseSession& s) { return s.has("vetture"); }, coaches_record},
    {RecordId::speed, [](const ParseSession& s) { return s.has("velocit"); }, speed_record},
    {RecordId::adhesion, [](const ParseSession& s) { return s.has("aderenza"); }, adhesion_record},
    {RecordId::clock, [](const ParseSession& s) { return s.has("orologio"); }, clock_record},
    {RecordId::sand, [](const ParseSession& s) { return s.has("sabbia"); }, sand_record},
    {RecordId::signal, [](const ParseSession& s) { return s.has("segnale"); }, signal_record},
    {RecordId::slowdown, [](const ParseSession& s) { return s.has("rallentamento"); },
     slowdown_record},
    {RecordId::abbattimento, [](const ParseSession& s) { return s.has("abbattimento"); },
     abbattimento_record},
    {RecordId::station, [](const ParseSession& s) { return s.has("stazione"); }, station_record},
};

uint32_t train_kinds(const ParseSession& s) { return kinds_named(s, kTrainKinds); }

// Reads fields up to the one holding "[generale]"; false, with nothing
// recorded, when the source ends first.
bool find_general_part_if_any(ParseSession& s) {
  while (!s.at_end()) {
    s.read_keyword();
    if (s.has("[generale]")) return true;
    if (s.riga.empty()) continue;
    s.train_has_fields = true;
    s.note_generale_near();
  }
  return false;
}

Flow parse_records(ParseSession& s) {
  if (!find_general_part_if_any(s)) return Flow::end_steps;
  s.saw_general_part = true;
  for (;;) {
    if (s.at_end()) return Flow::end_steps;
    const Flow flow = s.guarded([&s] {
      s.read_keyword();
      if (s.at_end() || !s.skip_comments(train_kinds)) return Flow::end_steps;
      return read_records(s, kTrainKinds, RecordPart::train);
    });
    if (flow != Flow::go_on) return flow;
  }
}

// The record of the line file that gave a sorted reference its values.
SourceLocation reference_where(const ParseSession& s, const voce& e, int32_t chainage) {
  for (const ReferenceRead& read : s.references) {
    if (read.read && read.valore1 == e.valore1 && read.valore2 == chainage &&
        read.valore3 == e.valore3) {
      return read.where;
    }
  }
  return {SourceFile::line, 0, 0};
}

void end_steps(ParseSession& s) {
  BuildContext& ctx = s.ctx;
  s.close_and_delete();
  const int32_t n = s.last_cell();
  const SourceLocation speed_at = s.speeds.where;
  s.fill_profile(&cella::velocita, s.cella_velocita, n - 2, n, AtBound::count_on,
                 [&s, &speed_at] { return previous_speed_value(s, speed_at); });
  s.fill_profile(&cella::aderenza, s.cella_aderenza, n - 2, n, AtBound::count_on,
                 [&s] { return low8(s.previous_adhesion); });
  check_train_profiles(s);
  for (int entry = kEntryRefTre; entry <= kEntryRefUno; ++entry) {
    const voce& e = ctx.tabella[entry];
    if (!on_cell_grid(e.valore1) || !on_cell_grid(e.valore2)) {
      Recording r;
      r.numero = 2;
      r.record = "kilometric reference";
      r.value = e.valore1;
      // A chainage with flag 1 was stored plus 100.
      r.chainage = e.valore3 == 1 ? e.valore2 - 100 : e.valore2;
      r.where = reference_where(s, e, r.chainage);
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
