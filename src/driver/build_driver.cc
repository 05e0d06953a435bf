#include "driver/build_driver.h"

#include <exception>
#include <string>

#include "base/file_naming.h"
#include "base/locked_folder.h"
#include "base/replace_file.h"
#include "base/run_time_failure.h"
#include "compiler/compile.h"
#include "compiler/diagnostics/diagnostics.h"
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

void set_identifiers(BuildIdentity& id) {
  id.nome = kBuiltinNome;
  id.treno = kBuiltinTreno;
}

// A build that ends by a failure takes its two source files with it: they are
// its own intermediate files, and a later build writes them anew.
class SourcesRemovedOnFailure {
 public:
  explicit SourcesRemovedOnFailure(const BuildIdentity& id)
      : paths_{file_in(id.cartella, line_source_name(id.nome)),
               file_in(id.cartella, train_source_name(id.nome, id.treno))},
        exceptions_(std::uncaught_exceptions()) {}
  ~SourcesRemovedOnFailure() {
    if (std::uncaught_exceptions() == exceptions_) return;
    for (const std::filesystem::path& path : paths_) {
      try {
        if (file_exists(path)) delete_file(path);
      } catch (const RunTimeFailure&) {
        // The failure being reported matters more; the file stays.
      }
    }
  }

 private:
  std::filesystem::path paths_[2];
  int exceptions_;
};

void report_recorded_errors(const ExplanationTrail& trail, const SourceFiles& sources,
                            std::ostream& err) {
  for (const Recording& recording : trail.recordings) {
    err << format_diagnostic(recording, sources) << '\n';
  }
}

// The compile step, `memorizza_percorso`, into the build's folder. Returns the exit status.
int compile_sources(const BuildIdentity& id, UserInterface& ui, std::ostream& err) {
  FolderSources sources(id.cartella, id.nome, id.treno);
  FolderSink sink(id.cartella);
  Compilation compiled(id);
  compile(compiled, sources, sink);
  const CompileResult& result = compiled.result;
  report_recorded_errors(compiled.trail, sources, err);
  if (result.fatal_error != 0) {
    err << format_fatal_diagnostic(compiled, result.fatal_error, sources, kProgram) << '\n';
    errore(ui, std::to_string(result.fatal_error));
    return 1;
  }
  if (result.cell_row_missing) {
    err << kProgram << ": no compiled file written: " << cell_row_missing_reason(compiled) << '\n';
    return 1;
  }
  return 0;
}

}  // namespace

int Form_Load(UserInterface& ui, const std::filesystem::path& folder, std::ostream& err,
              BuildTrace* trace) {
  BuildIdentity id;
  id.cartella = folder;
  // Held to the end: a second build in the folder waits for this one, and a
  // set that a killed build left half replaced is whole before this one starts.
  const LockedFolder lock(folder, [&](const std::string& line) {
    err << kProgram << ": " << line << '\n' << std::flush;
  });
  trace_step(trace, "set nome and treno");
  set_identifiers(id);
  const SourcesRemovedOnFailure cleanup(id);
  trace_step(trace, "show the window");
  ui.show_waiting_window();
  trace_step(trace, "dati_linea");
  dati_linea(id);
  trace_step(trace, "dati_treno");
  dati_treno(id);
  trace_step(trace, "dati_note");
  dati_note(id);
  trace_step(trace, "dati_rallentamenti");
  dati_rallentamenti(id);
  trace_step(trace, "dati_scheda");
  dati_scheda(id);
  trace_step(trace, "memorizza_percorso");
  return compile_sources(id, ui, err);
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
