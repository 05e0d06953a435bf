// `Form_Load`: the steps in their fixed order, a failing step ending the build,
// and the program itself run in a folder of its own.
#include "driver/build_driver.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "base/run_time_failure.h"
#include "driver/window_module.h"
#include "test_support.h"

namespace scenario {
namespace {

using testing::list_folder;
using testing::TempDir;

// Steps and what the window is asked to do, in one list in the order they happen.
class Log : public BuildTrace {
 public:
  void step(std::string_view name) override { events.emplace_back(name); }
  std::vector<std::string> events;
};

class FakeInterface : public UserInterface {
 public:
  FakeInterface(Log& log, bool graphical) : log_(log), graphical_(graphical) {}
  void show_waiting_window() override { log_.events.push_back("window shown"); }
  void show_message(const std::string& text) override {
    log_.events.push_back("message");
    messages.push_back(text);
  }
  void close() override { log_.events.push_back("window closed"); }
  bool is_graphical() const override { return graphical_; }
  std::vector<std::string> messages;

 private:
  Log& log_;
  bool graphical_;
};

// The build as the program's main runs it: the steps, the report of a run-time
// failure that ends them, and the end.
int run_as_main(UserInterface& ui, const std::filesystem::path& folder, std::ostream& err,
                Log& log) {
  int status;
  try {
    status = Form_Load(ui, folder, err, &log);
  } catch (const RunTimeFailure& failure) {
    status = report_run_time_failure(ui, failure, err);
  }
  end_build(ui, &log);
  return status;
}

TEST(BuildDriverTest, StepsRunInOrder) {
  TempDir dir;
  Log log;
  FakeInterface ui(log, true);
  std::ostringstream err;
  EXPECT_EQ(run_as_main(ui, dir.path(), err, log), 0);
  const std::vector<std::string> expected = {
      "set nome and treno", "show the window",
      "window shown",       "dati_linea",
      "dati_treno",         "dati_note",
      "dati_rallentamenti", "dati_scheda",
      "memorizza_percorso", "end",
      "window closed",
  };
  EXPECT_EQ(log.events, expected) << err.str();
}

TEST(BuildDriverTest, FailingStepEndsTheBuild) {
  for (const bool graphical : {true, false}) {
    SCOPED_TRACE(graphical ? "with a window" : "without a window");
    TempDir dir;
    Log log;
    FakeInterface ui(log, graphical);
    std::ostringstream err;
    // The first file cannot be written in a folder that does not exist.
    EXPECT_EQ(run_as_main(ui, dir / "assente", err, log), 1);
    std::vector<std::string> expected = {"set nome and treno", "show the window", "window shown",
                                         "dati_linea"};
    if (graphical) expected.push_back("message");
    expected.insert(expected.end(), {"end", "window closed"});
    EXPECT_EQ(log.events, expected);
    EXPECT_NE(err.str().find("Velmora_Dorsel_linea.txt"), std::string::npos) << err.str();
    if (graphical) {
      ASSERT_EQ(ui.messages.size(), 1u);
      EXPECT_NE(ui.messages[0].find("Velmora_Dorsel_linea.txt"), std::string::npos);
    }
    EXPECT_TRUE(list_folder(dir.path()).empty());
  }
}

// Runs the program copied into `folder`, with its window module when
// `with_module`, under the given environment change; returns its exit status,
// or -1 when it did not exit normally.
int run_program(const std::filesystem::path& folder, const std::string& environment,
                bool with_module) {
  const std::filesystem::path program = SCENARIO_VELMORA_DORSEL;
  std::filesystem::copy_file(program, folder / "velmora_dorsel");
  if (with_module) {
    std::filesystem::copy_file(program.parent_path() / kWindowModuleName,
                               folder / kWindowModuleName);
  }
  const std::string command =
      "cd '" + folder.string() + "' && env " + environment + " ./velmora_dorsel >output.log 2>&1";
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Whatever the display, the build writes its six files; only a module that
// cannot be loaded while a display is named is worth a line.
TEST(BuildDriverTest, ProgramBuildsInItsOwnFolder) {
  const struct {
    const char* name;
    const char* environment;
    bool with_module;
    const char* output;
  } rows[] = {
      {"no display", "-u DISPLAY", false, ""},
      {"an empty DISPLAY", "DISPLAY=", false, ""},
      {"a display that cannot be opened", "DISPLAY=:9999", true, ""},
      {"a display but no window module", "DISPLAY=:9999", false,
       "velmora_dorsel: no waiting window: "},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    TempDir dir;
    EXPECT_EQ(run_program(dir.path(), row.environment, row.with_module), 0)
        << testing::read_file(dir / "output.log");
    std::vector<std::string> expected = {
        "Velmora_Dorsel_904.dat",
        "Velmora_Dorsel_904.sim",
        "Velmora_Dorsel_904_note.txt",
        "Velmora_Dorsel_904_rallentamenti.txt",
        "Velmora_Dorsel_904_scheda_treno.txt",
        "Velmora_Dorsel_linea.dat",
        "output.log",
    };
    if (row.with_module) expected.push_back(kWindowModuleName);
    expected.push_back("velmora_dorsel");
    EXPECT_EQ(list_folder(dir.path()), expected);
    // The fixed start is followed by the module's path and the system's words.
    const std::string log = testing::read_file(dir / "output.log");
    if (row.output[0] == '\0') {
      EXPECT_EQ(log, "");
    } else {
      EXPECT_TRUE(log.starts_with(row.output)) << log;
    }
  }
}

}  // namespace
}  // namespace scenario
