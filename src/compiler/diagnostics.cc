#include "compiler/diagnostics.h"

namespace scenario {

std::string describe(const Recording& recording) {
  std::string text = "error " + std::to_string(recording.numero);
  if (recording.has_position) text += " at " + std::to_string(recording.posizione) + " m";
  return text;
}

std::string format_diagnostic(const Recording& recording, const SourceFiles& sources) {
  std::string prefix;
  if (recording.where.file != SourceFile::none) {
    prefix = sources.display_name(recording.where.file) + ":" +
             std::to_string(recording.where.line) + ":" + std::to_string(recording.where.column) +
             ": ";
  }
  return prefix + "error " + std::to_string(recording.numero) + ": " + describe(recording);
}

std::string cell_row_missing_reason(const BuildContext& ctx) {
  return "the parse stopped before the route length was read (error " +
         std::to_string(ctx.codice_errore) + ")";
}

}  // namespace scenario
