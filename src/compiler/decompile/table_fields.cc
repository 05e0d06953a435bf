#include "compiler/decompile/table_fields.h"

#include <algorithm>
#include <string>

#include "compiler/decompile/recovery.h"
#include "compiler/format/binary_layout.h"

namespace scenario {

void require_only_fields(const Recovery& r, int entry,
                         std::initializer_list<std::string_view> set_by_records) {
  const voce& e = r.set.tabella[entry];
  std::string unset;
  station_layout::for_each_record_field([&](const auto& field) {
    if (!unset.empty() || std::find(set_by_records.begin(), set_by_records.end(), field.name) !=
                              set_by_records.end()) {
      return;
    }
    if constexpr (is_text_field<decltype(field)>) {
      if (!field.text(e).empty()) unset = "testo holds a text";
    } else {
      if (field.value(e) != 0) {
        unset = std::string(field.name) + " holds " + std::to_string(field.value(e));
      }
    }
  });
  if (!unset.empty()) r.fail_at_entry(entry, unset + ", which no record of a source sets");
}

}  // namespace scenario
