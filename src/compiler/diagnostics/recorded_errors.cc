#include "compiler/diagnostics/recorded_errors.h"

#include <utility>

#include "compiler/scenario_records.h"

namespace scenario {

void record_error(BuildContext& ctx, Recording recording) {
  if (ctx.trail.past_compile_stop) recording.after_stop = true;
  ctx.codice_errore = recording.numero;
  if (recording.has_position) ctx.posizione_errore = recording.posizione;
  ctx.trail.recordings.push_back(std::move(recording));
}

}  // namespace scenario
