// libFuzzer target: arbitrary bytes as each of the three compiled files, the
// way `scenarioc dump` decodes and shows them. A decoder either throws
// RunTimeFailure or returns records that encode back to exactly the bytes it
// was given; the dump shows whatever a decoder returns, as text and as JSON.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "base/run_time_failure.h"
#include "compiler/cell_text.h"
#include "compiler/compiled_file_decoder.h"
#include "compiler/compiled_files.h"
#include "compiler/scenario_records.h"
#include "scenarioc/dump_text.h"

namespace scenario {
namespace {

void require(bool holds) {
  if (!holds) std::abort();
}

// Runs one decoder; a failure must say at which byte the fault lies.
template <typename Decode>
void decode_or_fail_cleanly(Decode decode) {
  try {
    decode();
  } catch (const RunTimeFailure& failure) {
    require(std::string_view(failure.what()).substr(0, 5) == "byte ");
  }
}

// The plain dump, the JSON dump, and the dump of every cell or every metre.
template <typename Dump>
void dump_every_way(Dump dump, size_t size) {
  for (const DumpView& view :
       {DumpView{"fuzz", size, false, false, false}, DumpView{"fuzz", size, false, true, false},
        DumpView{"fuzz", size, true, false, true}, DumpView{"fuzz", size, true, true, true}}) {
    require(!dump(view).empty());
  }
}

void decode_all(std::string_view bytes) {
  decode_or_fail_cleanly([&] {
    const DecodedTrackPlan plan = decode_track_plan(bytes);
    require(encode_track_plan(plan.tracciato) == bytes);
    dump_every_way([&](const DumpView& view) { return dump_track_plan(plan, view); }, bytes.size());
  });
  decode_or_fail_cleanly([&] {
    const Tabella table = decode_station_table(bytes);
    require(encode_station_table(table) == bytes);
    dump_every_way([&](const DumpView& view) { return dump_station_table(table, view); },
                   bytes.size());
  });
  decode_or_fail_cleanly([&] {
    const std::vector<cella> cells = decode_route_cells(bytes);
    require(encode_route_cells(cells) == bytes);
    for (size_t i = 0; i < cells.size(); ++i) require(!describe_cell(i, cells[i]).empty());
    dump_every_way([&](const DumpView& view) { return dump_route_cells(cells, view); },
                   bytes.size());
  });
}

}  // namespace
}  // namespace scenario

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  scenario::decode_all(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
