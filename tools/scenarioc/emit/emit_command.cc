#include "scenarioc/emit/emit_command.h"

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "base/build_identity.h"
#include "base/file_naming.h"
#include "base/replace_file.h"
#include "base/run_time_failure.h"
#include "documents/scenario_notes.h"
#include "documents/slowdown_order.h"
#include "documents/train_sheet.h"
#include "scenarioc/command_exit.h"
#include "scenarioc/output_folder.h"
#include "scenarioc/scenario_inputs.h"
#include "source/builtin_line.h"
#include "source/builtin_train.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;

// The five files in the order the build writes them.
std::vector<std::string> emitted_names(const BuildIdentity& id) {
  return {line_source_name(id.nome), train_source_name(id.nome, id.treno),
          notes_name(id.nome, id.treno), slowdown_order_name(id.nome, id.treno),
          train_sheet_name(id.nome, id.treno)};
}

// Why emit may not write `path`, or "" when it may. Without --force every
// name that exists is an author's, a dangling link included; with it, a name
// that holds anything but a file or a link still cannot be replaced.
std::string refusal(const fs::path& path, bool force) {
  std::error_code ec;
  const fs::file_status status = fs::symlink_status(path, ec);
  if (status.type() == fs::file_type::not_found) return "";
  if (ec) return "cannot write '" + path.string() + "': " + ec.message();
  if (!force) {
    return "'" + path.string() +
           "' already exists; emit does not overwrite an author's files (use --force to replace "
           "them)";
  }
  if (fs::is_directory(status)) return "cannot replace '" + path.string() + "': Is a directory";
  if (!fs::is_regular_file(status) && !fs::is_symlink(status)) {
    return "cannot replace '" + path.string() + "': not a regular file";
  }
  return "";
}

void write_all(const BuildIdentity& id) {
  dati_linea(id);
  dati_treno(id);
  dati_note(id);
  dati_rallentamenti(id);
  dati_scheda(id);
}

}  // namespace

int run_emit(const CommandLine& line, std::istream&, std::ostream& out, std::ostream& err) {
  BuildIdentity id;
  id.nome = kBuiltinNome;
  id.treno = kBuiltinTreno;
  id.cartella = line.out_dir ? path_from_utf8(*line.out_dir) : fs::path(".");
  const std::vector<std::string> names = emitted_names(id);
  // Every name is checked before the first file is written.
  for (const std::string& name : names) {
    const std::string why = refusal(file_in(id.cartella, name), line.force);
    if (!why.empty()) {
      err << "scenarioc emit: " << why << "; nothing was written\n";
      return kExitFailure;
    }
  }
  make_folder(id.cartella);
  write_all(id);
  for (const std::string& name : names) {
    out << "wrote " << printable_path(file_in(id.cartella, name)) << '\n';
  }
  return kExitOk;
}

}  // namespace scenario
