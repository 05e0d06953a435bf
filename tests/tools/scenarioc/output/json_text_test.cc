// The tool's JSON spelling: texts escaped so that no control character
// reaches a terminal, real numbers in their shortest form or to a tenth.
#include "scenarioc/output/json_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace scenario {
namespace {

TEST(JsonTextTest, EscapesEveryControlCharacterTheSameWay) {
  const struct {
    std::string text;
    std::string json;
  } cases[] = {
      {"plain", "\"plain\""},
      {"quote \" and \\ backslash", R"("quote \" and \\ backslash")"},
      {"\n\r\t", R"("\n\r\t")"},
      {"\b\f\x01\x1f", R"("\u0008\u000c\u0001\u001f")"},
      {"del \x7f", R"("del \u007f")"},
      {"c1 \xc2\x80\xc2\x9f", R"("c1 \u0080\u009f")"},
      {"kept \xc2\xa0 \xc3\xa0 \xe2\x82\xac /", "\"kept \xc2\xa0 \xc3\xa0 \xe2\x82\xac /\""},
  };
  for (const auto& c : cases) EXPECT_EQ(json_text(Json(c.text)), c.json) << c.text;
}

TEST(JsonTextTest, ConvertsScenarioTextsToUtf8) {
  EXPECT_EQ(json_text(json_1252("Citt\xe0 \x80")), "\"Citt\xc3\xa0 \xe2\x82\xac\"");
  EXPECT_EQ(json_text(json_native("Citt\xc3\xa0")), "\"Citt\xc3\xa0\"");
}

TEST(JsonTextTest, WritesRealNumbersInTheShortestFormOrToATenth) {
  const struct {
    double value;
    std::string shortest;
    std::string tenths;
  } cases[] = {
      {0.0, "0", "0.0"},
      {-0.0, "-0", "0.0"},
      {3.0, "3", "3.0"},
      {0.5, "0.5", "0.5"},
      {100000.0, "1e+05", "100000.0"},
      {0.1 + 0.2, "0.30000000000000004", "0.3"},
      {-1234.25, "-1234.25", "-1234.2"},
      {1e-07, "1e-07", "0.0"},
      {2.5e20, "2.5e+20", "0.0"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(json_text(Json(c.value)), c.shortest) << c.value;
    EXPECT_EQ(json_text(Json(c.value), JsonReals::tenths), c.tenths) << c.value;
  }
  EXPECT_EQ(json_text(Json(std::numeric_limits<double>::quiet_NaN())), "null");
}

TEST(JsonTextTest, KeepsKeysInTheOrderSetAndIntegersAsDigits) {
  Json json = Json::object();
  json["zeta"] = 12;
  json["alpha"] = Json::array({-3, nullptr, true, "x,1.5e3"});
  json["n"] = json_number(std::nullopt);
  EXPECT_EQ(json_text(json), R"({"zeta":12,"alpha":[-3,null,true,"x,1.5e3"],"n":null})");
}

}  // namespace
}  // namespace scenario
