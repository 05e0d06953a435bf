// "Did you mean 'segnale'?": the record keyword nearest to a keyword field
// that names no record, by edit distance.
#pragma once

#include <string_view>

#include "compiler/parse/record_kinds.h"

namespace scenario {

struct Suggestion {
  const RecordKind* kind = nullptr;  // none when no keyword is near enough
  std::string_view spelling;
  int distance = 0;
};

// Letters, not bytes, are compared, and letter case is ignored: "velocità"
// saved as UTF-8 is one letter from "velocita". Only keywords a few letters
// away count; among equals the first in the order of `record_kinds()` wins.
Suggestion nearest_keyword(std::string_view field);

// Letter edits (insertions, deletions, substitutions and swaps of two
// neighbours) that turn `a` into `b`, comparing `a` as `nearest_keyword` does.
int edit_distance(std::string_view a, std::string_view b);

}  // namespace scenario
