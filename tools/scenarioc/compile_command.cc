#include "scenarioc/compile_command.h"

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
#include "compiler/diagnostics.h"
#include "compiler/scenario_records.h"
#include "compiler/source_files.h"
#include "scenarioc/compile_report.h"
#include "scenarioc/source_names.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;

constexpr int kFailure = 2;

struct Identifiers {
  std::string nome;
  std::string treno;
};

// `nome` and `treno` from the flags, else from the file names; an empty
// `error` when both are known.
std::optional<Identifiers> identifiers_of(const CommandLine& line, std::string& error) {
  const fs::path line_file = line.files[0];
  const fs::path train_file = line.files[1];
  std::optional<std::string> nome = line.name;
  if (!nome) nome = name_from_line_file(line_file.filename().string());
  const std::optional<TrainFileName> from_train =
      split_train_file(train_file.filename().string(), nome);
  if (!nome && from_train) nome = from_train->nome;
  std::optional<std::string> treno = line.train;
  if (!treno && from_train) treno = from_train->treno;
  if (!nome) {
    error = "cannot tell the scenario name: '" + line_file.filename().string() +
            "' is not named NAME_linea.txt and '" + train_file.filename().string() +
            "' is not named NAME_NUMBER-.txt; give it with --name NAME";
    return std::nullopt;
  }
  if (!treno) {
    error = "cannot tell the train number: '" + train_file.filename().string() +
            "' is not named NAME_NUMBER-.txt; give it with --train NUMBER";
    return std::nullopt;
  }
  for (const auto& [what, value] :
       {std::pair{"the scenario name", *nome}, std::pair{"the train number", *treno}}) {
    error = unusable_identifier(what, value);
    if (!error.empty()) return std::nullopt;
  }
  return Identifiers{*nome, *treno};
}

fs::path output_folder(const CommandLine& line) {
  if (line.out_dir) return *line.out_dir;
  const fs::path parent = fs::path(line.files[0]).parent_path();
  return parent.empty() ? fs::path(".") : parent;
}

void make_folder(const fs::path& folder) {
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec) throw RunTimeFailure("cannot create folder '" + folder.string() + "': " + ec.message());
}

bool same_file(const fs::path& a, const fs::path& b) {
  std::error_code ec;
  return fs::equivalent(a, b, ec);
}

// The sources are never written over: a compiled file may not take a source's place.
std::string overwrites_source(const fs::path& folder, const Identifiers& ids,
                              const CommandLine& line) {
  for (const std::string& name :
       {track_plan_name(ids.nome), station_table_name(ids.nome, ids.treno),
        route_cells_name(ids.nome, ids.treno)}) {
    for (const std::string& source : line.files) {
      if (same_file(folder / name, source)) {
        return "the compiled file '" + (folder / name).string() + "' would replace the source '" +
               source + "'";
      }
    }
  }
  return "";
}

int usage_failure(std::ostream& err, const std::string& error) {
  err << "scenarioc compile: " << error << '\n' << usage_hint(Command::compile);
  return kFailure;
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

int compile_into(const CommandLine& line, BuildContext& ctx, AuthorSources& sources,
                 std::ostream& out, std::ostream& err) {
  LockingFolderSink sink(ctx.cartella, err);
  const CompileResult result = memorizza_percorso(ctx, kWriteTrackPlan, sources, sink);
  const CompileOutcome outcome{ctx, result, sources, ctx.cartella};
  if (line.json) {
    report_compile_json(outcome, out);
  } else {
    report_compile_text(outcome, out, err);
  }
  return compile_exit_status(outcome);
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
  AuthorSources sources(line.files[0], line.files[1]);
  try {
    // A missing line file is the compiler's own error 101. A train file that
    // cannot be read would only fail inside the parse, after the line had been
    // compiled, so it is refused before anything is written.
    sources.open_both();
    make_folder(ctx.cartella);
    error = overwrites_source(ctx.cartella, *ids, line);
    if (!error.empty()) return usage_failure(err, error);
    return compile_into(line, ctx, sources, out, err);
  } catch (const RunTimeFailure& failure) {
    // When a compiled file could not be written, what was recorded still helps.
    if (!line.json) {
      for (const Recording& r : ctx.recordings) err << format_diagnostic(r, sources) << '\n';
    }
    err << "scenarioc: " << failure.what() << '\n';
    return kFailure;
  }
}

}  // namespace scenario
