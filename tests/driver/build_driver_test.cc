// `Form_Load`: the steps in their fixed order, a failing step ending the build,
// and every writer of the build replacing the file of an earlier run.
#include "driver/build_driver.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "base/replace_file.h"
#include "base/run_time_failure.h"
#include "documents/scenario_notes.h"
#include "documents/slowdown_order.h"
#include "documents/train_sheet.h"
#include "source/builtin_line.h"
#include "source/builtin_train.h"
#include "source/text_writer.h"
#include "test_support.h"

namespace scenario {
namespace {

using testing::list_folder;
using testing::read_file;
using testing::TempDir;
using testing::write_file;

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
    // The first file cannot take a name that a folder holds.
    std::filesystem::create_directory(dir / "Velmora_Dorsel_linea.txt");
    EXPECT_EQ(run_as_main(ui, dir.path(), err, log), 1);
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
    EXPECT_EQ(list_folder(dir.path()), std::vector<std::string>{"Velmora_Dorsel_linea.txt"});
  }
}

// Every writer of the build replaces a longer file of an earlier run whole,
// leaving nothing beside it.
TEST(BuildDriverTest, WritersReplaceALongerEarlierFile) {
  const struct {
    const char* name;
    const char* file;
    void (*write)(const BuildIdentity& id, const char* file);
    std::string bytes;
  } rows[] = {
      {"replace_file", "Velmora_Dorsel_904.dat",
       [](const BuildIdentity& id, const char* file) { replace_file(id.cartella / file, "nuovo"); },
       "nuovo"},
      {"replace_file with nothing", "Velmora_Dorsel_904.dat",
       [](const BuildIdentity& id, const char* file) { replace_file(id.cartella / file, ""); }, ""},
      {"salva_testo", "Velmora_Dorsel_904_note.txt",
       [](const BuildIdentity& id, const char* file) {
         salva_testo(id.cartella, file, {"breve", std::string(kEndMarker)});
       },
       "breve\r\n"},
      {"dati_linea", "Velmora_Dorsel_linea.txt",
       [](const BuildIdentity& id, const char*) { dati_linea(id); },
       text_file_bytes(builtin_line_source())},
      {"dati_treno", "Velmora_Dorsel_904-.txt",
       [](const BuildIdentity& id, const char*) { dati_treno(id); },
       text_file_bytes(builtin_train_source())},
      {"dati_note", "Velmora_Dorsel_904_note.txt",
       [](const BuildIdentity& id, const char*) { dati_note(id); },
       text_file_bytes(scenario_notes_lines())},
      {"dati_rallentamenti", "Velmora_Dorsel_904_rallentamenti.txt",
       [](const BuildIdentity& id, const char*) { dati_rallentamenti(id); },
       text_file_bytes(slowdown_order_lines())},
      {"dati_scheda", "Velmora_Dorsel_904_scheda_treno.txt",
       [](const BuildIdentity& id, const char*) { dati_scheda(id); },
       text_file_bytes(train_sheet_lines())},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    TempDir dir;
    const BuildIdentity ctx = testing::builtin_identity(dir.path());
    write_file(dir / row.file, std::string(row.bytes.size() + 5000, 'x'));
    row.write(ctx, row.file);
    EXPECT_EQ(read_file(dir / row.file), row.bytes);
    EXPECT_EQ(list_folder(dir.path()), std::vector<std::string>{row.file});
  }
}

}  // namespace
}  // namespace scenario
