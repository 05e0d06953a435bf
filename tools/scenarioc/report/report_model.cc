#include "scenarioc/report/report_model.h"

#include <algorithm>
#include <filesystem>
#include <map>

#include "base/file_naming.h"
#include "base/text_encoding.h"
#include "compiler/diagnostics/diagnostics.h"
#include "compiler/diagnostics/warnings.h"
#include "compiler/format/cell_text.h"
#include "scenarioc/output/diagnostic_listing.h"
#include "scenarioc/report/object_drawing.h"
#include "scenarioc/report/report_profiles.h"

namespace scenario {
namespace {

constexpr int kFirstStationEntry = 1;

std::string file_name_of(const SourceFiles& sources, SourceFile which) {
  return utf8_from_native(path_from_utf8(sources.display_name(which)).filename().string());
}

SourceRef source_ref(const SourceLocation& where, const SourceFiles& sources) {
  if (where.file == SourceFile::none) return {};
  return {file_name_of(sources, where.file), where.line, where.column};
}

bool same_record(const SourceLocation& a, const SourceLocation& b) {
  return a.file != SourceFile::none && a.file == b.file && a.line == b.line && a.column == b.column;
}

// The slowdown whose record placed an object, or -1.
int32_t slowdown_of(const BuildContext& ctx, const SourceLocation& where) {
  for (size_t i = 0; i < ctx.trail.rallentamenti.size(); ++i) {
    if (same_record(ctx.trail.rallentamenti[i].where, where)) return static_cast<int32_t>(i);
  }
  return -1;
}

std::string object_label(const cella& c, const Tabella& tabella, int category) {
  switch (drawing_of(c.oggetto).label) {
    case ObjectLabel::value:
      return std::to_string(c.dato1);
    case ObjectLabel::board_speed: {
      const BoardSpeeds speeds = board_speeds(category == 0   ? c.dato1
                                              : category == 1 ? c.dato2
                                                              : c.dato3);
      return std::to_string(speeds.left != 0 ? speeds.left : speeds.right);
    }
    case ObjectLabel::board_text:
      return c.dato1 >= 0 && c.dato1 < kTableEntries ? utf8_from_1252(tabella[c.dato1].testo) : "";
    case ObjectLabel::none:
      break;
  }
  return "";
}

void add_objects(ReportModel& model, const BuildContext& ctx, const SourceFiles& sources) {
  // The last placement in a cell placed what it holds.
  std::map<int32_t, const Placement*> placed;
  for (const Placement& p : ctx.trail.placements) placed[p.cell] = &p;
  for (size_t c = 0; c < ctx.percorso.size(); ++c) {
    const cella& cell = ctx.percorso[c];
    if (cell.oggetto == kNoObject) continue;
    ReportObject o;
    o.oggetto = cell.oggetto;
    o.raw = cell;
    o.cell = static_cast<int32_t>(c);
    o.metres = cell_start_metres(c);
    o.title = occupant_name(cell.oggetto);
    o.label = object_label(cell, ctx.tabella, model.board_category);
    o.facts = object_facts(cell, &ctx.tabella);
    o.stretch = stretch_facts(cell);
    const auto found = placed.find(o.cell);
    if (found != placed.end() && found->second->oggetto == cell.oggetto) {
      const SourceLocation& where = found->second->where;
      o.source = source_ref(where, sources);
      o.slowdown = slowdown_of(ctx, where);
      o.automatic = cell.oggetto == kAbbattimento && o.slowdown >= 0;
    }
    if (o.automatic) o.title = "abbattimento marker added for a slowdown";
    model.objects.push_back(std::move(o));
  }
}

void add_slowdowns(ReportModel& model, const BuildContext& ctx, const SourceFiles& sources) {
  for (const SlowdownRecord& r : ctx.trail.rallentamenti) {
    ReportSlowdown s;
    s.start = cell_start_metres(r.start_cell);
    s.end = s.start;
    s.warning = r.warning_cell >= 0 ? cell_start_metres(r.warning_cell) : -1;
    if (ctx.in_row(r.start_cell)) s.speed = ctx.percorso[r.start_cell].dato1;
    s.source = source_ref(r.where, sources);
    model.slowdowns.push_back(std::move(s));
  }
  for (const ReportObject& o : model.objects) {
    if (o.slowdown >= 0 && o.oggetto == kSlowdownEnd) model.slowdowns[o.slowdown].end = o.metres;
  }
}

std::vector<Fact> station_codes(const voce& e) {
  auto fact = [](const char* name, int64_t value) { return Fact{name, std::to_string(value)}; };
  return {
      fact("value 4", e.colonna4),   fact("value 5", e.colonna5),   fact("value 6", e.colonna6),
      fact("value 7", e.colonna7),   fact("value 8", e.colonna8),   fact("value 9", e.colonna9),
      fact("value 10", e.colonna10), fact("value 11", e.colonna11), fact("value 12", e.colonna12)};
}

void add_stations(ReportModel& model, const BuildContext& ctx, const SourceFiles& sources) {
  for (int k = kFirstStationEntry; k <= kFirstBoardEntry; ++k) {
    if (ctx.trail.entry_sources[k].file != SourceFile::train) continue;
    const voce& e = ctx.tabella[k];
    ReportStation s;
    s.entry = k;
    s.name = utf8_from_1252(e.testo);
    s.position = e.valore3;
    s.chainage = model.chainage.at(e.valore3);
    s.zone_from = e.valore1;
    s.zone_to = e.valore2;
    s.genere = e.genere;
    s.stop_seconds = e.colonna13;
    s.time = e.orario;
    s.codes = station_codes(e);
    s.source = source_ref(ctx.trail.entry_sources[k], sources);
    for (size_t i = 0; i < model.objects.size(); ++i) {
      const ReportObject& o = model.objects[i];
      if (o.oggetto == kStationMark && ctx.percorso[o.cell].dato1 == k) {
        s.mark_object = static_cast<int32_t>(i);
      }
    }
    model.stations.push_back(std::move(s));
  }
  if (!model.stations.empty() && model.stations.back().time != 0) {
    model.stations.back().arrival = true;
  }
}

int32_t object_in_cell(const ReportModel& model, int64_t cell) {
  for (size_t i = 0; i < model.objects.size(); ++i) {
    if (model.objects[i].cell == cell) return static_cast<int32_t>(i);
  }
  return -1;
}

// The object a record placed, found by its source line.
int32_t object_of_record(const ReportModel& model, const SourceRef& source) {
  if (!source.known()) return -1;
  for (size_t i = 0; i < model.objects.size(); ++i) {
    const SourceRef& s = model.objects[i].source;
    if (s.file == source.file && s.line == source.line) return static_cast<int32_t>(i);
  }
  return -1;
}

int32_t station_of_record(const ReportModel& model, const SourceRef& source) {
  if (!source.known()) return -1;
  for (size_t i = 0; i < model.stations.size(); ++i) {
    const SourceRef& s = model.stations[i].source;
    if (s.file == source.file && s.line == source.line) return static_cast<int32_t>(i);
  }
  return -1;
}

void link_diagnostic(ReportModel& model, ReportDiagnostic& d, int64_t cell) {
  const int32_t index = static_cast<int32_t>(model.diagnostics.size());
  d.object = cell >= 0 ? object_in_cell(model, cell) : -1;
  if (d.object < 0) d.object = object_of_record(model, d.source);
  d.station = station_of_record(model, d.source);
  if (d.object >= 0) model.objects[d.object].diagnostics.push_back(index);
  if (d.station >= 0) model.stations[d.station].diagnostics.push_back(index);
}

std::vector<std::string> note_texts(const std::vector<Note>& notes, const SourceFiles& sources) {
  std::vector<std::string> texts;
  for (const Note& note : notes) {
    const SourceRef where = source_ref(note.where, sources);
    texts.push_back((where.known() ? where.text() + ": " : std::string()) +
                    utf8_from_native(note.message));
  }
  return texts;
}

ReportDiagnostic error_of(const Recording& r, const SourceFiles& sources) {
  ReportDiagnostic d;
  d.severity = "error";
  d.name = std::to_string(r.numero);
  d.source = source_ref(r.where, sources);
  d.message = utf8_from_native(describe(r));
  d.notes = note_texts(r.notes, sources);
  if (r.has_position) d.position = r.posizione;
  d.after_stop = r.after_stop;
  return d;
}

// The errors a compile that read on found past the stop; the cells they name
// are that compile's, so they are linked by their record alone.
void add_errors_read_on(ReportModel& model, const BuildContext& read_on,
                        const SourceFiles& sources) {
  for (const Recording& r : read_on.trail.recordings) {
    if (!r.after_stop) continue;
    ReportDiagnostic d = error_of(r, sources);
    link_diagnostic(model, d, -1);
    model.diagnostics.push_back(std::move(d));
  }
}

void add_diagnostics(ReportModel& model, const BuildContext& ctx, const CompileResult& result,
                     const SourceFiles& sources, const BuildContext* read_on) {
  for (const Recording& r : ctx.trail.recordings) {
    ReportDiagnostic d = error_of(r, sources);
    link_diagnostic(model, d, r.cell);
    model.diagnostics.push_back(std::move(d));
  }
  if (read_on != nullptr) add_errors_read_on(model, *read_on, sources);
  for (const Warning& w : ctx.trail.warnings) {
    ReportDiagnostic d;
    d.severity = "warning";
    d.name = std::string(warning_name(w.kind));
    d.source = source_ref(w.where, sources);
    d.message = utf8_from_native(w.message);
    d.notes = note_texts(w.notes, sources);
    link_diagnostic(model, d, -1);
    model.diagnostics.push_back(std::move(d));
  }
  if (result.fatal_error != 0) {
    ReportDiagnostic d;
    d.severity = "error";
    d.name = std::to_string(result.fatal_error);
    const FatalExplanation fatal = explain_fatal(ctx, result.fatal_error);
    if (fatal.file != SourceFile::none) d.source.file = file_name_of(sources, fatal.file);
    d.message = utf8_from_native(fatal.text);
    link_diagnostic(model, d, 1);
    model.diagnostics.push_back(std::move(d));
  }
  if (result.cell_row_missing) {
    ReportDiagnostic d;
    d.severity = "error";
    d.message = utf8_from_native(cell_row_missing_reason(ctx));
    model.diagnostics.push_back(std::move(d));
  }
}

void add_scenario_facts(ReportModel& model, const Tabella& t) {
  const voce& train = t[kEntryTrain];
  const voce& scenario = t[kEntryScenario];
  const voce& signals = t[kEntrySignals];
  auto number = [](int64_t v) { return std::to_string(v); };
  model.scenario_facts = {
      {"route length", metres_text(train.valore2)},
      {"coaches", number(train.valore3)},
      {"braked mass", number(train.valore1) + " %"},
      {"clock at the start", clock_text(int64_t{signals.colonna10} * 3600 +
                                        int64_t{signals.colonna11} * 60 + signals.colonna12)},
      {"sand", number(signals.colonna7)},
      {"signal repetition", signals.valore3 == 0 ? std::string("none")
                                                 : number(signals.valore3) + " codes from " +
                                                       metres_text(signals.valore1) + " to " +
                                                       metres_text(signals.valore2)},
      {"backgrounds", number(scenario.valore1) + ", " + number(scenario.valore3) + ", " +
                          number(scenario.valore2)},
  };
}

void add_repetition(ReportModel& model, const Tabella& t) {
  const voce& signals = t[kEntrySignals];
  if (signals.valore3 == 0) return;
  model.repetition =
      Run{signals.valore1, std::max(signals.valore1, signals.valore2), signals.valore3};
}

void add_plan(ReportModel& model, const BuildContext& ctx) {
  const TracedPlan& plan = ctx.tracciato;
  const int32_t last = last_drawable_metre(plan);
  model.plan = simplify_plan(plan, last, kPlanTolerance);
  if (last < 0) return;
  model.kilometre_posts = model.chainage.kilometre_posts(std::max(model.first_metres, 0),
                                                         std::min(model.last_metres, last));
  // Every point the page marks on the plan, found in one pass over it.
  std::vector<int32_t> metres = {0, model.route_length};
  for (const KilometrePost& post : model.kilometre_posts) metres.push_back(post.metres);
  for (const ReportStation& s : model.stations) metres.push_back(s.position);
  for (const ReportDiagnostic& d : model.diagnostics) {
    if (d.position) metres.push_back(*d.position);
  }
  const std::vector<PlanPoint> points = plan_points(plan, metres, last);
  auto point = points.begin();
  model.plan_start = *point++;
  model.plan_route_end = *point++;
  for (size_t i = 0; i < model.kilometre_posts.size(); ++i) {
    model.kilometre_points.push_back(*point++);
  }
  for (ReportStation& s : model.stations) s.plan = *point++;
  for (ReportDiagnostic& d : model.diagnostics) {
    if (d.position) d.plan = *point++;
  }
}

void add_profiles(ReportModel& model, const std::vector<cella>& percorso) {
  model.speed_limit = cell_runs(percorso, speed_limit_kmh, false);
  model.gradient = cell_runs(percorso, gradient_permille, false);
  model.adhesion = cell_runs(
      percorso, [](const cella& c) { return int32_t{c.aderenza}; }, false);
  model.mountain = cell_runs(
      percorso, [](const cella& c) { return int32_t{c.montagna}; }, true);
  for (int category = 0; category < 3; ++category) {
    model.board_speed[category] = board_limit_runs(percorso, category, model.last_metres);
  }
  model.elevation = elevation_profile(percorso);
}

}  // namespace

std::string SourceRef::text() const {
  return known() ? file + ":" + std::to_string(line) : std::string();
}

std::string ReportDiagnostic::text() const {
  std::string prefix;
  if (source.known()) {
    prefix = source.file + ":";
    if (source.line > 0) {
      prefix += std::to_string(source.line) + ":" + std::to_string(source.column) + ":";
    }
    prefix += " ";
  }
  if (severity == "warning") return prefix + "warning: " + message + " [-W" + name + "]";
  return prefix + severity + (name.empty() ? "" : " " + name) + ": " + message +
         (after_stop ? kAfterStopMark : "");
}

int ReportModel::count(uint8_t oggetto) const {
  return static_cast<int>(std::count_if(
      objects.begin(), objects.end(), [&](const ReportObject& o) { return o.oggetto == oggetto; }));
}

ReportModel build_report_model(const Compilation& ctx, const SourceFiles& sources,
                               const Compilation* read_on) {
  ReportModel model;
  model.nome = utf8_from_native(ctx.nome);
  model.treno = utf8_from_native(ctx.treno);
  model.source_files = {file_name_of(sources, SourceFile::line),
                        file_name_of(sources, SourceFile::train)};
  model.has_cell_row = ctx.has_cell_row();
  model.chainage = Chainage(ctx.tabella);
  add_scenario_facts(model, ctx.tabella);
  add_repetition(model, ctx.tabella);
  model.route_length = ctx.tabella[kEntryTrain].valore2;
  if (model.has_cell_row) {
    model.last_metres = cell_start_metres(ctx.percorso.size());
    model.first_metres = ctx.percorso[0].oggetto != kNoObject ? cell_start_metres(0) : 0;
    model.board_category = train_board_category(ctx.percorso, model.last_metres);
    add_objects(model, ctx, sources);
    add_slowdowns(model, ctx, sources);
    add_stations(model, ctx, sources);
    add_profiles(model, ctx.percorso);
  }
  add_diagnostics(model, ctx, ctx.result, sources, read_on);
  if (model.has_cell_row) add_plan(model, ctx);
  model.run = report_run(ctx);
  return model;
}

}  // namespace scenario
