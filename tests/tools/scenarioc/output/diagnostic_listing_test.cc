// The diagnostics as the tool prints them, from warnings, errors and notes put
// into a build context by hand: the forms of each line, the order of the
// sources, -Wno-NAME and -Werror, colour, and the JSON of each.
#include "scenarioc/output/diagnostic_listing.h"

#include <gtest/gtest.h>

#include <string>

#include "scenarioc/output/compile_report.h"
#include "scenarioc/output/diagnostic_json.h"
#include "tools/scenarioc/json_reader.h"

namespace scenario::testing {
namespace {

constexpr const char* kLineText = "[generale]\nlunghezza percorso, 10000\npendneza, 500, 3\n";
constexpr const char* kTrainText = "[segnali]\nsegnale, 700\nsegnale,\t900, 2\n";

Warning warning_at(WarningClass kind, SourceFile file, int32_t line, int32_t column,
                   std::string message) {
  Warning w;
  w.kind = kind;
  w.where = {file, line, column};
  w.message = std::move(message);
  return w;
}

Recording error_at(int32_t numero, SourceFile file, int32_t line, int32_t column) {
  Recording r;
  r.numero = numero;
  r.where = {file, line, column};
  r.text = "example";
  return r;
}

// Two errors in the train file and three warnings: one in the line file, one
// between the errors, one that names no line.
BuildContext context_with_diagnostics() {
  BuildContext ctx;
  ctx.trail.recordings.push_back(error_at(25, SourceFile::train, 2, 1));
  ctx.trail.recordings.push_back(error_at(25, SourceFile::train, 3, 9));
  ctx.trail.recordings.back().after_stop = true;
  ctx.trail.warnings.push_back(
      warning_at(WarningClass::unknown_keyword, SourceFile::line, 3, 1,
                 "\"pendneza\" names no record; did you mean 'pendenza'?"));
  ctx.trail.warnings.push_back(warning_at(WarningClass::speed_rounded, SourceFile::train, 2, 10,
                                          "a speed of 92 km/h is stored as 90"));
  ctx.trail.warnings.back().notes.push_back({{SourceFile::line, 2, 1}, "the route starts here"});
  ctx.trail.warnings.push_back(
      warning_at(WarningClass::encoding, SourceFile::train, 0, 0, "names saved as UTF-8"));
  return ctx;
}

std::string printed(const BuildContext& ctx, MemorySources& sources, const WarningSettings& w,
                    bool colour) {
  SourceLines lines(sources);
  DiagnosticPrinter printer(sources, lines, colour, w.as_errors);
  std::string text;
  for (const ListedDiagnostic& d : diagnostics_in_order(ctx.trail, w)) text += printer.print(d);
  return text;
}

TEST(DiagnosticListingTest, WarningsTakeTheirPlaceAmongTheErrorsInSourceOrder) {
  const BuildContext ctx = context_with_diagnostics();
  MemorySources sources(kLineText, kTrainText);
  EXPECT_EQ(printed(ctx, sources, {}, false),
            "line source:3:1: warning: \"pendneza\" names no record; did you mean 'pendenza'? "
            "[-Wunknown-keyword]\n"
            "    3 | pendneza, 500, 3\n"
            "      | ^\n"
            "train source:2:1: error 25: run-time failure: example\n"
            "    2 | segnale, 700\n"
            "      | ^\n"
            "train source:2:10: warning: a speed of 92 km/h is stored as 90 [-Wspeed-rounded]\n"
            "    2 | segnale, 700\n"
            "      |          ^\n"
            "line source:2:1: note: the route starts here\n"
            "    2 | lunghezza percorso, 10000\n"
            "      | ^\n"
            "train source:3:9: error 25: run-time failure: example (found after the point where "
            "the compile stopped)\n"
            "    3 | segnale,        900, 2\n"
            "      |         ^\n"
            "train source: warning: names saved as UTF-8 [-Wencoding]\n");
}

// At the same place the warning, which says how the text was read, comes first.
TEST(DiagnosticListingTest, AtTheSamePlaceTheWarningComesFirst) {
  BuildContext ctx;
  ctx.trail.recordings.push_back(error_at(25, SourceFile::train, 2, 10));
  ctx.trail.warnings.push_back(
      warning_at(WarningClass::extra_fields, SourceFile::train, 2, 10, "read as a keyword"));
  const std::vector<ListedDiagnostic> listed = diagnostics_in_order(ctx.trail, {});
  ASSERT_EQ(listed.size(), 2u);
  EXPECT_NE(listed[0].warning, nullptr);
  EXPECT_NE(listed[1].error, nullptr);
}

TEST(DiagnosticListingTest, FlagsChooseWhatIsShownAndHow) {
  const BuildContext ctx = context_with_diagnostics();
  MemorySources sources(kLineText, kTrainText);
  WarningSettings settings;
  ASSERT_EQ(apply_warning_flag(settings, "-Wno-unknown-keyword"), "");
  ASSERT_EQ(apply_warning_flag(settings, "-Wno-encoding"), "");
  ASSERT_EQ(apply_warning_flag(settings, "-Wencoding"), "");  // a later flag wins
  ASSERT_EQ(apply_warning_flag(settings, "-Werror"), "");
  const std::string text = printed(ctx, sources, settings, false);
  EXPECT_EQ(text.find("pendneza"), std::string::npos) << text;
  EXPECT_NE(text.find("train source:2:10: error: a speed of 92 km/h is stored as 90 "
                      "[-Werror=speed-rounded]\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("train source: error: names saved as UTF-8 [-Werror=encoding]\n"),
            std::string::npos)
      << text;
  EXPECT_EQ(shown_warnings(ctx.trail, settings), 2u);
}

TEST(DiagnosticListingTest, UnknownWarningNamesAreRefusedWithTheList) {
  WarningSettings settings;
  const std::string error = apply_warning_flag(settings, "-Wno-pendneza");
  EXPECT_EQ(error.rfind("unknown warning 'pendneza' in '-Wno-pendneza'; the warnings are: "
                        "unknown-keyword, ambiguous-keyword, ",
                        0),
            0u)
      << error;
  for (const WarningClassName& c : warning_classes()) {
    EXPECT_NE(error.find(std::string(c.name)), std::string::npos) << c.name;
  }
  EXPECT_TRUE(settings.off.empty());
}

TEST(DiagnosticListingTest, ColourMarksLocationSeverityOptionAndCaret) {
  BuildContext ctx;
  ctx.trail.warnings.push_back(
      warning_at(WarningClass::off_grid, SourceFile::line, 2, 21, "10010 m is off the grid"));
  ctx.trail.recordings.push_back(error_at(25, SourceFile::train, 2, 1));
  ctx.trail.recordings.back().notes.push_back({{SourceFile::line, 3, 1}, "held here"});
  MemorySources sources(kLineText, kTrainText);
  const std::string bold = "\33[01m\33[K", magenta = "\33[01;35m\33[K", red = "\33[01;31m\33[K",
                    cyan = "\33[01;36m\33[K", green = "\33[01;32m\33[K", off = "\33[m\33[K";
  EXPECT_EQ(printed(ctx, sources, {}, true),
            bold + "line source:2:21:" + off + " " + magenta + "warning:" + off +
                " 10010 m is off the grid [" + magenta + "-Woff-grid" + off + "]\n" +
                "    2 | lunghezza percorso, 10000\n" + "      |                     " + green +
                "^" + off + "\n" + bold + "train source:2:1:" + off + " " + red +
                "error 25:" + off + " run-time failure: example\n" + "    2 | segnale, 700\n" +
                "      | " + green + "^" + off + "\n" + bold + "line source:3:1:" + off + " " +
                cyan + "note:" + off + " held here\n" + "    3 | pendneza, 500, 3\n" + "      | " +
                green + "^" + off + "\n");
}

TEST(DiagnosticListingTest, MessagesCannotDriveTheTerminal) {
  BuildContext ctx;
  ctx.trail.warnings.push_back(
      warning_at(WarningClass::encoding, SourceFile::none, 0, 0, "text \x1b[2J\xE0 read"));
  MemorySources sources("", "");
  EXPECT_EQ(printed(ctx, sources, {}, false), "warning: text \\x1B[2J\xC3\xA0 read [-Wencoding]\n");
}

TEST(DiagnosticListingTest, WarningsChangeTheExitStatusOnlyUnderWerror) {
  MemorySources sources("", "");
  const CompileResult written{0, false, {"a.dat"}};
  const struct {
    const char* name;
    std::vector<WarningClass> warnings;
    std::vector<std::string> flags;
    int status;
  } rows[] = {
      {"no warning", {}, {"-Werror"}, 0},
      {"a warning", {WarningClass::overlap}, {}, 0},
      {"a warning under -Werror", {WarningClass::overlap}, {"-Werror"}, 1},
      {"a warning turned off under -Werror",
       {WarningClass::overlap},
       {"-Werror", "-Wno-overlap"},
       0},
      {"one of two turned off",
       {WarningClass::overlap, WarningClass::off_grid},
       {"-Wno-overlap", "-Werror"},
       1},
      {"-Wno-error after -Werror", {WarningClass::overlap}, {"-Werror", "-Wno-error"}, 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    BuildContext ctx;
    for (WarningClass kind : row.warnings) {
      ctx.trail.warnings.push_back(warning_at(kind, SourceFile::line, 1, 1, "m"));
    }
    WarningSettings settings;
    for (const std::string& flag : row.flags) ASSERT_EQ(apply_warning_flag(settings, flag), "");
    EXPECT_EQ(compile_exit_status({ctx, written, sources, {}}, settings), row.status);
  }
}

TEST(DiagnosticListingTest, JsonOfWarningsAndNotesHasTheFieldsOfErrors) {
  const BuildContext ctx = context_with_diagnostics();
  MemorySources sources(kLineText, kTrainText);
  const CompileResult written{0, false, {}};
  Json document = Json::object();
  add_outcome_fields(document, {ctx, written, sources, {}}, {});
  const JsonValue json = parse_json(json_text(document));
  const JsonValue& error = json["recordings"][1];
  const JsonValue& warning = json["warnings"][1];
  const JsonValue& note = warning["notes"][0];
  for (const char* key : {"number", "position", "file", "line", "column", "message", "diagnostic",
                          "severity", "name"}) {
    EXPECT_TRUE(error.has(key) && warning.has(key) && note.has(key)) << key;
  }
  EXPECT_EQ(error["severity"].text, "error");
  EXPECT_TRUE(error["after_stop"].boolean);
  EXPECT_EQ(error["diagnostic"].text,
            "train source:3:9: error 25: run-time failure: example (found after the point where "
            "the compile stopped)");
  EXPECT_EQ(warning["severity"].text, "warning");
  EXPECT_EQ(warning["name"].text, "speed-rounded");
  EXPECT_EQ(warning["file"].text, "train source");
  EXPECT_EQ(warning["line"].integer(), 2);
  EXPECT_EQ(warning["column"].integer(), 10);
  EXPECT_EQ(warning["message"].text, "a speed of 92 km/h is stored as 90");
  EXPECT_EQ(warning["diagnostic"].text,
            "train source:2:10: warning: a speed of 92 km/h is stored as 90 [-Wspeed-rounded]");
  EXPECT_TRUE(warning["number"].is_null());
  EXPECT_EQ(note["severity"].text, "note");
  EXPECT_EQ(note["diagnostic"].text, "line source:2:1: note: the route starts here");
  EXPECT_TRUE(json["warnings"][2]["line"].is_null());
}

}  // namespace
}  // namespace scenario::testing
