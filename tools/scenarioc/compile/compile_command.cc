#include "scenarioc/compile/compile_command.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "base/file_naming.h"
#include "base/folder_lock.h"
#include "base/replace_file.h"
#include "base/run_time_failure.h"
#include "base/temporary_files.h"
#include "compiler/compile_step.h"
#include "compiler/scenario_records.h"
#include "compiler/source_files.h"
#include "scenarioc/documents/document_files.h"
#include "scenarioc/output/colour.h"
#include "scenarioc/output/compile_report.h"
#include "scenarioc/output/source_excerpt.h"
#include "scenarioc/scenario_inputs.h"
#include "scenarioc/source_names.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;

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

// The sources are never written over: a compiled file may not take a source's place.
std::string overwrites_source(const fs::path& folder, const Identifiers& ids,
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

int usage_failure(std::ostream& err, const std::string& error) {
  err << "scenarioc compile: " << error << '\n' << usage_hint(Command::compile);
  return kFailure;
}

Presentation presentation_of(const CommandLine& line) {
  return {line.warnings, colour_wanted_for(line.colour, StandardStream::err)};
}

// The renames take the folder's lock, which the build and every compile into
// the folder share: two compiles into one folder leave the three files of one
// of them, never a mix. Temporary files that an ended process left there go.
class LockingFolderSink : public FolderSink {
 public:
  LockingFolderSink(const fs::path& folder, std::ostream& err)
      : FolderSink(folder), folder_(folder), err_(err) {}
  void commit() override {
    const FolderLock lock(folder_, [&] {
      err_ << "scenarioc: waiting for another build in " << folder_.string() << '\n' << std::flush;
    });
    remove_stale_temporaries(folder_);
    FolderSink::commit();
  }

 private:
  fs::path folder_;
  std::ostream& err_;
};

// --documents: the crew documents beside the compiled files, once those are
// written. A file that cannot be written is told here, after the compile's own
// report; the status is that of the documents (2 on such a failure).
int write_documents_beside(const CommandLine& line, const BuildContext& ctx,
                           const SourceFiles& sources, const DetailsSource& details,
                           DocumentsOutcome& documents, std::ostream& err) {
  std::vector<fs::path> keep = {path_from_utf8(line.files[0]), path_from_utf8(line.files[1])};
  if (details.present) keep.push_back(details.path);
  try {
    documents = write_documents(ctx, sources, details, ctx.cartella, keep, err);
  } catch (const RunTimeFailure& failure) {
    documents.failure = failure.what();
    return kFailure;
  }
  return documents.errors.empty() ? 0 : 1;
}

int compile_into(const CommandLine& line, BuildContext& ctx, AuthorSources& sources,
                 const DetailsSource* details, std::ostream& out, std::ostream& err) {
  LockingFolderSink sink(ctx.cartella, err);
  const CompileResult result = memorizza_percorso(ctx, kWriteTrackPlan, sources, sink);
  const CompileOutcome outcome{ctx, result, sources, ctx.cartella};
  int status = compile_exit_status(outcome, line.warnings);
  DocumentsOutcome documents;
  if (details && result.wrote_files()) {
    status = std::max(status, write_documents_beside(line, ctx, sources, *details, documents, err));
  }
  if (line.json) {
    Json json = compile_json(outcome, line.warnings);
    if (details) json["documents"] = documents_json(*details, documents);
    json["exit_status"] = status;
    out << json_text(json) << '\n';
  } else {
    SourceLines lines(sources);
    report_compile_text(outcome, lines, presentation_of(line), out, err);
    if (details) print_documents_outcome(documents, out, err);
  }
  return status;
}

}  // namespace

int run_compile(const CommandLine& line, std::ostream& out, std::ostream& err) {
  std::string error;
  const std::optional<Identifiers> ids = identifiers_of(line, error);
  if (!ids) return usage_failure(err, error);
  BuildContext ctx;
  ctx.nome = ids->nome;
  ctx.treno = ids->treno;
  ctx.cartella = output_folder(line);
  AuthorSources sources(path_from_utf8(line.files[0]), path_from_utf8(line.files[1]));
  try {
    check_sources(sources);
    make_folder(ctx.cartella);
    error = overwrites_source(ctx.cartella, *ids, line);
    if (!error.empty()) return usage_failure(err, error);
    std::optional<DetailsSource> details;
    if (line.documents) {
      details =
          details_for(line.details_file, path_from_utf8(line.files[1]), ids->nome, ids->treno);
      if (!details->faults.empty()) {
        print_documents_outcome({details->faults, {}, {}, ""}, out, err);
        err << "scenarioc: nothing compiled\n";
        return kFailure;
      }
    }
    return compile_into(line, ctx, sources, details ? &*details : nullptr, out, err);
  } catch (const RunTimeFailure& failure) {
    // When a compiled file could not be written, what was recorded still helps.
    if (!line.json) {
      const CompileResult nothing_written;
      SourceLines lines(sources);
      err << diagnostics_text({ctx, nothing_written, sources, ctx.cartella}, lines,
                              presentation_of(line));
    }
    err << "scenarioc: " << failure.what() << '\n';
    return kFailure;
  }
}

}  // namespace scenario
