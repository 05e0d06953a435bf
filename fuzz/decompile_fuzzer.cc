// libFuzzer target: arbitrary bytes as a compiled set, the way `scenarioc
// decompile` takes it. The input is the track plan, the station table and the
// route cells, the first two each after its length in 4 bytes little-endian;
// a plan length of FFFFFFFF stands for a straight plan as long as the
// table's route length asks, so that a small input holds a whole set and the
// search spends its mutations on the cells and the table. The decompiler
// either refuses the set with RunTimeFailure or gives sources that it says
// compile to the same bytes exactly when a compile of them does; the same
// set always gives the same sources.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/file_naming.h"
#include "base/run_time_failure.h"
#include "broken_promise.h"
#include "compiler/compile.h"
#include "compiler/decompile/decompile.h"
#include "compiler/format/binary_layout.h"
#include "compiler/format/compiled_file_decoder.h"
#include "compiler/format/compiled_files.h"
#include "compiler/plan/traced_plan.h"
#include "compiler/source_files.h"

namespace scenario {
namespace {

constexpr uint32_t kStraightPlan = 0xFFFFFFFF;

// The next part of the input after its 4-byte length, cut at the input's end.
std::string_view take_part(std::string_view& input, uint32_t& length) {
  length = input.size() >= 4 ? static_cast<uint32_t>(load_le(input.data(), 4)) : 0;
  input.remove_prefix(input.size() >= 4 ? 4 : input.size());
  if (length == kStraightPlan) return {};
  const std::string_view part = input.substr(0, length);
  input.remove_prefix(part.size());
  return part;
}

// A plan traced straight from metre 2, as long as the table's route length
// asks; empty when the table cannot be read or the length is out of range.
std::string straight_plan(std::string_view table) {
  try {
    const int32_t length = decode_station_table(table)[kEntryTrain].valore2;
    if (length < -kRowBeyondEnd + 4 || length > kMaxRouteLength) return "";
    const int32_t metri_totali = length + kRowBeyondEnd;
    TracedPlan plan;
    plan.create(metri_totali);
    plan.set_int16(0, 0, 0);
    plan.set_int16(0, 1, 0);
    plan.set_int16(1, 0, 0);
    plan.set_int16(1, 1, 1);
    plan.trace(2, metri_totali - 2, 0);
    return encode_track_plan(plan);
  } catch (const RunTimeFailure&) {
    return "";
  }
}

void decompile_input(std::string_view input) {
  uint32_t plan_length = 0;
  uint32_t table_length = 0;
  const std::string_view given_plan = take_part(input, plan_length);
  const std::string_view table = take_part(input, table_length);
  const std::string_view cells = input;
  const std::string plan =
      plan_length == kStraightPlan ? straight_plan(table) : std::string(given_plan);

  CompiledSet set;
  set.track_plan = plan;
  set.station_table = table;
  set.route_cells = cells;
  DecompiledScenario d;
  try {
    d = decompile(set);
  } catch (const RunTimeFailure& failure) {
    require(std::string_view(failure.what()).find(": ") != std::string_view::npos);
    return;
  }
  // The same sources without the round trip.
  const DecompiledScenario again = decompile_sources(set);
  require(again.line == d.line && again.train == d.train);
  require(d.identical || !d.warnings.empty());

  // A compile of the sources apart from the decompiler's own round trip.
  Compilation compiled(BuildIdentity{d.nome, d.treno, {}});
  MemorySources sources(d.line, d.train);
  MemorySink sink;
  compile(compiled, sources, sink);
  const bool same = compiled.result.wrote_files() && sink.files.size() == 3 &&
                    sink.files.at(track_plan_name(d.nome)) == plan &&
                    sink.files.at(station_table_name(d.nome, d.treno)) == table &&
                    sink.files.at(route_cells_name(d.nome, d.treno)) == cells;
  require(same == d.identical);
}

}  // namespace
}  // namespace scenario

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  scenario::decompile_input(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
