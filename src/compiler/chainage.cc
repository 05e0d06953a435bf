#include "compiler/chainage.h"

#include <algorithm>
#include <utility>

namespace scenario {
namespace {

constexpr int32_t kStoredExtra = 100;  // added to a chainage stored with flag 1
constexpr int64_t kKilometre = 1000;

bool unused(const voce& e) { return e.valore1 == 0 && e.valore2 == 0 && e.valore3 == 0; }

// The largest multiple of 1000 at or below `value`, and the smallest at or above.
int64_t floor_km(int64_t value) {
  const int64_t q = value / kKilometre;
  return (value % kKilometre != 0 && value < 0) ? q - 1 : q;
}
int64_t ceil_km(int64_t value) { return -floor_km(-value); }

std::vector<ChainageReference> references_of(const Tabella& tabella) {
  std::vector<ChainageReference> references;
  for (int entry = kEntryRefTre; entry <= kEntryRefUno; ++entry) {
    const voce& e = tabella[entry];
    if (unused(e)) continue;
    const bool decreasing = e.valore3 == 1;
    references.push_back(
        {e.valore1, int64_t{e.valore2} - (decreasing ? kStoredExtra : 0), decreasing});
  }
  return references;
}

}  // namespace

Chainage::Chainage(const Tabella& tabella) : Chainage(references_of(tabella)) {}

Chainage::Chainage(std::vector<ChainageReference> references) : references_(std::move(references)) {
  std::stable_sort(
      references_.begin(), references_.end(),
      [](const ChainageReference& a, const ChainageReference& b) { return a.from < b.from; });
  if (references_.empty()) references_.push_back({0, 0, false});
}

const ChainageReference& Chainage::reference_at(int64_t metres) const {
  const ChainageReference* found = &references_.front();
  for (const ChainageReference& r : references_) {
    if (r.from <= metres) found = &r;
  }
  return *found;
}

int64_t Chainage::at(int64_t metres) const {
  const ChainageReference& r = reference_at(metres);
  const int64_t along = metres - r.from;
  return r.decreasing ? r.chainage - along : r.chainage + along;
}

std::vector<KilometrePost> Chainage::kilometre_posts(int32_t first, int32_t last) const {
  std::vector<KilometrePost> posts;
  for (size_t i = 0; i < references_.size(); ++i) {
    // The stretch where reference i holds, within [first, last].
    const int64_t begin = i == 0 ? first : std::max<int64_t>(first, references_[i].from);
    const int64_t end =
        i + 1 < references_.size() ? std::min<int64_t>(last, references_[i + 1].from - 1) : last;
    if (begin > end) continue;
    const ChainageReference& r = references_[i];
    const int64_t a = at(begin);
    const int64_t b = r.decreasing ? a - (end - begin) : a + (end - begin);
    const int64_t low = std::min(a, b);
    const int64_t high = std::max(a, b);
    std::vector<KilometrePost> stretch;
    for (int64_t km = ceil_km(low); km <= floor_km(high); ++km) {
      const int64_t offset = km * kKilometre - a;
      const int64_t metres = begin + (r.decreasing ? -offset : offset);
      stretch.push_back({static_cast<int32_t>(metres), km});
    }
    if (r.decreasing) std::reverse(stretch.begin(), stretch.end());
    posts.insert(posts.end(), stretch.begin(), stretch.end());
  }
  return posts;
}

std::string chainage_text(int64_t chainage) {
  const bool negative = chainage < 0;
  const int64_t magnitude = negative ? -chainage : chainage;
  std::string metres = std::to_string(magnitude % kKilometre);
  metres.insert(0, 3 - metres.size(), '0');
  return (negative ? "-" : "") + std::to_string(magnitude / kKilometre) + "+" + metres;
}

}  // namespace scenario
