// Which record set the approach mark (`preavviso`) each cell holds, so that a
// record whose marks replace those of another can be told. A signal marks the
// cells 2, 4, 6 and 8 before its own, a station the four before its stop mark.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "compiler/diagnostics/recorded_errors.h"

namespace scenario {

struct MarkOwner {
  SourceLocation where;
  std::string what;  // "the signal at 146750 m", "the station "VALDENZA" at 146150 m"
  bool station = false;
  int64_t cell = -1;  // the object's cell: the signal's, or the station's stop mark
};

// An owner that lost marks to a later record.
struct MarksLost {
  const MarkOwner* owner = nullptr;
  int count = 0;
};

class ApproachMarks {
 public:
  // Notes `owner` as the setter of the marks in `cells` (cells of a row of
  // `row_size`); returns the earlier owners whose marks it replaced.
  std::vector<MarksLost> set(MarkOwner owner, std::span<const int64_t> cells, size_t row_size);

 private:
  std::vector<MarkOwner> owners_ = std::vector<MarkOwner>(1);  // entry 0: no owner
  std::vector<int32_t> owner_of_;                              // per cell
};

// Whether marks lost to `by` are worth a warning. A signal's marks announce
// it: losing any is a mistake. A station's marks may give way to a signal that
// stands beyond its stop mark, an exit signal announcing itself across the
// platform as the built-in route does at most of its stations (VALDENZA among
// them); a signal that stands before the stop mark takes the cells that
// announce the stop.
inline bool approach_damaged(const MarksLost& lost, const MarkOwner& by) {
  return !lost.owner->station || by.cell <= lost.owner->cell;
}

}  // namespace scenario
