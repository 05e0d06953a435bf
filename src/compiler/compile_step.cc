#include "compiler/compile_step.h"

#include "base/file_naming.h"
#include "compiler/competition_codes.h"
#include "compiler/format/binary_layout.h"
#include "compiler/format/compiled_files.h"
#include "compiler/parse/parser.h"
#include "compiler/post_processing.h"

namespace scenario {
namespace {

using cell_layout::kHeaderCell;

void clear_tabella(Tabella& tabella) { tabella.fill(voce{}); }

void write_compiled_files(const BuildContext& ctx, bool track_plan, CompiledFileSink& sink,
                          CompileResult& result) {
  // `content` is the file's bytes, or a ContentWriter or PlacedContent that makes them.
  auto write = [&](const std::string& name, const auto& content) {
    sink.write_file(name, content);
    result.files_written.push_back(name);
  };
  if (track_plan) {
    write(track_plan_name(ctx.nome),
          PlacedContent{track_plan_size(ctx.tracciato), [&](const PlacedBlockSink& put) {
                          encode_track_plan(ctx.tracciato, put);
                        }});
  }
  write(station_table_name(ctx.nome, ctx.treno), encode_station_table(ctx.tabella));
  write(route_cells_name(ctx.nome, ctx.treno), encode_route_cells(ctx.percorso));
  sink.commit();
}

}  // namespace

CompileResult memorizza_percorso(BuildContext& ctx, const CompileOptions& options,
                                 SourceFiles& sources, CompiledFileSink& sink) {
  CompileResult result;
  ctx.codice_errore = 0;
  ctx.trail = {};
  clear_tabella(ctx.tabella);
  memorizza_dati(ctx, sources, options);
  run_post_processing(ctx);

  // Cell 1 doubles as the header cell; a row too short to hold it is no row.
  if (ctx.percorso.size() <= kHeaderCell) {
    result.cell_row_missing = true;
    return result;
  }
  cella& header = ctx.percorso[kHeaderCell];
  voce& scenario_entry = ctx.tabella[kEntryScenario];
  if (scenario_entry.colonna7 != 0 || header.dato1 != 0) {
    result.fatal_error = 1250;
    return result;
  }
  scenario_entry.colonna7 = station_layout::kHeaderColonna7;
  header.dato1 = cell_layout::kHeaderValue;
  if (scenario_entry.orario != 0 || header.dato2 != 0) {
    result.fatal_error = 1251;
    return result;
  }
  scenario_entry.orario = codice_gara_st(ctx);
  header.dato2 = codice_gara_og(ctx);
  write_compiled_files(ctx, options.track_plan, sink, result);
  return result;
}

}  // namespace scenario
