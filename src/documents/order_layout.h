// The slowdown order's form ("Modulo M. 3"): the heading with the line and the
// train, the six-column rows of the slowdowns, the legend of the
// prescriptions, and further pages when the slowdowns do not fit on one. The
// built-in order and the order computed from a scenario are both written
// through it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "source/text_writer.h"

namespace scenario {

struct OrderRow {
  int32_t number = 0;
  std::string between;               // "ROVENTELLA - SAN FIDALDO", or one station's name
  std::optional<int64_t> kilometre;  // the post after which it begins
  int32_t speed = 0;                 // km/h
  int32_t length = 0;                // metres
  std::string prescriptions;         // "A B D"; empty for none
};

// How many slowdown rows a page holds.
constexpr size_t kOrderPageRows = 24;

// One row of the table, 82 characters.
std::string order_row_text(const OrderRow& row);

// The whole order: `line` is the line's name ("VELMORA CENTRALE - DORSEL"),
// `train` the train number; the end marker closes the list.
Righe slowdown_order_document(const std::string& line, const std::string& train,
                              const std::vector<OrderRow>& rows);

}  // namespace scenario
