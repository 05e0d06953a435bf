#include "scenarioc/emit_command.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
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

// Why emit may not write `path`, or "" when it may. Without --force every
// name that exists is an author's, a dangling link included; with it, a name
// that holds anything but a file or a link still cannot be replaced.
std::string refusal(const fs::path& path, bool force) {
  struct stat info;
  if (::lstat(path.c_str(), &info) != 0) {
    if (errno == ENOENT) return "";
    return "cannot write '" + path.string() + "': " + std::strerror(errno);
  }
  if (!force) {
    return "'" + path.string() +
           "' already exists; emit does not overwrite an author's files (use --force to replace "
           "them)";
  }
  if (S_ISDIR(info.st_mode)) return "cannot replace '" + path.string() + "': Is a directory";
  if (!S_ISREG(info.st_mode) && !S_ISLNK(info.st_mode)) {
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

int run_emit(const CommandLine& line, std::ostream& out, std::ostream& err) {
  BuildIdentity id;
  id.nome = kBuiltinNome;
  id.treno = kBuiltinTreno;
  id.cartella = line.out_dir ? fs::path(*line.out_dir) : fs::path(".");
  const std::vector<std::string> names = emitted_names(id);
  // Every name is checked before the first file is written.
  for (const std::string& name : names) {
    const std::string why = refusal(id.cartella / name, line.force);
    if (!why.empty()) {
      err << "scenarioc emit: " << why << "; nothing was written\n";
      return kFailure;
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
  for (const std::string& name : names) out << "wrote " << (id.cartella / name).string() << '\n';
  return 0;
}

}  // namespace scenario
