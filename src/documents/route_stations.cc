#include "documents/route_stations.h"

#include <algorithm>

#include "base/text_case.h"

namespace scenario {
namespace {

constexpr int kFirstStationEntry = 1;

bool starts_word(char before) {
  return before == ' ' || before == '-' || before == '\'' || before == '.' || before == '(';
}

std::string trimmed(std::string_view text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return "";
  return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

}  // namespace

std::vector<RouteStation> route_stations(const BuildContext& ctx) {
  std::vector<RouteStation> stations;
  for (int k = kFirstStationEntry; k <= kFirstBoardEntry; ++k) {
    if (ctx.trail.entry_sources[k].file != SourceFile::train) continue;
    const voce& e = ctx.tabella[k];
    stations.push_back({k, trimmed(e.testo), e.valore3, e.valore1, e.valore2, e.colonna13,
                        e.orario > 0 ? e.orario : 0});
  }
  std::stable_sort(
      stations.begin(), stations.end(),
      [](const RouteStation& a, const RouteStation& b) { return a.position < b.position; });
  return stations;
}

std::string capitals(std::string_view name) { return to_upper_1252(name); }

std::string mixed_case(std::string_view name) {
  std::string mixed = to_lower_1252(name);
  for (size_t i = 0; i < mixed.size(); ++i) {
    if (i == 0 || starts_word(mixed[i - 1])) mixed[i] = to_upper_1252(mixed[i]);
  }
  return mixed;
}

}  // namespace scenario
