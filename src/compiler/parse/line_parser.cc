// The line source part of `memorizza_dati`: the search for "[generale]", the
// general records, the object records and the end steps of the line file.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/rounding.h"
#include "base/run_time_failure.h"
#include "compiler/cells.h"
#include "compiler/parse/parse_session.h"
#include "compiler/parse/record_checks.h"
#include "compiler/plan/curve_classes.h"
#include "compiler/stampers.h"

namespace scenario {
namespace {

constexpr int32_t kMaxTrackMetre = 1000000;

int32_t row_limit(const ParseSession& s) { return last_record_position(s.last_cell()); }

// Error 102, at the field that looks most like "[generale]" where one does.
Flow stop_102(ParseSession& s) {
  Recording r;
  r.numero = 102;
  if (s.generale_near) {
    r.reason = Reason::generale_misspelt;
    r.text = s.generale_near->text;
    r.where = s.generale_near->where;
  }
  return s.stop(std::move(r));
}

// Reads fields up to the one holding "[generale]"; a source that ends first
// stops the parse with error 102.
Flow find_general_part_or_stop_102(ParseSession& s) {
  for (;;) {
    s.read_keyword();
    s.note_generale_near();
    if (s.at_end()) return stop_102(s);
    if (s.has("[generale]")) return Flow::go_on;
  }
}

// --- General part ---

Flow read_route_length(ParseSession& s) {
  BuildContext& ctx = s.ctx;
  s.begin_record(RecordId::route_length);
  const int32_t length = s.int32();
  s.end_record();
  ctx.tabella[kEntryTrain].valore2 = length;
  ctx.trail.read.route_length_where = s.record_location();
  if (length > kMaxRouteLength) return s.stop_refusing(1, length);
  check_route_length(s, length);
  ctx.metri_totali = add32(length, kRowBeyondEnd);
  const int64_t n = cell_before(ctx.metri_totali);  // the last cell ends at the last metre
  if (n < 0 || (s.scrivi_linea && ctx.metri_totali < 1)) {
    throw RunTimeFailure("the route length " + std::to_string(length) + " leaves no cell row");
  }
  ctx.percorso.assign(static_cast<size_t>(n) + 1, cella{});
  if (s.scrivi_linea) ctx.tracciato.create(ctx.metri_totali);
  return Flow::go_on;
}

template <int kEntry, RecordId kId>
Flow read_reference(ParseSession& s) {
  voce& e = s.ctx.tabella[kEntry];
  s.begin_record(kId);
  e.valore1 = s.int32();
  e.valore2 = s.int32();
  e.valore3 = s.int32();
  s.end_record();
  s.references[kEntry - kEntryRefTre] = {true, e.valore1, e.valore2, e.valore3,
                                         s.record_location()};
  return Flow::go_on;
}

// A background setting: entry 85's `valore1` ("uno"), `valore3` ("due") or `valore2` ("tre").
template <int32_t voce::*kField, RecordId kId>
Flow read_background(ParseSession& s) {
  s.begin_record(kId);
  s.ctx.tabella[kEntryScenario].*kField = s.int32();
  s.end_record();
  return Flow::go_on;
}

Flow read_signal_repetition(ParseSession& s) {
  voce& e = s.ctx.tabella[kEntrySignals];
  s.begin_record(RecordId::signal_repetition);
  e.valore1 = s.int32();
  e.valore2 = s.int32();
  s.end_record();
  if (!on_cell_grid(e.valore1)) return s.stop_refusing(3, e.valore1);
  if (!on_cell_grid(e.valore2)) return s.stop_refusing(4, e.valore2);
  if (s.has_exact("4")) {
    e.valore3 = 4;
  } else if (s.has_exact("9")) {
    e.valore3 = 9;
  } else {
    return s.stop_with(5);
  }
  if (e.valore2 == 0) e.valore3 = 0;
  return Flow::go_on;
}

constexpr RecordReader kGeneralKinds[] = {
    {RecordId::route_length,
     [](const ParseSession& s) { return s.has("percorso") && s.has("lunghezza"); },
     read_route_length},
    {RecordId::reference_tre,
     [](const ParseSession& s) { return s.has_exact("tre") && s.has_exact("progressiva"); },
     read_reference<kEntryRefTre, RecordId::reference_tre>},
    {RecordId::reference_due,
     [](const ParseSession& s) { return s.has_exact("due") && s.has_exact("progressiva"); },
     read_reference<kEntryRefDue, RecordId::reference_due>},
    {RecordId::reference_uno,
     [](const ParseSession& s) { return s.has_exact("uno") && s.has_exact("progressiva"); },
     read_reference<kEntryRefUno, RecordId::reference_uno>},
    {RecordId::background_uno,
     [](const ParseSession& s) { return s.has_exact("sfondo") && s.has_exact("uno"); },
     read_background<&voce::valore1, RecordId::background_uno>},
    {RecordId::background_due,
     [](const ParseSession& s) { return s.has_exact("sfondo") && s.has_exact("due"); },
     read_background<&voce::valore3, RecordId::background_due>},
    {RecordId::background_tre,
     [](const ParseSession& s) { return s.has_exact("sfondo") && s.has_exact("tre"); },
     read_background<&voce::valore2, RecordId::background_tre>},
    {RecordId::signal_repetition,
     [](const ParseSession& s) { return s.has_exact("segnali") && s.has_exact("ripetizione"); },
     read_signal_repetition},
};

uint32_t general_kinds(const ParseSession& s) { return kinds_named(s, kGeneralKinds); }

bool is_section_header(const std::string& riga) {
  return riga.rfind('-', 0) != 0 && riga.find('[') != std::string::npos &&
         riga.find(']') != std::string::npos;
}

// Within the general part's loop, Flow::end_steps leaves the part.
Flow parse_general_part(ParseSession& s) {
  for (;;) {
    if (s.at_end()) return Flow::go_on;
    const Flow flow = s.guarded([&s] {
      s.read_keyword();
      if (s.at_end()) return Flow::end_steps;
      s.skip_general_comments(general_kinds);
      if (read_records(s, kGeneralKinds, RecordPart::general) == Flow::parse_ends) {
        return Flow::parse_ends;
      }
      return is_section_header(s.riga) ? Flow::end_steps : Flow::go_on;
    });
    if (flow == Flow::parse_ends) return Flow::parse_ends;
    if (flow == Flow::end_steps) return Flow::go_on;
  }
}

// --- Track plan ---

// Steps up to metre `last` with curvature `c` (0 for a straight); a record may
// not take the plan past metre 1000000. The plan's last two metres stay empty,
// so steps beyond them are left out.
Flow trace_record_to(ParseSession& s, int64_t last, double c) {
  // Only a check reads on past the limit.
  if (s.metro > kMaxTrackMetre) return Flow::go_on;
  const int64_t end = std::min<int64_t>(last, s.ctx.metri_totali - 2);
  if (s.metro > end) return Flow::go_on;
  const int32_t stop = static_cast<int32_t>(std::min<int64_t>(end, kMaxTrackMetre));
  s.ctx.tracciato.trace(s.metro, stop, c);
  s.metro = stop + 1;
  if (s.metro > kMaxTrackMetre) {
    return s.stop_with(103, Reason::track_plan_past_limit);
  }
  return Flow::go_on;
}

double curvature_of(ParseSession& s) {
  for (const CurveClass& klass : kCurveClasses) {
    if (s.has(std::string_view(&klass.digit, 1))) {
      return s.has("s") ? -klass.curvature : klass.curvature;
    }
  }
  return 0;
}

// --- Object part ---

// A gradient as the cells hold it: offset by 100, low 8 bits.
uint8_t gradient_value(int32_t gradient) { return low8(add32(gradient, 100)); }

Flow gradient_record(ParseSession& s) {
  s.begin_record(RecordId::gradient);
  const int32_t p = s.int32();
  const int32_t g = s.int32();
  s.end_record();
  if (!s.inside_row(p)) return s.leave_with_15(p, row_limit(s));
  check_gradient(s, p, g);
  const int64_t k = cell_before(p);
  if (k > 0) {
    // Computed before the fill: a gradient that overflows fails even past the row.
    const uint8_t value = gradient_value(s.previous_gradient);
    s.fill_profile(&cella::pendenza, s.cella_pendenza, k, s.last_cell(), AtBound::count_on,
                   [value] { return value; });
  }
  s.previous_gradient = g;
  return Flow::go_on;
}

Flow curve_record(ParseSession& s) {
  s.begin_record(RecordId::curve);
  const int32_t a = s.int32();
  const int32_t b = s.int32();
  s.end_record();
  if (!s.inside_row(a)) return s.leave_with_15(a, row_limit(s));
  const double c = curvature_of(s);
  if (c == 0) {
    return s.stop_with(103, Reason::curve_without_class, s.riga);
  }
  check_curve(s, a, b, c);
  if (trace_record_to(s, a, 0) == Flow::parse_ends) return Flow::parse_ends;
  return trace_record_to(s, int64_t{a} + b, c);
}

Flow mountain_record(ParseSession& s) {
  s.begin_record(RecordId::mountain);
  const int32_t inizio = s.int32();
  const int32_t fine = s.int32();
  const int32_t tipo = s.int32();
  s.end_record();
  if (!s.inside_row(inizio)) return s.leave_with_15(inizio, row_limit(s));
  s.set_position(inizio);
  check_mountain(s, inizio, fine);
  memo_montagna(s.ctx, inizio, fine, tipo, s.record_location());
  return Flow::go_on;
}

Flow speed_board_record(ParseSession& s) {
  SpeedBoardValues b;
  s.begin_record(RecordId::speed_board);
  for (int32_t* value :
       {&b.posizione, &b.vas, &b.vbs, &b.vcs, &b.strisces, &b.vad, &b.vbd, &b.vcd, &b.strisced}) {
    *value = s.int32();
  }
  s.end_record();
  if (!s.inside_row(b.posizione)) return s.leave_with_15(b.posizione, row_limit(s));
  s.set_position(b.posizione);
  check_speed_board(s, b);
  const std::vector<TunnelLight> lights = tunnel_lights_in(s.ctx, {cell_of(b.posizione)});
  const StampResult result = memo_indicatori_v_max(s.ctx, b, s.record_location());
  if (result.code != 0) {
    return s.stop_on_cell(result.code, b.posizione, result.cell, result.occupant);
  }
  warn_replaced_tunnel_lights(s, lights);
  return Flow::go_on;
}

Flow indication_board_record(ParseSession& s) {
  BuildContext& ctx = s.ctx;
  s.begin_record(RecordId::indication_board);
  const int32_t p = s.int32();
  s.riga = s.text();
  s.end_record();
  if (!s.inside_row(p)) return s.leave_with_15(p, row_limit(s));
  s.set_position(p);
  check_indication_board(s, p, s.riga);
  const int64_t c = cell_of(p);
  if (!ctx.is_free(c)) {
    return s.stop_on_cell(6, p, c, ctx.in_row(c) ? ctx.percorso[c].oggetto : 0);
  }
  // Entry 0 holds no data: an 81st board has no entry left for its text.
  if (s.indice_cartelli < 1) {
    return s.stop_with(10, Reason::board_without_entry);
  }
  const std::vector<TunnelLight> lights = tunnel_lights_in(ctx, {c});
  s.place(c, kIndicationBoard);
  ctx.percorso[c].dato1 = low16(s.indice_cartelli);
  ctx.tabella[s.indice_cartelli].testo = s.riga;
  ctx.trail.entry_sources[s.indice_cartelli] = s.record_location();
  --s.indice_cartelli;
  warn_replaced_tunnel_lights(s, lights);
  return Flow::go_on;
}

constexpr RecordReader kObjectKinds[] = {
    {RecordId::gradient, [](const ParseSession& s) { return s.has("pendenza"); }, gradient_record},
    {RecordId::curve, [](const ParseSession& s) { return s.scrivi_linea && s.has("curva"); },
     curve_record},
    {RecordId::mountain, [](const ParseSession& s) { return s.has("montagna"); }, mountain_record},
    {RecordId::speed_board, [](const ParseSession& s) { return s.has("indicatori_v"); },
     speed_board_record},
    {RecordId::indication_board,
     [](const ParseSession& s) { return s.has("indicat") && s.has("cartello"); },
     indication_board_record},
};

uint32_t object_kinds(const ParseSession& s) { return kinds_named(s, kObjectKinds); }

void prepare_object_part(ParseSession& s) {
  BuildContext& ctx = s.ctx;
  ctx.montagne.numero_montagne = 0;
  s.indice_cartelli = kFirstBoardEntry;
  s.cella_pendenza = 0;
  s.previous_gradient = 0;
  s.metro = 2;
  if (!s.scrivi_linea) return;
  s.require_cell_row();
  ctx.tracciato.set_int16(0, 0, 0);
  ctx.tracciato.set_int16(0, 1, 0);
  ctx.tracciato.set_int16(1, 0, 0);
  ctx.tracciato.set_int16(1, 1, 1);
}

// Ends with the end steps to follow, or the parse.
Flow parse_object_part(ParseSession& s) {
  for (;;) {
    if (s.at_end()) return Flow::end_steps;
    const Flow flow = s.guarded([&s] {
      s.read_keyword();
      if (s.at_end() || !s.skip_comments(object_kinds)) return Flow::end_steps;
      return read_records(s, kObjectKinds, RecordPart::object);
    });
    if (flow != Flow::go_on) return flow;
  }
}

void finish_line_source(ParseSession& s) {
  BuildContext& ctx = s.ctx;
  s.close_and_delete();
  const int32_t n = s.last_cell();
  const uint8_t value = gradient_value(s.previous_gradient);
  s.fill_profile(&cella::pendenza, s.cella_pendenza, n - 2, n, AtBound::count_on,
                 [value] { return value; });
  if (!s.scrivi_linea) return;
  if (s.metro <= ctx.metri_totali - 2) {
    ctx.tracciato.trace(s.metro, ctx.metri_totali - 2, 0);
    s.metro = ctx.metri_totali - 1;
  }
}

}  // namespace

Flow parse_line_source(ParseSession& s) {
  if (find_general_part_or_stop_102(s) == Flow::parse_ends) return Flow::parse_ends;
  if (parse_general_part(s) == Flow::parse_ends) return Flow::parse_ends;
  progressive_ordina(s.ctx);
  prepare_object_part(s);
  if (parse_object_part(s) == Flow::parse_ends) return Flow::parse_ends;
  finish_line_source(s);
  return Flow::go_on;
}

}  // namespace scenario
