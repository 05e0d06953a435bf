#include "compiler/competition_codes.h"

#include "base/text_case.h"

namespace scenario {

std::string competition_identifier(const BuildContext& ctx) {
  std::string text =
      to_lower_1252(ctx.tabella[kEntrySignals].testo + ctx.tabella[kEntryScenario].testo);
  text += kCompetitionPad;
  text.resize(kCompetitionLength);
  return text;
}

int16_t codice_gara_og(const BuildContext& ctx) {
  int32_t sum = 0;
  for (unsigned char c : competition_identifier(ctx)) sum += c;
  return static_cast<int16_t>(sum);
}

int32_t codice_gara_st(const BuildContext& ctx) {
  const std::string text = competition_identifier(ctx);
  int32_t sum = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    sum += static_cast<unsigned char>(text[i]) * static_cast<int32_t>(i + 1);
  }
  return sum;
}

}  // namespace scenario
