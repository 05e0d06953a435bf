#include "scenarioc/documents/documents_command.h"

#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "base/file_naming.h"
#include "base/run_time_failure.h"
#include "compiler/compile_step.h"
#include "compiler/diagnostics/diagnostics.h"
#include "compiler/scenario_records.h"
#include "compiler/source_files.h"
#include "scenarioc/documents/document_files.h"
#include "scenarioc/output/colour.h"
#include "scenarioc/output/compile_report.h"
#include "scenarioc/output/discarding_sink.h"
#include "scenarioc/output/source_excerpt.h"
#include "scenarioc/scenario_inputs.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;

constexpr int kRecorded = 1;
constexpr int kFailure = 2;

fs::path output_folder(const CommandLine& line) {
  if (line.out_dir) return path_from_utf8(*line.out_dir);
  const fs::path parent = path_from_utf8(line.files[0]).parent_path();
  return parent.empty() ? fs::path(".") : parent;
}

void make_folder(const fs::path& folder) {
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec) throw RunTimeFailure("cannot create folder '" + folder.string() + "': " + ec.message());
}

int usage_failure(std::ostream& err, const std::string& error) {
  err << "scenarioc documents: " << error << '\n' << usage_hint(Command::documents);
  return kFailure;
}

int documents_of(const CommandLine& line, const Identifiers& ids, AuthorSources& sources,
                 std::ostream& out, std::ostream& err) {
  const DetailsSource details =
      details_for(line.details_file, path_from_utf8(line.files[1]), ids.nome, ids.treno);
  if (!details.faults.empty()) {
    print_documents_outcome({details.faults, {}, {}, ""}, out, err);
    return kFailure;
  }
  // Compile set-up: the scenario compiled in memory, as `report` compiles it.
  BuildContext ctx;
  ctx.nome = ids.nome;
  ctx.treno = ids.treno;
  DiscardingSink sink;
  const CompileResult result = memorizza_percorso(ctx, kWriteTrackPlan, sources, sink);
  // End of the compile set-up.
  const CompileOutcome outcome{ctx, result, sources, {}};
  SourceLines lines(sources);
  Presentation presentation;
  presentation.colour = colour_wanted_for(ColourMode::automatic, StandardStream::err);
  err << diagnostics_text(outcome, lines, presentation);
  if (result.fatal_error != 0 || result.cell_row_missing) {
    err << "scenarioc: no document written: "
        << (result.cell_row_missing
                ? "the compile left no cell row: " + cell_row_missing_reason(ctx)
                : "fatal error " + std::to_string(result.fatal_error))
        << '\n';
    return kFailure;
  }
  const fs::path folder = output_folder(line);
  make_folder(folder);
  std::vector<fs::path> keep = {path_from_utf8(line.files[0]), path_from_utf8(line.files[1])};
  if (details.present) keep.push_back(details.path);
  const DocumentsOutcome documents = write_documents(ctx, sources, details, folder, keep, err);
  print_documents_outcome(documents, out, err);
  if (!documents.errors.empty()) return kFailure;
  if (!ctx.recordings.empty()) {
    const size_t n = ctx.recordings.size();
    err << "scenarioc: " << n << (n == 1 ? " error" : " errors")
        << " recorded; the documents were written all the same\n";
    return kRecorded;
  }
  return 0;
}

}  // namespace

int run_documents(const CommandLine& line, std::ostream& out, std::ostream& err) {
  std::string error;
  const std::optional<Identifiers> ids = identifiers_of(line, error);
  if (!ids) return usage_failure(err, error);
  AuthorSources sources(path_from_utf8(line.files[0]), path_from_utf8(line.files[1]));
  try {
    check_sources(sources);
    return documents_of(line, *ids, sources, out, err);
  } catch (const RunTimeFailure& failure) {
    err << "scenarioc: " << failure.what() << '\n';
    return kFailure;
  }
}

}  // namespace scenario
