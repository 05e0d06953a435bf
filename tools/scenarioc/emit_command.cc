#include "scenarioc/emit_command.h"

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "build/build_driver.h"
#include "build/file_naming.h"
#include "build/replace_file.h"
#include "build/run_time_failure.h"
#include "compiler/scenario_records.h"
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
std::vector<std::string> emitted_names(const BuildContext& ctx) {
  return {line_source_name(ctx.nome), train_source_name(ctx.nome, ctx.treno),
          notes_name(ctx.nome, ctx.treno), slowdown_order_name(ctx.nome, ctx.treno),
          train_sheet_name(ctx.nome, ctx.treno)};
}

void write_all(const BuildContext& ctx) {
  dati_linea(ctx);
  dati_treno(ctx);
  dati_note(ctx);
  dati_rallentamenti(ctx);
  dati_scheda(ctx);
}

}  // namespace

int run_emit(const CommandLine& line, std::ostream& out, std::ostream& err) {
  BuildContext ctx;
  ctx.nome = kBuiltinNome;
  ctx.treno = kBuiltinTreno;
  ctx.cartella = line.out_dir ? fs::path(*line.out_dir) : fs::path(".");
  const std::vector<std::string> names = emitted_names(ctx);
  if (!line.force) {
    for (const std::string& name : names) {
      if (file_exists(ctx.cartella / name)) {
        err << "scenarioc emit: '" << (ctx.cartella / name).string()
            << "' already exists; emit does not overwrite an author's files (use --force "
               "to replace them)\n";
        return kFailure;
      }
    }
  }
  try {
    std::error_code ec;
    fs::create_directories(ctx.cartella, ec);
    if (ec) {
      throw RunTimeFailure("cannot create folder '" + ctx.cartella.string() + "': " + ec.message());
    }
    write_all(ctx);
  } catch (const RunTimeFailure& failure) {
    err << "scenarioc: " << failure.what() << '\n';
    return kFailure;
  }
  for (const std::string& name : names) out << "wrote " << (ctx.cartella / name).string() << '\n';
  return 0;
}

}  // namespace scenario
