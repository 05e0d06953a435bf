// The details file: the values it gives, and every fault it can hold named
// with its line.
#include "scenarioc/documents/details_file.h"

#include <gtest/gtest.h>

#include <string>

#include "test_support.h"

namespace scenario {
namespace {

TEST(DetailsFileTest, ValuesOfASoundFile) {
  const DetailsRead read = read_details_text(R"json({
  "category": "IC",
  "rank": "C",
  "maximum_speed": 200,
  "blocked_mass": 800,
  "stations": {
    "Borgo Tessaldi": {"time": "10.38", "recovery": 0.5},
    "QUARNETTO": {"arrival": "13:06", "departure": "13.07", "mark": "(*)", "recovery": 1}
  },
  "footnotes": ["(*) Ferma a Quarnetto", "    fino al 29/09/01"],
  "notes": ["Citt\u00e0 alta", ""]
})json");
  ASSERT_TRUE(read.faults.empty()) << read.faults[0].message;
  const DocumentDetails& d = read.details;
  EXPECT_EQ(d.category, "IC");
  EXPECT_EQ(d.rank, "C");
  EXPECT_EQ(d.maximum_speed, 200);
  EXPECT_EQ(d.blocked_mass, 800);
  ASSERT_EQ(d.stations.size(), 2u);
  EXPECT_EQ(d.stations[0].name, "Borgo Tessaldi");
  EXPECT_EQ(d.stations[0].line, 7);
  EXPECT_EQ(d.stations[0].time, (10 * 60 + 38) * 60);
  EXPECT_EQ(d.stations[0].recovery, 5);
  EXPECT_EQ(d.stations[1].arrival, (13 * 60 + 6) * 60);
  EXPECT_EQ(d.stations[1].departure, (13 * 60 + 7) * 60);
  EXPECT_EQ(d.stations[1].mark, "(*)");
  EXPECT_EQ(d.stations[1].recovery, 10);
  EXPECT_EQ(d.footnotes.size(), 2u);
  // Texts become the documents' single bytes.
  EXPECT_EQ(d.notes, (std::vector<std::string>{"Citt\xE0 alta", ""}));
}

TEST(DetailsFileTest, EveryFaultNamesItsLine) {
  const struct {
    const char* text;
    int64_t line;
    const char* message;
  } rows[] = {
      {"{\n  \"category\": \"IC\",\n", 3, "unexpected end of input"},
      {"{\n  \"category\": \"IC\"\n  \"rank\": \"C\"\n}", 3, "syntax error"},
      {"[1, 2]", 1, "the details are an array, not an object"},
      {"{\n  \"category\": \"IC\",\n  \"catgory\": \"IC\"\n}", 3,
       "unknown key \"catgory\"; the details take category, rank"},
      {"{\n  \"rank\": \"C\",\n  \"rank\": \"B\"\n}", 3,
       "\"rank\" is given twice in one object (first on line 2)"},
      {"{\n  \"maximum_speed\": \"200\"\n}", 2,
       "\"maximum_speed\" takes a whole number of km/h from 1 to 999, not \"200\""},
      {"{\n\n  \"blocked_mass\": 0\n}", 3,
       "\"blocked_mass\" takes a whole number of tonnes from 1 to 99999, not 0"},
      // The number's line, though its parser looks at the line end after it.
      {"{\n  \"maximum_speed\": 2.5\n}", 2, "not 2.5"},
      {"{\"category\": \"INTERCITYNOTTE\"}", 1,
       "\"category\" is 14 characters long; the form has room for 11"},
      {"{\"category\": \"\"}", 1, "\"category\" is empty"},
      {"{\"rank\": \"\u0108\"}", 1, "cannot write"},
      {"{\n \"footnotes\": [\n  \"(1) due\\nrighe\"\n ]\n}", 3, "holds a control character"},
      {"{\"footnotes\": [\"(1) una nota troppo lunga per la colonna\"]}", 1,
       "a line of \"footnotes\" is 40 characters long; the form has room for 27"},
      {"{\"notes\": \"una riga\"}", 1, "\"notes\" takes an array, not a string"},
      {"{\n \"stations\": {\n  \"BORGO\": {\"time\": \"10.7\"}\n }\n}", 3,
       "\"time\" takes a time of day as \"10.38\", not \"10.7\""},
      {"{\"stations\": {\"BORGO\": {\"arrival\": \"24.60\"}}}", 1, "not \"24.60\""},
      {"{\"stations\": {\"BORGO\": {\"recovery\": 0.25}}}", 1,
       "\"recovery\" takes minutes with one decimal at most, from 0.1 to 9.9, not 0.25"},
      {"{\"stations\": {\"BORGO\": {\"recovery\": 10}}}", 1, "not 10"},
      {"{\"stations\": {\"BORGO\": {\"mark\": \"(**)\"}}}", 1, "room for 3"},
      {"{\"stations\": {\"BORGO\": {\"ritardo\": 1}}}", 1, "unknown key \"ritardo\" for a station"},
      {"{\"stations\": {\"BORGO\": 5}}", 1, "the entry of a station takes an object, not a number"},
      {"{\n \"stations\": {\n  \"BORGO\": {\"time\": \"10.38\", \"arrival\": \"10.37\"}\n }\n}", 3,
       "give one or the other"},
      {"{\n \"stations\": {\n  \"Borgo\": {},\n  \"BORGO\": {}\n }\n}", 4,
       "the station \"BORGO\" is given twice (first on line 3)"},
      {"{\"maximum_speed\": 99999999999999999999}", 1, "takes a whole number of km/h"},
  };
  const std::string deep =
      "{\"notes\": " + std::string(100000, '[') + std::string(100000, ']') + "}";
  EXPECT_EQ(read_details_text(deep).faults.at(0).message,
            "objects and arrays are nested more than 64 deep");
  for (const auto& row : rows) {
    const DetailsRead read = read_details_text(row.text);
    ASSERT_FALSE(read.faults.empty()) << row.text;
    EXPECT_EQ(read.faults[0].line, row.line) << row.text;
    EXPECT_NE(read.faults[0].message.find(row.message), std::string::npos)
        << row.text << "\n"
        << read.faults[0].message;
  }
}

TEST(DetailsFileTest, AFileThatCannotBeReadFailsNamingIt) {
  testing::TempDir dir;
  const std::string message =
      testing::failure_message([&] { read_details_file(dir / "missing_details.json"); });
  EXPECT_NE(message.find("missing_details.json"), std::string::npos) << message;
}

}  // namespace
}  // namespace scenario
