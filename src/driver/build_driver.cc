#include "driver/build_driver.h"

#include <string>

#include "base/run_time_failure.h"
#include "compiler/compile_step.h"
#include "compiler/diagnostics.h"
#include "compiler/scenario_records.h"
#include "documents/scenario_notes.h"
#include "documents/slowdown_order.h"
#include "documents/train_sheet.h"
#include "driver/fatal_error.h"
#include "source/builtin_line.h"
#include "source/builtin_train.h"

namespace scenario {
namespace {

constexpr std::string_view kProgram = "velmora_dorsel";

void trace_step(BuildTrace* trace, std::string_view name) {
  if (trace) trace->step(name);
}

void set_identifiers(BuildContext& ctx) {
  ctx.nome = kBuiltinNome;
  ctx.treno = kBuiltinTreno;
}

void report_recorded_errors(const BuildContext& ctx, const SourceFiles& sources,
                            std::ostream& err) {
  for (const Recording& recording : ctx.recordings) {
    err << format_diagnostic(recording, sources) << '\n';
  }
}

// Step 8. Returns the exit status.
int compile(BuildContext& ctx, UserInterface& ui, std::ostream& err) {
  FolderSources sources(ctx.cartella, ctx.nome, ctx.treno);
  FolderSink sink(ctx.cartella);
  const CompileResult result = memorizza_percorso(ctx, kWriteTrackPlan, sources, sink);
  report_recorded_errors(ctx, sources, err);
  if (result.fatal_error != 0) {
    err << format_fatal_diagnostic(ctx, result.fatal_error, sources, kProgram) << '\n';
    errore(ui, std::to_string(result.fatal_error));
    return 1;
  }
  if (result.cell_row_missing) {
    err << kProgram << ": no compiled file written: " << cell_row_missing_reason(ctx) << '\n';
    return 1;
  }
  return 0;
}

}  // namespace

int Form_Load(UserInterface& ui, const std::filesystem::path& folder, std::ostream& err,
              BuildTrace* trace) {
  BuildContext ctx;
  ctx.cartella = folder;
  trace_step(trace, "set nome and treno");
  set_identifiers(ctx);
  trace_step(trace, "show the window");
  ui.show_waiting_window();
  trace_step(trace, "dati_linea");
  dati_linea(ctx);
  trace_step(trace, "dati_treno");
  dati_treno(ctx);
  trace_step(trace, "dati_note");
  dati_note(ctx);
  trace_step(trace, "dati_rallentamenti");
  dati_rallentamenti(ctx);
  trace_step(trace, "dati_scheda");
  dati_scheda(ctx);
  trace_step(trace, "memorizza_percorso");
  return compile(ctx, ui, err);
}

int report_run_time_failure(UserInterface& ui, const RunTimeFailure& failure, std::ostream& err) {
  const std::string text = std::string(kProgram) + ": " + failure.what();
  err << text << '\n';
  if (ui.is_graphical()) ui.show_message(text);
  return 1;
}

void end_build(UserInterface& ui, BuildTrace* trace) {
  trace_step(trace, "end");
  ui.close();
}

}  // namespace scenario
