#include "compiler/decompile/compiled_set.h"

#include "base/run_time_failure.h"
#include "compiler/cells.h"
#include "compiler/format/compiled_file_decoder.h"

namespace scenario {
namespace {

// Runs one decoder, its failure prefixed with the file's name.
template <typename Decode>
auto decoded(const std::string& file, Decode decode) {
  try {
    return decode();
  } catch (const RunTimeFailure& failure) {
    fail_in(file, failure.what());
  }
}

std::string str(int64_t v) { return std::to_string(v); }

}  // namespace

DecodedSet::DecodedSet(const CompiledSet& set)
    : files(set),
      plan(decoded(set.track_plan_name, [&] { return TrackPlanView(set.track_plan); })),
      tabella(
          decoded(set.station_table_name, [&] { return decode_station_table(set.station_table); })),
      percorso(decoded(set.route_cells_name, [&] { return decode_route_cells(set.route_cells); })) {
  // The route length of entry 84 sized both the cell row and the plan.
  const int64_t length = route_length();
  if (length > kMaxRouteLength) {
    fail_in(set.station_table_name, "record 84: the route length " + str(length) +
                                        " m is above the " + str(kMaxRouteLength) +
                                        " m a compile accepts");
  }
  const int64_t metri_totali = length + kRowBeyondEnd;
  const int64_t n = cell_before(metri_totali);
  if (n != last_cell()) {
    fail_in(set.route_cells_name,
            str(last_cell() + 1) + " cells, where the route length of " + set.station_table_name +
                " (" + str(length) + " m, record 84) gives cells 0 to " +
                (n < 0 ? std::string("none") : str(n)) + "; the files are not of one compile");
  }
  if (plan.metri_totali() != metri_totali) {
    fail_in(set.track_plan_name, "metres 0 to " + str(plan.metri_totali()) +
                                     ", where the route length of " + set.station_table_name +
                                     " (" + str(length) + " m, record 84) gives metres 0 to " +
                                     str(metri_totali) + "; the files are not of one compile");
  }
}

std::string cell_name(int64_t c) { return "cell " + str(c) + " (" + str(cell_start(c)) + " m)"; }

void fail_in(const std::string& file, const std::string& what) {
  throw RunTimeFailure(file + ": " + what);
}

}  // namespace scenario
