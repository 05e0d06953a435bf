// The words that end a failed set's message name exactly the files already renamed.
#include "base/replaced_so_far.h"

#include <gtest/gtest.h>

namespace scenario {
namespace {

TEST(ReplacedSoFarTest, NamesTheFilesAlreadyRenamed) {
  const struct {
    std::vector<std::string> replaced;
    std::size_t total;
    std::string words;
  } cases[] = {
      {{}, 1, ""},
      {{}, 3, "; none of the 3 files was replaced"},
      {{"a.dat"}, 3, "; only 'a.dat' was replaced"},
      {{"a.dat", "b.sim"}, 3, "; only 'a.dat' and 'b.sim' were replaced"},
      {{"a", "b", "c"}, 4, "; only 'a', 'b' and 'c' were replaced"},
  };
  for (const auto& c : cases) EXPECT_EQ(replaced_so_far(c.replaced, c.total), c.words);
}

}  // namespace
}  // namespace scenario
