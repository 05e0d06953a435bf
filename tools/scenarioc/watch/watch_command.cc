#include "scenarioc/watch/watch_command.h"

#include <chrono>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "base/end_request.h"
#include "base/file_calls.h"
#include "base/file_naming.h"
#include "base/run_time_failure.h"
#include "base/text_encoding.h"
#include "scenarioc/command_exit.h"
#include "scenarioc/commands.h"
#include "scenarioc/compile/compile_command.h"
#include "scenarioc/documents/document_files.h"
#include "scenarioc/output/terminal.h"
#include "scenarioc/report/report_command.h"
#include "scenarioc/scenario_inputs.h"
#include "scenarioc/timetable/train_model_files.h"
#include "scenarioc/watch/folder_watch.h"
#include "scenarioc/watch/watched_report.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;

// Editors write a file in several steps (a new file, its content, a rename);
// a compile waits until the folder has been quiet this long.
constexpr std::chrono::milliseconds kQuietPeriod{30};

std::string time_of_day() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  char text[16];
  std::strftime(text, sizeof text, "%H:%M:%S", &local);
  return text;
}

class Watcher {
 public:
  Watcher(const CommandLine& line, const ScenarioFiles& scenario, std::ostream& out,
          std::ostream& err)
      : line_(line),
        scenario_(scenario),
        out_(out),
        err_(err),
        clear_(is_terminal(StandardStream::out)) {
    // Each compile is `scenarioc compile`, ending as that command ends.
    line_.command = find_command("compile");
    line_.json = false;
  }

  void compile() {
    ++count_;
    const auto start = std::chrono::steady_clock::now();
    // The screen is cleared only where the escape sequences are understood.
    if (clear_ && is_colour_terminal(StandardStream::out)) out_ << "\x1b[H\x1b[2J\x1b[3J";
    out_ << std::flush;
    // The page is drawn from the compile whose diagnostics were just printed.
    std::optional<AuthorCompile> compiled;
    const int status = run_reporting_failure(*line_.command, err_, [&] {
      return compile_scenario(line_, scenario_, compiled, out_, err_);
    });
    if (line_.report_file && compiled && compiled->has_compiled()) write_report(*compiled);
    err_ << std::flush;
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start);
    out_ << "scenarioc watch: compile " << count_ << " done at " << time_of_day() << " in "
         << took.count() << " ms, status " << status << "; waiting for a change to "
         << printable_from_native(line_.files[0]) << " or " << printable_from_native(line_.files[1])
         << " (Ctrl-C ends)\n"
         << std::flush;
  }

 private:
  void write_report(const AuthorCompile& compiled) {
    const fs::path page = path_from_utf8(*line_.report_file);
    try {
      write_watched_report(page, draw_report_page(compiled, scenario_));
      out_ << "wrote " << printable_path(page) << '\n';
    } catch (const RunTimeFailure& failure) {
      err_ << "scenarioc: " << printable_from_native(failure.what()) << '\n';
    }
  }

  CommandLine line_;
  ScenarioFiles scenario_;
  std::ostream& out_;
  std::ostream& err_;
  bool clear_;
  int count_ = 0;
};

// The page and its generation file are written after each compile: either
// one in place of a source would be seen as a save, and compiled again.
void refuse_report_over_source(const CommandLine& line) {
  const fs::path page = path_from_utf8(*line.report_file);
  const struct {
    const char* what;
    fs::path path;
    std::string shown;
  } written[] = {
      {"the report", page, *line.report_file},
      {"the report's generation file", generation_file_of(page),
       utf8_path(generation_file_of(page))},
  };
  for (const auto& output : written) {
    for (const std::string& source : line.files) {
      if (same_file(output.path, path_from_utf8(source))) {
        throw UsageFailure(std::string(output.what) + " '" + output.shown +
                           "' would replace the source '" + source + "'");
      }
    }
  }
}

}  // namespace

int run_watch(const CommandLine& line, std::istream&, std::ostream& out, std::ostream& err) {
  const ScenarioFiles scenario = given_scenario_files(line);
  if (line.report_file) refuse_report_over_source(line);
  const EndRequest end;
  // Watching starts before the first compile, so that no save is missed. The
  // train-model file beside the train file counts as a source: its warnings
  // follow it.
  std::vector<fs::path> watched = {path_from_utf8(line.files[0]), path_from_utf8(line.files[1]),
                                   train_model_path(scenario)};
  if (line.documents) {
    watched.push_back(details_path(line.details_file, path_from_utf8(line.files[1]), scenario.nome,
                                   scenario.treno));
  }
  FolderWatch watch(watched, end, [&out](const std::string& said) {
    out << "scenarioc watch: " << said << '\n' << std::flush;
  });
  Watcher watcher(line, scenario, out, err);
  watcher.compile();
  while (true) {
    FolderWatch::Event event = watch.wait(std::nullopt);
    while (event == FolderWatch::Event::changed) event = watch.wait(kQuietPeriod);
    if (event == FolderWatch::Event::ended) break;
    watcher.compile();
  }
  out << "scenarioc watch: ended\n";
  return kExitOk;
}

}  // namespace scenario
