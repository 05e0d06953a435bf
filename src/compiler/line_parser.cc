// The line source part of `memorizza_dati`: the search for "[generale]", the
// general records, the object records and the end steps of the line file.
#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>

#include "base/rounding.h"
#include "base/run_time_failure.h"
#include "compiler/parse_session.h"
#include "compiler/stampers.h"

namespace scenario {
namespace {

constexpr int32_t kMaxTrackMetre = 1000000;
constexpr int kGeneralCommentReads = 10;

// How one record of the line file ended.
enum class Outcome { next, leave_part, parse_ends };

Outcome stop_with(ParseSession& s, int32_t code, bool has_position = false, int32_t position = 0,
                  int64_t cell = -1, uint8_t occupant = 0) {
  s.close_and_delete();
  s.record(code, has_position, position, cell, occupant);
  return Outcome::parse_ends;
}

Outcome stop_with_reason(ParseSession& s, int32_t code, std::string reason) {
  stop_with(s, code);
  s.ctx.recordings.back().reason = std::move(reason);
  return Outcome::parse_ends;
}

Outcome leave_with_15(ParseSession& s, int32_t position) {
  s.record(15, true, position);
  return Outcome::leave_part;
}

// Returns false, with error 102 recorded, when no field holds "[generale]".
bool find_general_part(ParseSession& s) {
  for (;;) {
    s.read_keyword();
    if (s.at_end()) {
      stop_with(s, 102);
      return false;
    }
    if (s.has("[generale]")) return true;
  }
}

// --- General part ---

Outcome read_route_length(ParseSession& s) {
  BuildContext& ctx = s.ctx;
  const int32_t length = s.reader().read_int32();
  ctx.tabella[kEntryTrain].valore2 = length;
  if (length > kMaxRouteLength) return stop_with_reason(s, 1, std::to_string(length) + " m");
  ctx.metri_totali = add32(length, kRowBeyondEnd);
  const double n = round_half_even(ctx.metri_totali / 50.0);
  if (n < 0 || (ctx.scrivi_linea != 0 && ctx.metri_totali < 1)) {
    throw RunTimeFailure("the route length " + std::to_string(length) + " leaves no cell row");
  }
  ctx.percorso.assign(static_cast<size_t>(n) + 1, cella{});
  if (ctx.scrivi_linea != 0) ctx.tracciato.create(ctx.metri_totali);
  return Outcome::next;
}

void read_reference(ParseSession& s, int entry) {
  voce& e = s.ctx.tabella[entry];
  e.valore1 = s.reader().read_int32();
  e.valore2 = s.reader().read_int32();
  e.valore3 = s.reader().read_int32();
}

Outcome read_signal_repetition(ParseSession& s) {
  voce& e = s.ctx.tabella[kEntrySignals];
  e.valore1 = s.reader().read_int32();
  e.valore2 = s.reader().read_int32();
  if (e.valore1 % 50 != 0) return stop_with_reason(s, 3, std::to_string(e.valore1) + " m");
  if (e.valore2 % 50 != 0) return stop_with_reason(s, 4, std::to_string(e.valore2) + " m");
  if (s.has_exact("4")) {
    e.valore3 = 4;
  } else if (s.has_exact("9")) {
    e.valore3 = 9;
  } else {
    return stop_with(s, 5);
  }
  if (e.valore2 == 0) e.valore3 = 0;
  return Outcome::next;
}

Outcome general_record(ParseSession& s) {
  Tabella& t = s.ctx.tabella;
  if (s.has("percorso") && s.has("lunghezza")) {
    if (read_route_length(s) == Outcome::parse_ends) return Outcome::parse_ends;
  }
  if (s.has_exact("tre") && s.has_exact("progressiva")) read_reference(s, kEntryRefTre);
  if (s.has_exact("due") && s.has_exact("progressiva")) read_reference(s, kEntryRefDue);
  if (s.has_exact("uno") && s.has_exact("progressiva")) read_reference(s, kEntryRefUno);
  if (s.has_exact("sfondo") && s.has_exact("uno"))
    t[kEntryScenario].valore1 = s.reader().read_int32();
  if (s.has_exact("sfondo") && s.has_exact("due"))
    t[kEntryScenario].valore3 = s.reader().read_int32();
  if (s.has_exact("sfondo") && s.has_exact("tre"))
    t[kEntryScenario].valore2 = s.reader().read_int32();
  if (s.has_exact("segnali") && s.has_exact("ripetizione")) return read_signal_repetition(s);
  return Outcome::next;
}

bool is_section_header(const std::string& riga) {
  return riga.rfind('-', 0) != 0 && riga.find('[') != std::string::npos &&
         riga.find(']') != std::string::npos;
}

PartEnd parse_general_part(ParseSession& s) {
  for (;;) {
    if (s.at_end()) return PartEnd::go_on;
    s.read_keyword();
    if (s.at_end()) return PartEnd::go_on;
    for (int i = 0; i < kGeneralCommentReads; ++i) {
      if (s.has("-")) s.read_keyword();
    }
    if (general_record(s) == Outcome::parse_ends) return PartEnd::parse_ends;
    if (is_section_header(s.ctx.riga)) return PartEnd::go_on;
  }
}

// --- Track plan ---

// Steps up to metre `last` with curvature `c` (0 for a straight); a record may
// not take the plan past metre 1000000. The plan's last two metres stay empty,
// so steps beyond them are left out.
Outcome trace_record_to(ParseSession& s, int64_t last, double c) {
  const int64_t end = std::min<int64_t>(last, s.ctx.metri_totali - 2);
  if (s.metro > end) return Outcome::next;
  const int32_t stop = static_cast<int32_t>(std::min<int64_t>(end, kMaxTrackMetre));
  s.ctx.tracciato.trace(s.metro, stop, c);
  s.metro = stop + 1;
  if (s.metro > kMaxTrackMetre) {
    return stop_with_reason(s, 103, "the track plan would pass metre 1000000");
  }
  return Outcome::next;
}

double curvature_of(ParseSession& s) {
  static constexpr struct {
    const char* digit;
    double curvature;
  } kClasses[] = {{"1", 0.0001}, {"2", 0.0002}, {"3", 0.0004},
                  {"4", 0.001},  {"5", 0.002},  {"6", 0.003}};
  for (const auto& klass : kClasses) {
    if (s.has(klass.digit)) return s.has("s") ? -klass.curvature : klass.curvature;
  }
  return 0;
}

// --- Object part ---

Outcome gradient_record(ParseSession& s) {
  BuildContext& ctx = s.ctx;
  const int32_t p = s.reader().read_int32();
  const int32_t g = s.reader().read_int32();
  if (!s.inside_row(p)) return leave_with_15(s, p);
  const int64_t k = static_cast<int64_t>(round_half_even(p / 50.0));
  if (k > 0) {
    const uint8_t value = low8(add32(s.previous_gradient, 100));
    do {
      if (ctx.in_row(s.cella_pendenza)) ctx.percorso[s.cella_pendenza].pendenza = value;
      ++s.cella_pendenza;
    } while (s.cella_pendenza < k);
  }
  s.previous_gradient = g;
  return Outcome::next;
}

Outcome curve_record(ParseSession& s) {
  const int32_t a = s.reader().read_int32();
  const int32_t b = s.reader().read_int32();
  if (!s.inside_row(a)) return leave_with_15(s, a);
  const double c = curvature_of(s);
  if (c == 0) {
    return stop_with_reason(s, 103,
                            "the keyword \"" + s.ctx.riga + "\" holds no class digit 1 to 6");
  }
  if (trace_record_to(s, a, 0) == Outcome::parse_ends) return Outcome::parse_ends;
  return trace_record_to(s, int64_t{a} + b, c);
}

Outcome mountain_record(ParseSession& s) {
  const int32_t inizio = s.reader().read_int32();
  const int32_t fine = s.reader().read_int32();
  const int32_t tipo = s.reader().read_int32();
  if (!s.inside_row(inizio)) return leave_with_15(s, inizio);
  memo_montagna(s.ctx, inizio, fine, tipo);
  return Outcome::next;
}

Outcome speed_board_record(ParseSession& s) {
  SpeedBoardValues b;
  for (int32_t* value :
       {&b.posizione, &b.vas, &b.vbs, &b.vcs, &b.strisces, &b.vad, &b.vbd, &b.vcd, &b.strisced}) {
    *value = s.reader().read_int32();
  }
  if (!s.inside_row(b.posizione)) return leave_with_15(s, b.posizione);
  const StampResult result = memo_indicatori_v_max(s.ctx, b);
  if (result.code != 0) {
    return stop_with(s, result.code, true, b.posizione, result.cell, result.occupant);
  }
  return Outcome::next;
}

Outcome indication_board_record(ParseSession& s) {
  BuildContext& ctx = s.ctx;
  const int32_t p = s.reader().read_int32();
  ctx.riga = s.reader().read_text();
  if (!s.inside_row(p)) return leave_with_15(s, p);
  const int64_t c = cell_of(p);
  if (!ctx.is_free(c)) {
    return stop_with(s, 6, true, p, c, ctx.in_row(c) ? ctx.percorso[c].oggetto : 0);
  }
  // Entry 0 holds no data: an 81st board has no entry left for its text.
  if (s.indice_cartelli < 1) {
    return stop_with_reason(s, 10, "an 81st indication board has no entry for its text");
  }
  ctx.place(c, kIndicationBoard);
  ctx.percorso[c].dato1 = low16(s.indice_cartelli);
  ctx.tabella[s.indice_cartelli].testo = ctx.riga;
  --s.indice_cartelli;
  return Outcome::next;
}

Outcome object_record(ParseSession& s) {
  struct Kind {
    bool (*matches)(const ParseSession&);
    Outcome (*parse)(ParseSession&);
  };
  static constexpr Kind kKinds[] = {
      {[](const ParseSession& s) { return s.has("pendenza"); }, gradient_record},
      {[](const ParseSession& s) { return s.ctx.scrivi_linea != 0 && s.has("curva"); },
       curve_record},
      {[](const ParseSession& s) { return s.has("montagna"); }, mountain_record},
      {[](const ParseSession& s) { return s.has("indicatori_v"); }, speed_board_record},
      {[](const ParseSession& s) { return s.has("indicat") && s.has("cartello"); },
       indication_board_record},
  };
  for (const Kind& kind : kKinds) {
    if (!kind.matches(s)) continue;
    const Outcome outcome = kind.parse(s);
    if (outcome != Outcome::next) return outcome;
  }
  return Outcome::next;
}

void prepare_object_part(ParseSession& s) {
  BuildContext& ctx = s.ctx;
  ctx.montagne.numero_montagne = 0;
  s.indice_cartelli = kFirstBoardEntry;
  s.cella_pendenza = 0;
  s.previous_gradient = 0;
  s.metro = 2;
  if (ctx.scrivi_linea == 0) return;
  s.require_cell_row();
  ctx.tracciato.set_int16(0, 0, 0);
  ctx.tracciato.set_int16(0, 1, 0);
  ctx.tracciato.set_int16(1, 0, 0);
  ctx.tracciato.set_int16(1, 1, 1);
}

PartEnd parse_object_part(ParseSession& s) {
  for (;;) {
    if (s.at_end()) return PartEnd::go_on;
    s.read_keyword();
    if (s.at_end() || !s.skip_comments()) return PartEnd::go_on;
    const Outcome outcome = object_record(s);
    if (outcome == Outcome::parse_ends) return PartEnd::parse_ends;
    if (outcome == Outcome::leave_part) return PartEnd::go_on;
  }
}

void finish_line_source(ParseSession& s) {
  BuildContext& ctx = s.ctx;
  s.close_and_delete();
  const int32_t n = s.last_cell();
  const uint8_t value = low8(add32(s.previous_gradient, 100));
  do {
    if (ctx.in_row(s.cella_pendenza)) ctx.percorso[s.cella_pendenza].pendenza = value;
    ++s.cella_pendenza;
  } while (s.cella_pendenza < n - 2);
  if (ctx.scrivi_linea == 0) return;
  if (s.metro <= ctx.metri_totali - 2) {
    ctx.tracciato.trace(s.metro, ctx.metri_totali - 2, 0);
    s.metro = ctx.metri_totali - 1;
  }
}

}  // namespace

PartEnd parse_line_source(ParseSession& s) {
  if (!find_general_part(s)) return PartEnd::parse_ends;
  if (parse_general_part(s) == PartEnd::parse_ends) return PartEnd::parse_ends;
  progressive_ordina(s.ctx);
  prepare_object_part(s);
  if (parse_object_part(s) == PartEnd::parse_ends) return PartEnd::parse_ends;
  finish_line_source(s);
  return PartEnd::go_on;
}

}  // namespace scenario
