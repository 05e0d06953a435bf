// The keyword an unknown keyword field is nearest to, letter by letter.
#include "compiler/parse/keyword_suggestion.h"

#include <gtest/gtest.h>

#include <string>

namespace scenario {
namespace {

TEST(KeywordSuggestionTest, SlipsOfTheKeyboardFindTheirKeyword) {
  const struct {
    std::string field;
    const char* expected;  // nullptr: no keyword is near enough
    int distance;
  } rows[] = {
      {"segnlae", "segnale", 1},
      {"pendneza", "pendenza", 1},
      {"SEGNALE", "segnale", 0},
      {"vel\xC3\xB2"
       "cita",
       "velocita", 1},  // an accent saved as UTF-8 is one letter
      {"vel\xF2"
       "cita",
       "velocita", 1},  // and so it is in Windows-1252
      {"stazone", "stazione", 1},
      {"lunghezza percoso", "lunghezza percorso", 1},
      {"curvas7", "curvas1", 1},
      {"sabia", "sabbia", 1},
      {"treno", nullptr, 0},
      {"x", nullptr, 0},
      {"", nullptr, 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.field);
    const Suggestion near = nearest_keyword(row.field);
    if (row.expected == nullptr) {
      EXPECT_EQ(near.kind, nullptr) << near.spelling;
      continue;
    }
    ASSERT_NE(near.kind, nullptr);
    EXPECT_EQ(near.spelling, row.expected);
    EXPECT_EQ(near.distance, row.distance);
  }
}

TEST(KeywordSuggestionTest, EditDistanceCountsSwapsAsOne) {
  EXPECT_EQ(edit_distance("ab", "ba"), 1);
  EXPECT_EQ(edit_distance("abc", "abc"), 0);
  EXPECT_EQ(edit_distance("", "abc"), 3);
  EXPECT_EQ(edit_distance("kitten", "sitting"), 3);
}

}  // namespace
}  // namespace scenario
