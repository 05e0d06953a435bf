#include "scenarioc/output/diagnostic_groups.h"

#include <map>
#include <utility>

namespace scenario {
namespace {

// A kind: an error's number and reason, or a warning's class (number 0).
std::pair<int, int> kind_of(const ListedDiagnostic& d) {
  if (d.error != nullptr) return {d.error->numero, static_cast<int>(d.error->reason)};
  return {0, static_cast<int>(d.warning->kind)};
}

}  // namespace

GroupedListing group_diagnostics(const std::vector<ListedDiagnostic>& diagnostics) {
  GroupedListing grouping;
  if (diagnostics.size() < kGroupFrom) {
    for (const ListedDiagnostic& d : diagnostics) grouping.listed.push_back({d});
    return grouping;
  }
  // Where the last listed one of each kind stands in `listed`.
  std::map<std::pair<int, int>, std::pair<size_t, size_t>> kinds;  // kind -> (seen, last listed)
  for (const ListedDiagnostic& d : diagnostics) {
    auto& [seen, last] = kinds[kind_of(d)];
    if (seen++ < kListedOfAKind) {
      last = grouping.listed.size();
      grouping.listed.push_back({d});
    } else {
      ++grouping.listed[last].more_of_its_kind;
      ++grouping.left_out;
    }
  }
  return grouping;
}

std::string more_of_a_kind(const GroupedDiagnostic& grouped) {
  const ListedDiagnostic& d = grouped.diagnostic;
  const std::string kind = d.error != nullptr ? "error " + std::to_string(d.error->numero)
                                              : "-W" + std::string(warning_name(d.warning->kind));
  return "and " + std::to_string(grouped.more_of_its_kind) + " more of this kind (" + kind +
         "), not listed";
}

}  // namespace scenario
