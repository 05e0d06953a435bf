// Diagnostics that run into the hundreds, grouped as a reader can take them
// in: only the first few of each kind are listed, the last of those followed
// by how many more of its kind there are, and the list ends with the count.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "scenarioc/output/diagnostic_listing.h"

namespace scenario {

// From this many diagnostics on, the repeats of a kind are left out.
constexpr size_t kGroupFrom = 100;
// How many of each kind are listed then.
constexpr size_t kListedOfAKind = 5;

struct GroupedDiagnostic {
  ListedDiagnostic diagnostic;
  size_t more_of_its_kind = 0;  // left out after this one
};

struct GroupedListing {
  std::vector<GroupedDiagnostic> listed;
  size_t left_out = 0;
};

// All of `diagnostics` below kGroupFrom; else the first kListedOfAKind of
// each kind (an error's number and reason, a warning's class), in order.
GroupedListing group_diagnostics(const std::vector<ListedDiagnostic>& diagnostics);

// "and 120 more of this kind (error 15), not listed".
std::string more_of_a_kind(const GroupedDiagnostic& grouped);

}  // namespace scenario
