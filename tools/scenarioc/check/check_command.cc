#include "scenarioc/check/check_command.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "base/file_naming.h"
#include "base/text_encoding.h"
#include "scenarioc/check/ordered_work.h"
#include "scenarioc/check/scenario_check.h"
#include "scenarioc/check/scenario_finder.h"
#include "scenarioc/command_exit.h"
#include "scenarioc/output/colour.h"
#include "scenarioc/scenario_inputs.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;

bool is_folder(const std::string& path) {
  std::error_code ec;
  return fs::is_directory(path_from_utf8(path), ec);
}

// The scenarios the arguments name: two files (the first not a folder), or
// folders to search. None, with `error` saying why, when the arguments are neither.
std::optional<FoundScenarios> scenarios_named(const CommandLine& line, std::string& error) {
  const std::vector<std::string>& args = line.files;
  if (args.size() == 2 && !is_folder(args[0])) {
    std::optional<ScenarioFiles> scenario = scenario_files_of(line, error);
    if (!scenario) return std::nullopt;
    FoundScenarios found;
    found.scenarios.push_back(std::move(*scenario));
    return found;
  }
  for (const std::string& arg : args) {
    if (!is_folder(arg)) {
      error = "'" + arg + "' is not a folder; give LINE_FILE TRAIN_FILE or folders";
      return std::nullopt;
    }
  }
  if (line.name || line.train) {
    error = "--name and --train name one scenario; folders name their scenarios by file name";
    return std::nullopt;
  }
  std::vector<fs::path> folders;
  for (const std::string& arg : args) folders.push_back(path_from_utf8(arg));
  return find_scenarios(folders);
}

struct Tally {
  size_t counts[4] = {0, 0, 0, 0};  // by CheckVerdict
  int status = 0;

  void add(const ScenarioReport& report) {
    ++counts[static_cast<int>(report.verdict)];
    status = std::max(status, report.status);
  }
  size_t of(CheckVerdict verdict) const { return counts[static_cast<int>(verdict)]; }
};

// "scenarioc check: 200 scenarios: 190 ok, 6 with warnings, 4 with errors".
std::string totals(const Tally& tally, size_t scenarios) {
  std::string text = "scenarioc check: " + std::to_string(scenarios) +
                     (scenarios == 1 ? " scenario: " : " scenarios: ") +
                     std::to_string(tally.of(CheckVerdict::ok)) + " ok, " +
                     std::to_string(tally.of(CheckVerdict::warnings)) + " with warnings, " +
                     std::to_string(tally.of(CheckVerdict::errors)) + " with errors";
  if (tally.of(CheckVerdict::failure) > 0) {
    text += ", " + std::to_string(tally.of(CheckVerdict::failure)) + " not read";
  }
  return text;
}

}  // namespace

int run_check(const CommandLine& line, std::istream&, std::ostream& out, std::ostream& err) {
  std::string error;
  const std::optional<FoundScenarios> found = scenarios_named(line, error);
  if (!found) throw UsageFailure(error);
  for (const std::string& failure : found->failures)
    err << "scenarioc: " << printable_from_native(failure) << '\n';
  const std::vector<ScenarioFiles>& scenarios = found->scenarios;
  if (scenarios.empty()) {
    err << "scenarioc check: no line file NAME_linea.txt found\n";
    return kExitFailure;
  }

  Presentation presentation;
  presentation.warnings = line.warnings;
  presentation.colour = !line.json && colour_wanted_for(line.colour, StandardStream::out);
  Tally tally;
  run_in_order<ScenarioReport>(
      scenarios.size(), line.jobs.value_or(default_workers()),
      [&](size_t i) { return check_scenario(scenarios[i], presentation, line.json); },
      [&](size_t, const ScenarioReport& report) {
        out << report.text << std::flush;
        tally.add(report);
      });
  if (!line.json && scenarios.size() > 1) out << totals(tally, scenarios.size()) << '\n';
  if (!found->failures.empty()) return kExitFailure;
  return tally.status;
}

}  // namespace scenario
