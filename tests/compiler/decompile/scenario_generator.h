// Varied scenarios for the decompiler's round trip, as an author might write
// them: every record kind, objects that share approach-mark cells, tunnel
// lights under boards, stretches forced to type 3, adjacent curves, slowdowns
// with and without warning, countdown and second speed, abbattimento records.
// The same seed always gives the same two sources.
#pragma once

#include <cstdint>
#include <string>

namespace scenario::testing {

struct GeneratedScenario {
  std::string line;  // source bytes, CR LF
  std::string train;
};

GeneratedScenario generate_scenario(uint32_t seed);

}  // namespace scenario::testing
