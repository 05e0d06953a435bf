// File and folder names as the commands print them: whatever bytes a name
// holds, none of its control characters reaches the terminal raw; each shows
// as an escape.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "test_support.h"
#include "tools/scenarioc/run_scenarioc.h"

namespace scenario::testing {
namespace {

namespace fs = std::filesystem;

// A name that would clear the screen and set the terminal's title.
const std::string kHostile = "a\x1b[2J\x1b]0;t\x07z";
const std::string kEscaped = "a\\x1B[2J\\x1B]0;t\\x07z";

bool has_control(const std::string& text) {
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte < 0x20 && c != '\n' && c != '\t') || byte == 0x7F) return true;
  }
  return false;
}

TEST(PrintedNamesTest, ControlCharactersOfNamesAreEscapedWhereverTheyArePrinted) {
  TempDir dir;
  fs::create_directories(dir / kHostile);
  copy_fixture("clean", dir / kHostile);
  // A line file without its train file, which check names as not checked.
  fs::copy_file(dir / kHostile / "Prova_linea.txt", dir / kHostile / (kHostile + "_linea.txt"));
  const std::string line = kHostile + "/Prova_linea.txt";
  const std::string train = kHostile + "/Prova_1-.txt";
  const std::string out = kHostile + "/out";
  const struct {
    const char* name;
    std::vector<std::string> args;
  } rows[] = {
      {"check's summary and not checked lines", {"check", kHostile}},
      {"compile's wrote lines", {"compile", line, train, "-o", out}},
      {"dump's heading", {"dump", out + "/Prova_linea.dat"}},
      {"dump's heading of the stations", {"dump", out + "/Prova_1.sim"}},
      {"report's wrote line", {"report", line, train, "-o", kHostile + "/r.html"}},
      {"emit's wrote lines", {"emit", "-o", kHostile + "/emitted"}},
      {"a failure naming a file", {"dump", kHostile + "/missing_linea.dat"}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const ToolRun run = run_scenarioc(dir.path(), row.args);
    EXPECT_FALSE(has_control(run.out)) << run.out;
    EXPECT_FALSE(has_control(run.err)) << run.err;
    EXPECT_NE((run.out + run.err).find(kEscaped), std::string::npos) << run.out << run.err;
  }
}

}  // namespace
}  // namespace scenario::testing
