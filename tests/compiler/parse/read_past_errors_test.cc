// A check reads past the errors that end a compile and lists every one, the
// later ones marked as found after the compile's stop; the compile itself is
// unchanged. A parse that ends early says which profiles keep 0.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "compiler/compile_harness.h"
#include "compiler/diagnostics/diagnostics.h"

namespace scenario::testing {
namespace {

std::unique_ptr<Compiled> check_text(const std::string& line, const std::string& train) {
  return compile_text(line, train, {.read_past_errors = true});
}

constexpr const char* kSignal1650 = "segnale,    1650,   2, 4, 0,  0, 0,    2,  1,0,0, 0";

std::string signal_at(int position, const char* tempo = "0") {
  return "segnale,    " + std::to_string(position) + ",   2, 4, 0,  0, 0,    2,  1,0,0, " + tempo;
}

// Every recording as "N at LINE", with " after the stop" when the check marked it so.
std::vector<std::string> found(const BuildContext& ctx) {
  std::vector<std::string> all;
  for (const Recording& r : ctx.trail.recordings) {
    all.push_back(std::to_string(r.numero) + " at " + std::to_string(r.where.line) +
                  (r.after_stop ? " after the stop" : ""));
  }
  return all;
}

using Found = std::vector<std::string>;

// What the compile recorded comes first in the check, in the same words.
void expect_compile_is_prefix(const Compiled& compiled, const Compiled& checked) {
  ASSERT_LE(compiled.ctx.trail.recordings.size(), checked.ctx.trail.recordings.size());
  for (size_t i = 0; i < compiled.ctx.trail.recordings.size(); ++i) {
    const Recording& a = compiled.ctx.trail.recordings[i];
    const Recording& b = checked.ctx.trail.recordings[i];
    EXPECT_EQ(describe(a), describe(b));
    EXPECT_EQ(a.where.line, b.where.line);
    EXPECT_FALSE(b.after_stop);
  }
}

TEST(ReadPastErrorsTest, ACheckListsEveryConflictOfOneRun) {
  // Line 16: a signal short of its 11th value, which it takes from line 17;
  // line 17: a signal on the speed-indicator board; line 18: a time that is no
  // number; line 19: a slowdown whose start is taken.
  const std::string train =
      train_with(std::string(kSignal1650) + "\r\n",
                 "segnale,    1650,   2, 4, 0,  0, 0,    2,  1,0,0\r\n" + signal_at(700) + "\r\n" +
                     signal_at(3000, "x") + "\r\nrallentamento, 4400, 60, 200, 0, 0, 0\r\n");
  const auto compiled = compile_text(small_line_source(), train);
  const auto checked = check_text(small_line_source(), train);

  ASSERT_EQ(compiled->ctx.trail.recordings.size(), 1u);
  EXPECT_EQ(compiled->ctx.trail.recordings[0].numero, 25);
  EXPECT_EQ(found(checked->ctx), (Found{"25 at 16", "16 at 17 after the stop",
                                        "25 at 18 after the stop", "18 at 19 after the stop"}));
  expect_compile_is_prefix(*compiled, *checked);
  // The record taken apart by the missing value is read on its own line: the
  // signal at 700 m is the one that meets the board.
  EXPECT_EQ(checked->ctx.trail.recordings[1].posizione, 700);
}

TEST(ReadPastErrorsTest, TheCompileIsUnchangedByTheCheck) {
  const std::string train = train_with(kSignal1650, signal_at(700) + "\r\n" + signal_at(4400));
  const auto compiled = compile_text(small_line_source(), train);
  const auto again = compile_text(small_line_source(), train);
  EXPECT_EQ(compiled->ctx.codice_errore, 16);
  EXPECT_EQ(compiled->ctx.posizione_errore, 700);
  EXPECT_EQ(compiled->sink.files, again->sink.files);
  const auto checked = check_text(small_line_source(), train);
  EXPECT_EQ(found(checked->ctx), (Found{"16 at 16", "16 at 17 after the stop"}));
}

// A 15 in the line file leaves the train file to be read until its first
// signal or slowdown. The check reads the rest of the line file, which the
// compile skips, so from there on its findings are its own; it still shows
// where the compile stops.
TEST(ReadPastErrorsTest, AnErrorFifteenOfTheLineFileStopsTheTrainWhereTheCompileDoes) {
  const std::string line =
      line_with("[fine]", "pendenza, 20000, 0\r\npendenza, 30000, 0\r\n[fine]");
  const auto compiled = compile_text(line, small_train_source());
  const auto checked = check_text(line, small_train_source());
  EXPECT_EQ(found(compiled->ctx), (Found{"15 at 23", "15 at 16"}));
  EXPECT_EQ(found(checked->ctx),
            (Found{"15 at 23", "15 at 24 after the stop", "15 at 16 after the stop"}));
  EXPECT_EQ(checked->ctx.trail.recordings[2].reason, Reason::earlier_15_stands);
}

TEST(ReadPastErrorsTest, WithoutACellRowTheCheckEndsAsTheCompileDoes) {
  const std::string line = line_with("[generale]", "[generalx]");
  const auto checked = check_text(line, small_train_source());
  // Error 102 stands on the misspelt header.
  EXPECT_EQ(found(checked->ctx), (Found{"102 at 1"}));
  EXPECT_TRUE(checked->ctx.result.cell_row_missing);
}

// Errors of the post-processing pass after a stop are the check's own: the
// compile ran the pass on fewer objects.
TEST(ReadPastErrorsTest, ThePassAfterAStopIsMarked) {
  const std::string train = train_with(
      kSignal1650, signal_at(700) + "\r\nrallentamento, 5000, 60, 200, 0, 0, 0\r\n" +
                       "abbattimento, 4800, 1\r\nabbattimento, 4750, 1\r\nabbattimento, 4700, 1");
  const auto checked = check_text(small_line_source(), train);
  ASSERT_FALSE(checked->ctx.trail.recordings.empty());
  EXPECT_EQ(checked->ctx.trail.recordings.back().numero, 12);
  EXPECT_TRUE(checked->ctx.trail.recordings.back().after_stop);
}

TEST(ReadPastErrorsTest, AParseThatEndsEarlySaysWhichProfilesKeepZero) {
  const struct {
    const char* name;
    std::string line;
    std::string train;
    std::vector<std::string> words;
  } rows[] = {
      {"in the train file",
       small_line_source(),
       train_with(kSignal1650, signal_at(700)),
       {"speed limit from 1950 m", "adhesion"}},
      {"in the line file",
       line_with("curvas3", "curvas"),
       small_train_source(),
       {"gradient from 0 m", "-100 per mille", "speed limit and adhesion in every cell",
        "track plan holds no point from metre 2"}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const auto compiled = compile_text(row.line, row.train);
    ASSERT_EQ(compiled->ctx.trail.recordings.size(), 1u);
    const std::vector<Note>& notes = compiled->ctx.trail.recordings[0].notes;
    ASSERT_FALSE(notes.empty());
    for (const std::string& word : row.words) {
      EXPECT_NE(notes.back().message.find(word), std::string::npos) << notes.back().message;
    }
    EXPECT_EQ(notes.back().message.rfind("the compile stops at this record", 0), 0u);

    // A check says what a compile would do, and that it goes on reading.
    const auto checked = check_text(row.line, row.train);
    ASSERT_FALSE(checked->ctx.trail.recordings.empty());
    const std::string& said = checked->ctx.trail.recordings[0].notes.back().message;
    EXPECT_EQ(said.rfind("a compile stops at this record", 0), 0u) << said;
    EXPECT_TRUE(said.ends_with("; this check reads on")) << said;
  }
}

TEST(ReadPastErrorsTest, AnOccupiedCellNamesTheRecordThatHoldsIt) {
  const auto compiled =
      compile_text(small_line_source(), train_with("segnale,    1650", "segnale,     700"));
  ASSERT_EQ(compiled->ctx.trail.recordings.size(), 1u);
  const Note& note = compiled->ctx.trail.recordings[0].notes.at(0);
  EXPECT_EQ(note.message, "the speed-indicator board at 700 m placed here");
  EXPECT_EQ(note.where.file, SourceFile::line);
  EXPECT_EQ(note.where.line, 19);
  EXPECT_EQ(note.where.column, 1);
}

TEST(ReadPastErrorsTest, ASpeedTheCellsCannotHoldIsItsOwnRecordsError) {
  // The speed of line 10 fails only when the end steps write it.
  const auto compiled = compile_text(small_line_source(), train_with("1950,  160", "1950,  1300"));
  ASSERT_EQ(compiled->ctx.trail.recordings.size(), 1u);
  const Recording& r = compiled->ctx.trail.recordings[0];
  EXPECT_EQ(r.numero, 25);
  EXPECT_EQ(r.where.line, 10);
  EXPECT_EQ(r.value_name, "speed");
  EXPECT_NE(describe(r).find("1300 km/h, above 1275"), std::string::npos) << describe(r);
}

}  // namespace
}  // namespace scenario::testing
