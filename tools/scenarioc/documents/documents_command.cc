#include "scenarioc/documents/documents_command.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "compiler/diagnostics/diagnostics.h"
#include "scenarioc/author_compile.h"
#include "scenarioc/command_exit.h"
#include "scenarioc/documents/document_files.h"
#include "scenarioc/output/colour.h"
#include "scenarioc/output/compile_report.h"
#include "scenarioc/output_folder.h"
#include "scenarioc/scenario_inputs.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;

// The compiler's errors and warnings on `err`, as compile prints them;
// returns false, with the reason told, when the compile left nothing to
// write documents from.
bool report_compile(AuthorCompile& compiled, std::ostream& err) {
  Presentation presentation;
  presentation.colour = colour_wanted_for(ColourMode::automatic, StandardStream::err);
  err << diagnostics_text(compiled.outcome(), compiled.lines(), presentation);
  const Compilation& c = compiled.compilation();
  if (c.result.fatal_error == 0 && !c.result.cell_row_missing) return true;
  err << "scenarioc: no document written: "
      << (c.result.cell_row_missing ? "the compile left no cell row: " + cell_row_missing_reason(c)
                                    : "fatal error " + std::to_string(c.result.fatal_error))
      << '\n';
  return false;
}

int documents_of(const CommandLine& line, const ScenarioFiles& scenario, std::ostream& out,
                 std::ostream& err) {
  AuthorCompile compiled(scenario);
  const DetailsSource details =
      details_for(line.details_file, scenario.train_file, scenario.nome, scenario.treno);
  if (!details.faults.empty()) {
    print_documents_outcome({details.faults, {}, {}, ""}, out, err);
    return kExitFailure;
  }
  compiled.compile();
  if (!report_compile(compiled, err)) return kExitFailure;
  const fs::path folder = output_folder(line);
  make_folder(folder);
  std::vector<fs::path> keep = {scenario.line_file, scenario.train_file};
  if (details.present) keep.push_back(details.path);
  const DocumentsOutcome documents =
      write_documents(compiled.compilation(), compiled.sources(), details, folder, keep, err);
  print_documents_outcome(documents, out, err);
  if (!documents.errors.empty()) return kExitFailure;
  const size_t n = compiled.compilation().trail.recordings.size();
  if (n == 0) return kExitOk;
  err << "scenarioc: " << n << (n == 1 ? " error" : " errors")
      << " recorded; the documents were written all the same\n";
  return kExitRecorded;
}

}  // namespace

int run_documents(const CommandLine& line, std::istream&, std::ostream& out, std::ostream& err) {
  return documents_of(line, given_scenario_files(line), out, err);
}

}  // namespace scenario
