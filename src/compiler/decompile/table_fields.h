// The fields of a station table entry that no record of a source sets: they
// hold 0 in every set a compile writes.
#pragma once

#include <initializer_list>
#include <string_view>

namespace scenario {

class Recovery;

// Throws naming the entry and the first field outside `set_by_records` that
// does not hold 0 (an empty text for `testo`).
void require_only_fields(const Recovery& r, int entry,
                         std::initializer_list<std::string_view> set_by_records);

}  // namespace scenario
