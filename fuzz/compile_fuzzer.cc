// libFuzzer target: arbitrary bytes as the two source files of one compile,
// in memory. The input is the line source, then the two bytes "%%", then the
// train source; an input without "%%" is a line source whose train source is
// missing. Besides any crash, it stops on a broken promise of the compile step:
// the same input compiles to the same files, errors and warnings every time,
// and a check that reads past errors starts with what the compile found.
// Every compile is also drawn as a report page, whatever it recorded.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "broken_promise.h"
#include "compiler/compile.h"
#include "compiler/diagnostics/cross_file_checks.h"
#include "compiler/diagnostics/diagnostics.h"
#include "compiler/diagnostics/warnings.h"
#include "compiler/format/compiled_file_decoder.h"
#include "compiler/format/compiled_files.h"
#include "compiler/scenario_records.h"
#include "compiler/source_files.h"
#include "scenarioc/report/report_model.h"
#include "scenarioc/report/report_page.h"

namespace scenario {
namespace {

constexpr std::string_view kSeparator = "%%";

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

struct Run {
  explicit Run(const CompileOptions& options) : ctx(BuildIdentity{"Prova", "1", {}}, options) {}
  Compilation ctx;
  MemorySink sink;
  std::unique_ptr<MemorySources> sources;
};

std::unique_ptr<Run> run(std::string_view input, bool check) {
  const size_t split = input.find(kSeparator);
  const bool has_train = split != std::string_view::npos;
  const std::string line(input.substr(0, split));
  const std::string train(has_train ? input.substr(split + kSeparator.size()) : "");
  auto r = std::make_unique<Run>(CompileOptions{.read_past_errors = check});
  r->sources = std::make_unique<MemorySources>(line, train);
  if (!has_train) r->sources->remove(SourceFile::train);
  compile(r->ctx, *r->sources, r->sink);
  return r;
}

std::vector<std::string> diagnostics_of(const BuildContext& ctx, const SourceFiles& sources,
                                        bool parse_only) {
  std::vector<std::string> all;
  for (const Recording& r : ctx.trail.recordings) {
    // The post-processing pass (11 to 13) runs on cells a check fills further.
    if (parse_only && r.numero >= 11 && r.numero <= 13) continue;
    all.push_back(format_diagnostic(r, sources) + (r.after_stop ? " after" : ""));
  }
  return all;
}

// Those judged on the whole scenario only when `across_files`.
std::vector<std::string> warnings_of(const BuildContext& ctx, bool across_files = true) {
  std::vector<std::string> all;
  for (const Warning& w : ctx.trail.warnings) {
    require(!w.message.empty());
    if (!across_files && judged_across_files(w.kind)) continue;
    all.push_back(std::string(warning_name(w.kind)) + " " + std::to_string(w.where.line) + ":" +
                  std::to_string(w.where.column) + " " + w.message);
  }
  return all;
}

template <typename T>
bool starts_with(const std::vector<T>& whole, const std::vector<T>& part) {
  return part.size() <= whole.size() && std::equal(part.begin(), part.end(), whole.begin());
}

bool any_15(const BuildContext& ctx) {
  return std::any_of(ctx.trail.recordings.begin(), ctx.trail.recordings.end(),
                     [](const Recording& r) { return r.numero == 15; });
}

// A check: it never crashes. What it does not mark as found after the stop,
// the compile found too, in the same words and order, and so it is with the
// warnings on single records (those judged on the whole scenario rest on every
// record the check read). A compile that goes on
// past no error 15 stops at its first error, where the check then stands in
// step with it; and a compile without any error is the check itself.
void check_against(std::string_view input, const Run& compiled) {
  const std::unique_ptr<Run> checked = run(input, true);
  std::vector<std::string> before_stop;
  for (const std::string& line : diagnostics_of(checked->ctx, *checked->sources, true)) {
    if (!line.ends_with(" after")) before_stop.push_back(line);
  }
  const std::vector<std::string> found = diagnostics_of(compiled.ctx, *compiled.sources, true);
  require(starts_with(found, before_stop));
  if (!any_15(compiled.ctx)) {
    require(before_stop == found);
    require(starts_with(warnings_of(checked->ctx, false), warnings_of(compiled.ctx, false)));
  }
  if (compiled.ctx.trail.recordings.empty()) {
    require(checked->ctx.trail.recordings.empty());
    require(warnings_of(checked->ctx) == warnings_of(compiled.ctx));
    require(checked->sink.files == compiled.sink.files);
  }
}

void compile_input(std::string_view input) {
  const std::unique_ptr<Run> first = run(input, false);
  const std::unique_ptr<Run> again = run(input, false);
  require(again->sink.files == first->sink.files);
  require(diagnostics_of(again->ctx, *again->sources, false) ==
          diagnostics_of(first->ctx, *first->sources, false));
  require(warnings_of(again->ctx) == warnings_of(first->ctx));
  check_against(input, *first);

  const Compilation& ctx = first->ctx;
  MemorySources& sources = *first->sources;
  const MemorySink& sink = first->sink;
  const CompileResult& result = ctx.result;

  require(ctx.codice_errore ==
          (ctx.trail.recordings.empty() ? 0 : ctx.trail.recordings.back().numero));
  for (const Recording& recording : ctx.trail.recordings) {
    require(!format_diagnostic(recording, sources).empty());
  }
  const std::string page = render_report_page(build_report_model(ctx, sources));
  require(page.size() > 7 && page.compare(page.size() - 8, 8, "</html>\n") == 0);
  const bool line_missing =
      !ctx.trail.recordings.empty() && ctx.trail.recordings.front().numero == 101;
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
  scenario::compile_input(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
