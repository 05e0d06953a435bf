// The two competition codes that tie the compiled files to the scenario: sums
// over the lower-case train number and scenario name, padded to 25 characters.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "compiler/scenario_records.h"

namespace scenario {

// Fills identifiers shorter than 25 characters; it never runs out, since it
// alone is longer than the 25 characters summed.
inline constexpr std::string_view kCompetitionPad = "kkllmmnnooppqqrrssttuuvvww";
inline constexpr std::size_t kCompetitionLength = 25;

// The 25 characters both codes sum: `treno` (entry 86) then `nome` (entry 85),
// lower-cased, then the pad.
std::string competition_identifier(const BuildContext& ctx);

// The plain sum of the byte codes (at most 25 × 255).
int16_t codice_gara_og(const BuildContext& ctx);

// The sum of each byte code times its position, 1 to 25 (at most 255 × 325).
int32_t codice_gara_st(const BuildContext& ctx);

}  // namespace scenario
