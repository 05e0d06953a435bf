// The three documents of a scenario written from scratch: every station and
// slowdown once and in travel order in the right document, the values shown
// as placeholders, and the details that do not fit the scenario.
#include "documents/crew_documents.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "compiler/compile_harness.h"
#include "test_support.h"

namespace scenario {
namespace {

using testing::compile_text;
using testing::crlf;
using testing::small_line_source;
using testing::split_crlf;

std::string scratch_train() {
  return crlf({
      "[generale]",
      "[vel_limite]",
      "velocita,     0,  100",
      "velocita,  5500,   90",
      "[stazioni]",
      "stazione,       0,  8,  500,  0, 0, 0,  1,1,0,  4,1,1,    1,  10, 0, 0, ALFA",
      "stazione,    2500, 28,  200,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, BETA",
      "stazione,    5000, 12,  600,  0, 0, 0,  1,1,0,  4,1,1,   60,  10,12, 0, GAMMA",
      "stazione,    8000,  2,  500,  0, 0, 0,  1,1,0,  2,1,1,    0,  10,20, 0, DELTA",
      "[rallentamenti]",
      "rallentamento,    6500,  40,   200,  0,  0,   0",
      "rallentamento,    2300,  30,   400,  0,  0,   0",
      "[fine]",
  });
}

// Where each text stands among the lines, in order; -1 for one not found.
std::vector<long> places_of(const std::vector<std::string>& lines,
                            const std::vector<std::string>& texts) {
  std::vector<long> places;
  for (const std::string& text : texts) {
    long found = -1;
    int count = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
      if (lines[i].find("| " + text + " ") != std::string::npos) {
        found = static_cast<long>(i);
        ++count;
      }
    }
    places.push_back(count == 1 ? found : -1);
  }
  return places;
}

TEST(CrewDocumentsTest, EveryStationAndSlowdownOnceInTravelOrder) {
  const auto compiled = compile_text(small_line_source(), scratch_train());
  ASSERT_TRUE(compiled->ctx.trail.recordings.empty());
  const CrewDocuments documents = crew_documents(compiled->ctx, {});
  const std::vector<std::string> sheet = split_crlf(text_file_bytes(documents.train_sheet));
  const std::vector<long> stations = places_of(sheet, {"ALFA", "BETA", "GAMMA", "DELTA"});
  for (size_t i = 0; i < stations.size(); ++i) {
    ASSERT_GE(stations[i], 0) << i;
    if (i > 0) {
      EXPECT_LT(stations[i - 1], stations[i]);
    }
  }
  const std::vector<std::string> order = split_crlf(text_file_bytes(documents.slowdown_order));
  const std::vector<long> slowdowns = places_of(order, {"1 | ALFA - GAMMA", "2 | GAMMA - DELTA"});
  EXPECT_GE(slowdowns[0], 0);
  EXPECT_EQ(slowdowns[1], slowdowns[0] + 1);
  EXPECT_EQ(order[4], " Linea  ALFA - DELTA");
  EXPECT_EQ(order[6],
            "  Si ordina al macchinista del treno  1  di effettuare i seguenti rallentamenti");
  // Without the author's text, the notes say what the scenario is.
  EXPECT_EQ(split_crlf(text_file_bytes(documents.notes)),
            (std::vector<std::string>{
                "Simulazione del treno 1 nel tratto Alfa - Delta, lungo 8,0 km.",
                "Partenza da Alfa alle 10.00, arrivo a Delta alle 10.20.",
                "Fermate: Gamma (10.11 - 10.12).",
            }));
}

TEST(CrewDocumentsTest, PlaceholdersAreNamedAndTheDetailsFillThem) {
  const auto compiled = compile_text(small_line_source(), scratch_train());
  const std::vector<MissingValue> missing = missing_values(compiled->ctx, {});
  std::vector<std::string> messages;
  for (const MissingValue& m : missing) messages.push_back(m.message);
  ASSERT_EQ(missing.size(), 6u) << ::testing::PrintToString(messages);
  for (size_t i = 0; i < 4; ++i) EXPECT_EQ(missing[i].source, MissingValue::Source::details);
  EXPECT_EQ(missing[4].source, MissingValue::Source::train_file);  // the braked-mass percentage
  EXPECT_NE(missing[4].message.find("percentuale massa frenata"), std::string::npos);
  // BETA has no passing time: the note points at its record.
  EXPECT_EQ(missing[5].source, MissingValue::Source::station);
  EXPECT_EQ(compiled->ctx.tabella[missing[5].entry].testo, "BETA");
  EXPECT_EQ(missing[5].message, "station BETA has no passing time; the train sheet shows xx.xx");

  DocumentDetails details;
  details.category = "R";
  details.rank = "A";
  details.maximum_speed = 120;
  details.blocked_mass = 300;
  details.stations.push_back({"beta", 5, 600 * 60 + 300, {}, {}, 0, ""});
  const std::vector<MissingValue> left = missing_values(compiled->ctx, details);
  ASSERT_EQ(left.size(), 1u);
  EXPECT_EQ(left[0].source, MissingValue::Source::train_file);
}

TEST(CrewDocumentsTest, DetailsThatDoNotFitTheScenario) {
  const auto compiled = compile_text(small_line_source(), scratch_train());
  DocumentDetails details;
  details.stations.push_back({"ALFA", 3, {}, 36000, {}, 0, ""});   // an arrival at the origin
  details.stations.push_back({"DELTA", 4, {}, {}, 37000, 0, ""});  // a departure at the terminus
  details.stations.push_back({"OMEGA", 5, 36000, {}, {}, 0, ""});  // no such station
  details.stations.push_back({"GAMMA", 6, {}, 36500, {}, 0, ""});  // fits
  const std::vector<DetailsProblem> problems = details_problems(compiled->ctx, details);
  ASSERT_EQ(problems.size(), 3u);
  EXPECT_EQ(problems[0].line, 3);
  EXPECT_EQ(problems[0].message, "ALFA is the origin: it takes no \"arrival\"");
  EXPECT_EQ(problems[1].line, 4);
  EXPECT_EQ(problems[1].message, "DELTA is the terminus: it takes no \"departure\"");
  EXPECT_EQ(problems[2].line, 5);
  EXPECT_EQ(problems[2].message, "\"OMEGA\" is no station of the train file");
}

}  // namespace
}  // namespace scenario
