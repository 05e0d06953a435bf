#include "compiler/decompile/recovery.h"

#include <string_view>

#include "base/run_time_failure.h"
#include "compiler/object_kinds.h"

namespace scenario {
namespace {

// Why the set's own rules leave an object of `kind` unexplained, after its
// noun; empty for the kinds whose only fault is that no record places them.
std::string_view unexplained_because(uint8_t kind) {
  switch (kind) {
    case kSlowdownEnd:
      return " with no slowdown start before it";
    case kSlowdownWarning:
      return " with no slowdown start 1200 m after it";
    case kCountdownMarker:
      return " that stands in no row of four before a slowdown warning board";
    case kStationMark:
      return " of no station's zone";
    default:
      return "";
  }
}

// What a cell's object is, for the message that finds it unexplained: "a
// signal", "an abbattimento".
std::string object_words(uint8_t kind) {
  const ObjectKindRow* row = find_object_kind(kind);
  if (row == nullptr) return "an object";
  const std::string noun(row->noun);
  const bool vowel = noun.find_first_of("aeiou") == 0;
  return (vowel ? "an " : "a ") + noun + std::string(unexplained_because(kind));
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
      r.fail_at_cell(c, object_words(kind) + ", which no record of a source places");
    }
  }
}

}  // namespace scenario
