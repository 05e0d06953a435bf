// The line's kilometric chainage along the route, from the kilometric
// references of the station table: what the indication boards and the
// slowdown order call "km 335+200".
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "compiler/scenario_records.h"

namespace scenario {

// From route position `from` on, the chainage runs from `chainage` up
// (`decreasing` false) or down, a metre per metre.
struct ChainageReference {
  int32_t from = 0;
  int64_t chainage = 0;
  bool decreasing = false;
};

// A route position where the chainage is a whole kilometre.
struct KilometrePost {
  int32_t metres = 0;
  int64_t kilometre = 0;
};

class Chainage {
 public:
  // From entries 81 to 83. A reference of three zeros is unused; without any,
  // the chainage is the route position. A chainage stored with flag 1 carries
  // 100 m more than was written, and is taken as written.
  explicit Chainage(const Tabella& tabella);
  explicit Chainage(std::vector<ChainageReference> references);

  // The chainage in metres at a route position; before the first reference
  // the first one is extended backwards.
  int64_t at(int64_t metres) const;
  // In ascending order of `from`; never empty.
  const std::vector<ChainageReference>& references() const { return references_; }
  // The whole kilometres between route positions `first` and `last`, in order.
  std::vector<KilometrePost> kilometre_posts(int32_t first, int32_t last) const;

 private:
  const ChainageReference& reference_at(int64_t metres) const;
  std::vector<ChainageReference> references_;
};

// "335+200" for 335200 m; "-0+050" for -50 m.
std::string chainage_text(int64_t chainage);

}  // namespace scenario
