#include "scenarioc/emit_command.h"

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
#include "source/builtin_line.h"
#include "source/builtin_train.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;

constexpr int kFailure = 2;

// The five files in the order the build writes them.
std::vector<std::string> emitted_names(const BuildIdentity& id) {
  return {line_source_name(id.nome), train_source_name(id.nome, id.treno),
          notes_name(id.nome, id.treno), slowdown_order_name(id.nome, id.treno),
          train_sheet_name(id.nome, id.treno)};
}

void write_all(const BuildIdentity& id) {
  dati_linea(id);
  dati_treno(id);
  dati_note(id);
  dati_rallentamenti(id);
  dati_scheda(id);
}

}  // namespace

int run_emit(const CommandLine& line, std::ostream& out, std::ostream& err) {
  BuildIdentity id;
  id.nome = kBuiltinNome;
  id.treno = kBuiltinTreno;
  id.cartella = line.out_dir ? path_from_utf8(*line.out_dir) : fs::path(".");
  const std::vector<std::string> names = emitted_names(id);
  if (!line.force) {
    for (const std::string& name : names) {
      if (file_exists(file_in(id.cartella, name))) {
        err << "scenarioc emit: '" << file_in(id.cartella, name).string()
            << "' already exists; emit does not overwrite an author's files (use --force "
               "to replace them)\n";
        return kFailure;
      }
    }
  }
  try {
    std::error_code ec;
    fs::create_directories(id.cartella, ec);
    if (ec) {
      throw RunTimeFailure("cannot create folder '" + id.cartella.string() + "': " + ec.message());
    }
    write_all(id);
  } catch (const RunTimeFailure& failure) {
    err << "scenarioc: " << failure.what() << '\n';
    return kFailure;
  }
  for (const std::string& name : names) {
    out << "wrote " << file_in(id.cartella, name).string() << '\n';
  }
  return 0;
}

}  // namespace scenario
