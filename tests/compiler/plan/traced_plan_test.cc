// A traced plan written as it is computed: its bytes are those of its table,
// for plans cut short, plans whose curvatures recur, and a plan created again.
#include "compiler/plan/traced_plan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/format/compiled_files.h"

namespace scenario {
namespace {

struct PlanRun {
  int32_t last;
  double curvature;
};

// A plan that starts as the parser starts it, then takes the runs in turn.
TracedPlan traced(int32_t metri_totali, const std::vector<PlanRun>& runs) {
  TracedPlan plan;
  plan.create(metri_totali);
  plan.set_int16(0, 0, 0);
  plan.set_int16(0, 1, 0);
  plan.set_int16(1, 0, 0);
  plan.set_int16(1, 1, 1);
  int32_t first = 2;
  for (const PlanRun& run : runs) {
    plan.trace(first, run.last, run.curvature);
    first = std::max(first, run.last + 1);
  }
  return plan;
}

// Its blocks in the order they come, each copied to its offset.
std::string streamed(const TracedPlan& plan) {
  std::string bytes(track_plan_size(plan), '?');
  uint64_t covered = 0;
  encode_track_plan(plan, [&](uint64_t offset, std::string_view block) {
    EXPECT_LE(offset + block.size(), bytes.size());
    bytes.replace(offset, block.size(), block);
    covered += block.size();
  });
  EXPECT_EQ(covered, bytes.size());
  return bytes;
}

TEST(TracedPlanTest, StreamedBytesAreThoseOfItsTable) {
  const struct {
    const char* name;
    int32_t metri_totali;
    std::vector<PlanRun> runs;
  } cases[] = {
      {"nothing traced", 40, {}},
      {"traced to the end", 40, {{38, 0}}},
      {"cut short", 40, {{10, 0}, {17, 0.002}}},
      {"a run of one metre", 40, {{2, 0.001}, {3, 0}, {38, -0.001}}},
      {"runs longer than a block", 100000, {{25000, 0}, {60001, 0.0001}, {99998, -0.003}}},
      {"curvatures that recur", 3000, {{500, 0.001}, {900, 0}, {1500, 0.001}, {1501, 0.001}}},
      {"an empty run", 40, {{10, 0}, {9, 0.002}, {20, 0.002}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const TracedPlan plan = traced(c.metri_totali, c.runs);
    const std::string table = encode_track_plan(plan.entries());
    EXPECT_EQ(streamed(plan), table);
    EXPECT_EQ(encode_track_plan(plan), table);
  }
}

// Created anew (a repeated route-length record) the plan forgets what it
// traced; a plan never created writes no bytes.
TEST(TracedPlanTest, CreatedAgainStartsEmpty) {
  TracedPlan plan = traced(40, {{30, 0.001}});
  plan.create(50);
  EXPECT_EQ(plan.last_traced_metre(), 1);
  const std::string table = encode_track_plan(plan.entries());
  EXPECT_EQ(encode_track_plan(plan), table);
  EXPECT_EQ(table.size(), 2u * 51 * 2);  // every entry empty
  EXPECT_EQ(track_plan_size(TracedPlan()), 0u);
  EXPECT_EQ(encode_track_plan(TracedPlan()), "");
}

}  // namespace
}  // namespace scenario
