// The checks a layout table is held to: its rows must cover the record's bytes
// in order, each as wide and signed as its member, with a row for every member.
#include "compiler/format/record_field.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace scenario {
namespace {

struct Sample {
  uint8_t a = 0;
  int16_t b = 0;
  int32_t c = 0;
};

constexpr RecordField kA{"a", &Sample::a, 0, 1, kUnsigned};
constexpr RecordField kB{"b", &Sample::b, 1, 2, kSigned};
constexpr RecordField kC{"c", &Sample::c, 3, 4, kSigned};

TEST(RecordFieldTest, CoverageFindsGapsOverlapsWrongWidthsAndSigns) {
  EXPECT_TRUE(covers_exactly(std::tuple{kA, kB, kC}, 7));
  const struct {
    const char* fault;
    bool covered;
  } cases[] = {
      {"record longer than its rows", covers_exactly(std::tuple{kA, kB, kC}, 8)},
      {"row left out", covers_exactly(std::tuple{kA, kC}, 7)},
      {"rows out of order", covers_exactly(std::tuple{kA, kC, kB}, 7)},
      {"gap", covers_exactly(std::tuple{kA, RecordField{"b", &Sample::b, 2, 2, kSigned}}, 4)},
      {"overlap", covers_exactly(std::tuple{kA, RecordField{"b", &Sample::b, 0, 2, kSigned}}, 2)},
      {"wider than its member",
       covers_exactly(std::tuple{RecordField{"a", &Sample::a, 0, 2, kUnsigned}}, 2)},
      {"signed member read unsigned",
       covers_exactly(std::tuple{kA, RecordField{"b", &Sample::b, 1, 2, kUnsigned}}, 3)},
  };
  for (const auto& c : cases) EXPECT_FALSE(c.covered) << c.fault;
}

TEST(RecordFieldTest, MemberCountSeesEveryMember) {
  struct WithText {
    uint8_t a = 0;
    std::string text;
    int16_t b = 0;
  };
  EXPECT_EQ(member_count<Sample>(), 3u);
  EXPECT_EQ(member_count<WithText>(), 3u);
}

}  // namespace
}  // namespace scenario
