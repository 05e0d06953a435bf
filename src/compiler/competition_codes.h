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
std::string competition_identifier(const Tabella& tabella);

// The plain sum of the byte codes (at most 25 × 255).
int16_t codice_gara_og(const Tabella& tabella);
inline int16_t codice_gara_og(const BuildContext& ctx) { return codice_gara_og(ctx.tabella); }

// The sum of each byte code times its position, 1 to 25 (at most 255 × 325).
int32_t codice_gara_st(const Tabella& tabella);
inline int32_t codice_gara_st(const BuildContext& ctx) { return codice_gara_st(ctx.tabella); }

// The largest values the sums can take.
inline constexpr int32_t kMaxCodiceGaraOg = 25 * 255;
inline constexpr int32_t kMaxCodiceGaraSt = 255 * 325;

}  // namespace scenario
