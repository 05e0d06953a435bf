#include "compiler/approach_marks.h"

#include <utility>

namespace scenario {

std::vector<MarksLost> ApproachMarks::set(MarkOwner owner, std::span<const int64_t> cells,
                                          size_t row_size) {
  if (owner_of_.size() != row_size) owner_of_.assign(row_size, 0);
  owners_.push_back(std::move(owner));
  const auto self = static_cast<int32_t>(owners_.size() - 1);
  std::vector<MarksLost> lost;
  for (int64_t c : cells) {
    if (c < 0 || static_cast<size_t>(c) >= row_size) continue;
    const int32_t before = owner_of_[c];
    owner_of_[c] = self;
    if (before == 0 || before == self) continue;
    const MarkOwner* victim = &owners_[before];
    auto it = lost.begin();
    while (it != lost.end() && it->owner != victim) ++it;
    if (it == lost.end()) it = lost.insert(lost.end(), MarksLost{victim, 0});
    ++it->count;
  }
  return lost;
}

}  // namespace scenario
