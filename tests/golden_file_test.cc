// A golden comparison shows where the texts part, and SCENARIO_UPDATE_GOLDEN=1
// rewrites the golden file instead of failing.
#include "golden_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "test_support.h"

namespace scenario::testing {
namespace {

// The variable as the run was given it, put back after the test.
class GoldenFileTest : public ::testing::Test {
 protected:
  GoldenFileTest() {
    if (const char* value = std::getenv(kVariable)) given_ = value;
    ::unsetenv(kVariable);
  }
  ~GoldenFileTest() override {
    if (given_) ::setenv(kVariable, given_->c_str(), 1);
  }
  static constexpr const char* kVariable = "SCENARIO_UPDATE_GOLDEN";
  std::optional<std::string> given_;
};

TEST_F(GoldenFileTest, ShowsTheFirstLinesThatDifferAndUpdatesOnRequest) {
  TempDir dir;
  const std::filesystem::path golden = dir / "expected.txt";
  write_file(golden, "one\ntwo\r\nthree\nfour\n");
  EXPECT_TRUE(matches_golden(golden, "one\ntwo\r\nthree\nfour\n"));

  const ::testing::AssertionResult differs = matches_golden(golden, "one\ntwo\nTHREE\nfour\n");
  ASSERT_FALSE(differs);
  const std::string message = differs.message();
  EXPECT_NE(message.find("first difference at line 2"), std::string::npos) << message;
  EXPECT_NE(message.find("  1  one\n- 2  two\\r\n- 3  three\n+ 2  two\n+ 3  THREE\nto accept"),
            std::string::npos)
      << message;
  EXPECT_FALSE(matches_golden(dir / "absent.txt", ""));

  ::setenv(kVariable, "1", 1);
  const bool updated = matches_golden(golden, "new\n") && matches_golden(dir / "absent.txt", "");
  ::unsetenv(kVariable);
  EXPECT_TRUE(updated);
  EXPECT_EQ(read_file(golden), "new\n");
  EXPECT_EQ(read_file(dir / "absent.txt"), "");
}

}  // namespace
}  // namespace scenario::testing
