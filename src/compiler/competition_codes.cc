#include "compiler/competition_codes.h"

#include "base/text_case.h"

namespace scenario {

std::string competition_identifier(const Tabella& tabella) {
  std::string text = to_lower_1252(tabella[kEntrySignals].testo + tabella[kEntryScenario].testo);
  text += kCompetitionPad;
  text.resize(kCompetitionLength);
  return text;
}

int16_t codice_gara_og(const Tabella& tabella) {
  int32_t sum = 0;
  for (unsigned char c : competition_identifier(tabella)) sum += c;
  return static_cast<int16_t>(sum);
}

int32_t codice_gara_st(const Tabella& tabella) {
  const std::string text = competition_identifier(tabella);
  int32_t sum = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    sum += static_cast<unsigned char>(text[i]) * static_cast<int32_t>(i + 1);
  }
  return sum;
}

}  // namespace scenario
