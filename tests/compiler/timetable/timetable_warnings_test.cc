// The timetable's warnings as compile() adds them: only when the options name
// a train model, each at the line of the station whose time is too early, and
// none after a compile that recorded an error.
#include "compiler/timetable/timetable_warnings.h"

#include <gtest/gtest.h>

#include "compiler/compile_harness.h"
#include "compiler/diagnostics/warnings.h"

namespace scenario::timetable {
namespace {

using scenario::testing::compile_text;
using scenario::testing::small_line_source;
using scenario::testing::train_with;

constexpr const char* kOnTime = "4,1,1,   45,  10,40, 0, ALTRA-STAZIONE";

// The small scenario with the second station's time changed to `time`
// ("10,36, 0"), compiled with the default train model or none.
std::vector<Warning> warnings_with(const std::string& time, bool with_model = true) {
  const std::string at = std::string("4,1,1,   45,  ") + time + ", ALTRA-STAZIONE";
  CompileOptions options;
  if (with_model) options.timetable = TrainModel{};
  const auto compiled = compile_text(small_line_source(), train_with(kOnTime, at), options);
  return compiled->ctx.trail.warnings;
}

TEST(TimetableWarnings, EachSectionIsJudgedAtItsStation) {
  // The fastest run from ORIGINE to ALTRA-STAZIONE takes 270.3 s; 4 % of it
  // is the recovery margin owed by a train running up to 160 km/h.
  const struct {
    const char* time;
    bool warned;
    WarningClass kind;
    const char* message;
  } cases[] = {
      {"10,40, 0", false, {}, ""},
      {"10,37,42", false, {}, ""},
      {"10,37,35", true, WarningClass::recovery_margin,
       "the section from \"ORIGINE\" to \"ALTRA-STAZIONE\" leaves a recovery margin of 4 s, less "
       "than the 11 s recommended for passenger trains (4 % of its running time of 4 min 30 s, "
       "for a train running up to 160 km/h)"},
      {"10,37,31", true, WarningClass::recovery_margin, "leaves a recovery margin of 0 s"},
      {"10,37,29", true, WarningClass::running_time,
       "the section from \"ORIGINE\" to \"ALTRA-STAZIONE\" cannot be kept: needs 4 min 31 s, "
       "has 4 min 29 s"},
      {"10,36, 0", true, WarningClass::running_time, "cannot be kept: needs 4 min 31 s, has 3 min"},
  };
  for (const auto& c : cases) {
    const std::vector<Warning> warnings = warnings_with(c.time);
    ASSERT_EQ(warnings.size(), c.warned ? 1u : 0u) << c.time;
    if (!c.warned) continue;
    const Warning& w = warnings[0];
    EXPECT_EQ(w.kind, c.kind) << c.time;
    EXPECT_NE(w.message.find(c.message), std::string::npos) << w.message;
    EXPECT_EQ(w.where.file, SourceFile::train);
    ASSERT_EQ(w.notes.size(), 1u);
    EXPECT_LT(w.notes[0].where.line, w.where.line);  // at ORIGINE, the line before
  }
  EXPECT_TRUE(warnings_with("10,36, 0", false).empty());
}

TEST(TimetableWarnings, NoneAfterACompileThatRecordedAnError) {
  CompileOptions options;
  options.timetable = TrainModel{};
  // A timetable that cannot be kept, and two signals in one cell.
  const std::string signal = "segnale,    1650,   2, 4, 0,  0, 0,    2,  1,0,0, 0";
  const std::string train =
      scenario::testing::replaced(train_with(kOnTime, "4,1,1,   45,  10,34, 0, ALTRA-STAZIONE"),
                                  signal, signal + "\r\n" + signal);
  const auto compiled = compile_text(small_line_source(), train, options);
  ASSERT_FALSE(compiled->ctx.trail.recordings.empty());
  EXPECT_TRUE(compiled->ctx.trail.warnings.empty());
}

}  // namespace
}  // namespace scenario::timetable
