// The proof of a decompile: its two sources compiled in memory, as `scenarioc
// compile` would compile them, and the three files compared byte for byte
// with the set they came from; where they differ, the first differences in
// words.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "compiler/decompile/compiled_set.h"
#include "compiler/diagnostics/recorded_errors.h"

namespace scenario {

struct RoundTrip {
  bool identical = false;
  // The first fields that differ, "cell 297 (14800 m): velocita 32 in the
  // set, 0 from the sources", at most a few per file.
  std::vector<std::string> differences;
  // The errors the compile of the sources recorded, in words.
  std::vector<std::string> errors;
};

// Compiles `line` and `train` (source bytes) with the set's own scenario name
// and train number, those of its station table.
RoundTrip compile_and_compare(const DecodedSet& set, const std::string& line,
                              const std::string& train);

// The set's scenario name and train number as the system holds names (UTF-8).
std::string set_nome(const DecodedSet& set);
std::string set_treno(const DecodedSet& set);

}  // namespace scenario
