#include "compiler/decompile/recovery.h"

#include "base/run_time_failure.h"

namespace scenario {
namespace {

// What a cell's object is, for the message that finds it unexplained.
const char* object_words(uint8_t kind) {
  switch (kind) {
    case kSignal:
      return "a signal";
    case kSlowdownEnd:
      return "a slowdown end with no slowdown start before it";
    case kSlowdownStart:
      return "a slowdown start";
    case kSlowdownWarning:
      return "a slowdown warning board with no slowdown start 1200 m after it";
    case kCountdownMarker:
      return "a countdown marker that stands in no row of four before a slowdown warning board";
    case kSpeedBoard:
      return "a speed-indicator board";
    case kStationMark:
      return "a stop mark of no station's zone";
    case kTunnelLight:
      return "a tunnel light";
    case kAbbattimento:
    case kAbbattimentoNoValue:
      return "an abbattimento marker";
    case kIndicationBoard:
      return "an indication board";
    default:
      return "an object";
  }
}

}  // namespace

void Recovery::fail_at_cell(int64_t c, const std::string& why) const {
  fail_in(set.files.route_cells_name, cell_name(c) + ": " + why);
}

void Recovery::fail_at_entry(int entry, const std::string& why) const {
  fail_in(set.files.station_table_name, "record " + std::to_string(entry) + ": " + why);
}

void Recovery::require_inside_row(int64_t c, const std::string& what) const {
  if (c > n() - 1) {
    fail_at_cell(c, what + " beyond the last position a record may take, in cell " +
                        std::to_string(n() - 1));
  }
}

void require_every_object_explained(const Recovery& r) {
  for (int32_t c = 0; c <= r.n(); ++c) {
    const uint8_t kind = r.cell(c).oggetto;
    if (kind != kNoObject && !r.explained(c)) {
      r.fail_at_cell(c, std::string(object_words(kind)) + ", which no record of a source places");
    }
  }
}

}  // namespace scenario
