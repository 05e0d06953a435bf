#include "scenarioc/compile/compile_command.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "base/file_naming.h"
#include "base/replace_file.h"
#include "base/run_time_failure.h"
#include "scenarioc/command_exit.h"
#include "scenarioc/documents/document_files.h"
#include "scenarioc/folder_access.h"
#include "scenarioc/output/colour.h"
#include "scenarioc/output/compile_report.h"
#include "scenarioc/output/source_excerpt.h"
#include "scenarioc/output_folder.h"
#include "scenarioc/scenario_inputs.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;

// The sources are never written over: a compiled file may not take a source's place.
std::string overwrites_source(const fs::path& folder, const ScenarioFiles& ids,
                              const CommandLine& line) {
  for (const std::string& name :
       {track_plan_name(ids.nome), station_table_name(ids.nome, ids.treno),
        route_cells_name(ids.nome, ids.treno)}) {
    for (const std::string& source : line.files) {
      if (same_file(file_in(folder, name), path_from_utf8(source))) {
        return "the compiled file '" + file_in(folder, name).string() +
               "' would replace the source '" + source + "'";
      }
    }
  }
  return "";
}

Presentation presentation_of(const CommandLine& line) {
  return {line.warnings, colour_wanted_for(line.colour, StandardStream::err)};
}

// --documents: the crew documents beside the compiled files, once those are
// written. A file that cannot be written is told here, after the compile's own
// report; the status is that of the documents (2 on such a failure).
int write_documents_beside(const CommandLine& line, const fs::path& folder,
                           const AuthorCompile& compiled, const DetailsSource& details,
                           DocumentsOutcome& documents, std::ostream& err) {
  std::vector<fs::path> keep = {path_from_utf8(line.files[0]), path_from_utf8(line.files[1])};
  if (details.present) keep.push_back(details.path);
  try {
    documents =
        write_documents(compiled.compilation(), compiled.sources(), details, folder, keep, err);
  } catch (const RunTimeFailure& failure) {
    documents.failure = failure.what();
    return kExitFailure;
  }
  return documents.errors.empty() ? kExitOk : kExitRecorded;
}

int compile_into(const CommandLine& line, const fs::path& folder, AuthorCompile& compiled,
                 const DetailsSource* details, std::ostream& out, std::ostream& err) {
  {
    // Held to the end of the compile: two compiles into one folder, or a
    // compile and a build, take turns, and each leaves a whole set. The
    // documents take the lock again for their own set.
    const LockedFolder lock(folder, told_on(err));
    FolderSink sink(folder);
    compiled.compile(sink);
  }
  const CompileOutcome outcome = compiled.outcome(folder);
  int status = compile_exit_status(outcome, line.warnings);
  DocumentsOutcome documents;
  if (details && outcome.result.wrote_files()) {
    status =
        std::max(status, write_documents_beside(line, folder, compiled, *details, documents, err));
  }
  if (line.json) {
    Json json = compile_json(outcome, line.warnings);
    if (details) json["documents"] = documents_json(*details, documents);
    end_compile_json(json, status);
    out << json_text(json) << '\n';
  } else {
    report_compile_text(outcome, compiled.lines(), presentation_of(line), out, err);
    if (details) print_documents_outcome(documents, out, err);
  }
  return status;
}

}  // namespace

int run_compile(const CommandLine& line, std::istream&, std::ostream& out, std::ostream& err) {
  std::optional<AuthorCompile> compiled;
  return compile_scenario(line, given_scenario_files(line), compiled, out, err);
}

int compile_scenario(const CommandLine& line, const ScenarioFiles& scenario,
                     std::optional<AuthorCompile>& compiled, std::ostream& out, std::ostream& err) {
  const fs::path folder = output_folder(line);
  try {
    compiled.emplace(scenario);
    make_folder(folder);
    const std::string error = overwrites_source(folder, scenario, line);
    if (!error.empty()) throw UsageFailure(error);
    std::optional<DetailsSource> details;
    if (line.documents) {
      details = details_for(line.details_file, scenario.train_file, scenario.nome, scenario.treno);
      if (!details->faults.empty()) {
        print_documents_outcome({details->faults, {}, {}, ""}, out, err);
        err << "scenarioc: nothing compiled\n";
        return kExitFailure;
      }
    }
    return compile_into(line, folder, *compiled, details ? &*details : nullptr, out, err);
  } catch (const RunTimeFailure&) {
    // When a compiled file could not be written, what was recorded still helps.
    if (!line.json && compiled) {
      err << diagnostics_text(compiled->outcome(folder), compiled->lines(), presentation_of(line));
    }
    throw;
  }
}

}  // namespace scenario
