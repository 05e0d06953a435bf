#include "compiler/format/cell_text.h"

#include "compiler/format/binary_layout.h"

namespace scenario {

std::string object_kind_name(uint8_t oggetto) {
  const ObjectKindRow* row = find_object_kind(oggetto);
  return row != nullptr ? std::string(row->name) : "kind " + std::to_string(oggetto);
}

std::string describe_cell(int64_t index, const cella& c) {
  std::string text = "cell " + std::to_string(index) + ": " + object_kind_name(c.oggetto);
  // The kind in words stands for oggetto; every other field as name=value.
  for_each_field(cell_layout::kFields, [&](const auto& field) {
    if (same_field(field, cell_layout::oggetto)) return;
    text += ' ';
    text += field.name;
    text += '=';
    text += std::to_string(field.value(c));
  });
  return text;
}

}  // namespace scenario
