// Diagnostics in the hundreds: the first few of each kind listed, the last of
// them followed by how many more there are; fewer are all listed.
#include "scenarioc/output/diagnostic_groups.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace scenario::testing {
namespace {

Recording error_of(int32_t numero, int32_t line) {
  Recording r;
  r.numero = numero;
  r.where = {SourceFile::train, line, 1};
  return r;
}

TEST(DiagnosticGroupsTest, RepeatsOfAKindAreCountedOnceTheyRunIntoTheHundreds) {
  const struct {
    size_t errors_15;  // one kind
    size_t errors_25;  // another
    size_t warnings;   // a third
    size_t listed;
    size_t left_out;
  } cases[] = {
      {90, 5, 4, 99, 0},      // below the bound: every one listed
      {125, 3, 0, 8, 120},    // "and 120 more of this kind"
      {300, 40, 7, 15, 332},  // three kinds, each cut to five
      {100, 0, 0, 5, 95},     // one kind alone
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.errors_15);
    BuildContext ctx;
    int32_t line = 1;
    for (size_t i = 0; i < c.errors_15; ++i) ctx.trail.recordings.push_back(error_of(15, line++));
    for (size_t i = 0; i < c.errors_25; ++i) ctx.trail.recordings.push_back(error_of(25, line++));
    for (size_t i = 0; i < c.warnings; ++i) {
      ctx.trail.warnings.push_back(
          {WarningClass::beyond_route, {SourceFile::train, line++, 1}, "beyond", {}});
    }
    const GroupedListing grouping =
        group_diagnostics(diagnostics_in_order(ctx.trail, WarningSettings()));
    EXPECT_EQ(grouping.listed.size(), c.listed);
    EXPECT_EQ(grouping.left_out, c.left_out);
    size_t told = 0;
    for (const GroupedDiagnostic& d : grouping.listed) told += d.more_of_its_kind;
    EXPECT_EQ(told, c.left_out);
  }
}

TEST(DiagnosticGroupsTest, TheLastListedOfAKindSaysHowManyMore) {
  BuildContext ctx;
  for (int32_t line = 1; line <= 125; ++line) ctx.trail.recordings.push_back(error_of(15, line));
  const GroupedListing grouping =
      group_diagnostics(diagnostics_in_order(ctx.trail, WarningSettings()));
  ASSERT_EQ(grouping.listed.size(), kListedOfAKind);
  EXPECT_EQ(grouping.listed.back().diagnostic.error->where.line, 5);
  EXPECT_EQ(more_of_a_kind(grouping.listed.back()),
            "and 120 more of this kind (error 15), not listed");
}

}  // namespace
}  // namespace scenario::testing
