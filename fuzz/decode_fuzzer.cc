// libFuzzer target: arbitrary bytes as each of the three compiled files, the
// way `scenarioc dump` decodes and shows them. A decoder either throws
// RunTimeFailure or returns records that encode back to exactly the bytes it
// was given and that keep every invariant of a compiled file, checked here
// apart from the decoder; the dump shows whatever a decoder returns, as text
// and as JSON.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/run_time_failure.h"
#include "broken_promise.h"
#include "compiler/competition_codes.h"
#include "compiler/format/binary_layout.h"
#include "compiler/format/cell_text.h"
#include "compiler/format/compiled_file_decoder.h"
#include "compiler/format/compiled_files.h"
#include "compiler/scenario_records.h"
#include "scenarioc/dump/dump_text.h"

namespace scenario {
namespace {

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

// Metres 0 and 1 at (0, 0) and (0, 1) as integers, then doubles from metre 2
// without a gap and never in the last two metres; or nothing at all.
void require_plan_invariants(const DecodedTrackPlan& plan, std::size_t size) {
  require(size <= track_layout::kMaxFileSize);
  require(plan.metri_totali >= 1 &&
          plan.metri_totali < static_cast<int32_t>(track_layout::kMaxMetres));
  const Tracciato& t = plan.tracciato;
  const bool traced = t.entry(0, 0).tag != TrackTag::empty;
  bool gap = false;
  for (int32_t m = 0; m <= plan.metri_totali; ++m) {
    const TrackTag tag = t.entry(m, 0).tag;
    require(t.entry(m, 1).tag == tag);
    if (!traced) {
      require(tag == TrackTag::empty);
    } else if (m <= 1) {
      require(tag == TrackTag::int16 && t.value(m, 0) == 0 && t.value(m, 1) == m);
    } else if (tag == TrackTag::real) {
      require(!gap && m <= plan.metri_totali - 2);
    } else {
      require(tag == TrackTag::empty);
      gap = true;
    }
  }
}

// At least the header cell, whose values are the header's; only kinds the
// compiler places.
void require_cell_invariants(const std::vector<cella>& cells) {
  require(cells.size() >= 2 && cells.size() <= cell_layout::kMaxCells);
  require(cells[1].dato1 == cell_layout::kHeaderValue);
  require(cells[1].dato2 >= 0 && cells[1].dato2 <= kMaxCodiceGaraOg);
  for (const cella& c : cells) {
    require(c.oggetto <= kIndicationBoard && (c.oggetto < 7 || c.oggetto > 9));
  }
}

// Record 0 empty; record 85 with 610 and the code of the texts of 86 and 85.
void require_table_invariants(const Tabella& table, std::string_view bytes) {
  require(bytes.size() <= station_layout::kMaxFileSize);
  require(bytes.substr(0, station_layout::kFixedSize) ==
          std::string(station_layout::kFixedSize, '\0'));
  require(table[kEntryScenario].colonna7 == station_layout::kHeaderColonna7);
  require(table[kEntryScenario].orario == codice_gara_st(table));
}

void decode_all(std::string_view bytes) {
  decode_or_fail_cleanly([&] {
    const DecodedTrackPlan plan = decode_track_plan(bytes);
    require(encode_track_plan(plan.tracciato) == bytes);
    require_plan_invariants(plan, bytes.size());
    dump_every_way([&](const DumpView& view) { return dump_track_plan(plan, view); }, bytes.size());
  });
  decode_or_fail_cleanly([&] {
    const Tabella table = decode_station_table(bytes);
    require(encode_station_table(table) == bytes);
    require_table_invariants(table, bytes);
    dump_every_way([&](const DumpView& view) { return dump_station_table(table, view); },
                   bytes.size());
  });
  decode_or_fail_cleanly([&] {
    const std::vector<cella> cells = decode_route_cells(bytes);
    require(encode_route_cells(cells) == bytes);
    require_cell_invariants(cells);
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
