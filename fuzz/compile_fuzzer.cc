// libFuzzer target: arbitrary bytes as the two source files of one compile,
// in memory. The input is the line source, then the two bytes "%%", then the
// train source; an input without "%%" is a line source whose train source is
// missing. Besides any crash, it stops on a broken promise of the compile step.
// Every compile is also drawn as a report page, whatever it recorded.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/compile_step.h"
#include "compiler/compiled_file_decoder.h"
#include "compiler/compiled_files.h"
#include "compiler/diagnostics.h"
#include "compiler/scenario_records.h"
#include "compiler/source_files.h"
#include "scenarioc/report_model.h"
#include "scenarioc/report_page.h"

namespace scenario {
namespace {

constexpr std::string_view kSeparator = "%%";

void require(bool holds) {
  if (!holds) std::abort();
}

// Every compiled file passes the decoder's checks, and decodes and encodes
// back to the same bytes. A track plan of a long route is left to the decode
// target: decoding millions of its elements on every run would slow the
// search for little gain.
void check_written_files(const BuildContext& ctx, const MemorySink& sink) {
  require(sink.files.size() == 3 && sink.files.count("Prova_linea.dat") == 1);
  constexpr size_t kPlanDecoded = 1 << 19;
  const std::string& plan = sink.files.at("Prova_linea.dat");
  if (plan.size() <= kPlanDecoded) {
    require(encode_track_plan(decode_track_plan(plan).tracciato) == plan);
  }
  const std::string& table = sink.files.at("Prova_1.sim");
  require(encode_station_table(decode_station_table(table)) == table);
  const std::string& bytes = sink.files.at("Prova_1.dat");
  const std::vector<cella> cells = decode_route_cells(bytes);
  require(cells.size() == ctx.percorso.size());
  require(encode_route_cells(cells) == bytes);
}

void compile(std::string_view input) {
  const size_t split = input.find(kSeparator);
  const bool has_train = split != std::string_view::npos;
  const std::string line(input.substr(0, split));
  const std::string train(has_train ? input.substr(split + kSeparator.size()) : "");
  MemorySources sources(line, train);
  if (!has_train) sources.remove(SourceFile::train);

  BuildContext ctx;
  ctx.nome = "Prova";
  ctx.treno = "1";
  MemorySink sink;
  const CompileResult result = memorizza_percorso(ctx, kWriteTrackPlan, sources, sink);

  require(ctx.codice_errore == (ctx.recordings.empty() ? 0 : ctx.recordings.back().numero));
  for (const Recording& recording : ctx.recordings) {
    require(!format_diagnostic(recording, sources).empty());
  }
  const std::string page = render_report_page(build_report_model(ctx, result, sources));
  require(page.size() > 7 && page.compare(page.size() - 8, 8, "</html>\n") == 0);
  const bool line_missing = !ctx.recordings.empty() && ctx.recordings.front().numero == 101;
  require(sources.exists(SourceFile::line) == line_missing);
  if (result.fatal_error != 0 || result.cell_row_missing) {
    require(sink.files.empty());
    if (result.cell_row_missing) require(!cell_row_missing_reason(ctx).empty());
    return;
  }
  check_written_files(ctx, sink);
}

}  // namespace
}  // namespace scenario

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  scenario::compile(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
