// The scenario notes: twelve lines of single-byte text, byte for byte their
// golden copy in golden/, whose station names are those of the route.
#include "documents/scenario_notes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "golden_file.h"
#include "source/builtin_source_records.h"
#include "test_support.h"

namespace scenario {
namespace {

using testing::split_crlf;

std::vector<std::string> notes() { return split_crlf(text_file_bytes(scenario_notes_lines())); }

std::string upper(std::string s) {
  for (char& c : s) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return s;
}

// The text of `line` between `before` and `after`, or "?" when it is not framed so.
std::string between(const std::string& line, const std::string& before, const std::string& after) {
  if (!line.starts_with(before) || !line.ends_with(after)) return "?";
  return line.substr(before.size(), line.size() - before.size() - after.size());
}

std::string station_name(int k) { return testing::builtin_stations().at(k - 1).name; }

TEST(ScenarioNotesTest, WrittenBytes) {
  const Righe righe = scenario_notes_lines();
  ASSERT_EQ(righe.size(), 13u);
  EXPECT_EQ(righe.back(), kEndMarker);
  const std::string bytes = text_file_bytes(righe);
  EXPECT_TRUE(bytes.ends_with("\r\n2A\r\n"));
  size_t line_number = 1;
  for (size_t i = 0; i < bytes.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (c == '\n') {
      EXPECT_EQ(bytes[i - 1], '\r');
      ++line_number;
      continue;
    }
    if (c == '\r') continue;
    if (c == 0xE0) {
      EXPECT_EQ(line_number, 7u) << "byte " << i;
    } else {
      EXPECT_TRUE(c >= ' ' && c <= '~') << "byte " << i;
    }
  }
  EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\xE0'), 1);
}

// Byte for byte its golden copy in golden/, the "\xE0" of line 7 included.
TEST(ScenarioNotesTest, WrittenAsTheGolden) {
  EXPECT_TRUE(
      testing::matches_golden(testing::tests_path("documents/golden/Velmora_Dorsel_904_note.txt"),
                              text_file_bytes(scenario_notes_lines())));
}

// A sentence that goes on in the next line leaves a blank at the end of its
// first: lines 1 and 5, and no other.
TEST(ScenarioNotesTest, TrailingBlanks) {
  const std::vector<std::string> lines = notes();
  ASSERT_EQ(lines.size(), 12u);
  for (size_t n = 1; n <= lines.size(); ++n) {
    ASSERT_FALSE(lines[n - 1].empty()) << "line " << n;
    EXPECT_EQ(lines[n - 1].back() == ' ', n == 1 || n == 5) << "line " << n;
  }
}

TEST(ScenarioNotesTest, TrainAndJourney) {
  const std::string first = notes()[0];
  const std::string rest = between(first, "Simulazione del treno IC 904 '", " nel tratto ");
  const size_t quote = rest.find('\'');
  ASSERT_NE(quote, std::string::npos) << first;
  EXPECT_GT(quote, 0u) << "the train's own name";
  const std::string journey = rest.substr(quote + 1);
  ASSERT_TRUE(journey.starts_with(" ")) << first;
  const size_t dash = journey.find(" - ");
  ASSERT_NE(dash, std::string::npos) << first;
  EXPECT_GT(dash, 1u);
  EXPECT_GT(journey.size(), dash + 3);
}

TEST(ScenarioNotesTest, StationsAreTheRoutes) {
  const std::vector<std::string> lines = notes();
  const std::string pair =
      between(lines[2], "Il tratto ", " e' a binario unico perche' nella realta' il");
  EXPECT_EQ(upper(pair), station_name(21) + " " + station_name(22));

  const std::string slowed =
      between(lines[4], "La marcia fra le stazioni di ", " e' rallentata dal fatto che ");
  EXPECT_EQ(upper(slowed), station_name(5) + " E " + station_name(6));
  // Mixed case, not the capitals of the train source.
  EXPECT_NE(slowed, upper(slowed));
  EXPECT_NE(pair, upper(pair));

  const std::string town =
      between(lines[5], "il treno 3194 per ", ", partito in ritardo da Velmora, viaggia davanti.");
  EXPECT_NE(town, "?");
  EXPECT_FALSE(town.empty());
}

TEST(ScenarioNotesTest, Signature) {
  const std::vector<std::string> lines = notes();
  const std::string name = lines[8];
  const std::string mail = lines[9];
  ASSERT_TRUE(name.starts_with(std::string(19, ' '))) << name;
  EXPECT_NE(name[19], ' ');
  ASSERT_TRUE(mail.starts_with(std::string(18, ' ') + "(")) << mail;
  EXPECT_TRUE(mail.ends_with("@example.org)")) << mail;
}

}  // namespace
}  // namespace scenario
