#include "scenarioc/scenario_inputs.h"

#include <system_error>

#include "base/file_naming.h"
#include "base/text_encoding.h"
#include "scenarioc/command_exit.h"
#include "scenarioc/commands.h"

namespace scenario {

namespace fs = std::filesystem;

std::optional<Identifiers> identifiers_of(const CommandLine& line, std::string& error) {
  const fs::path line_file = path_from_utf8(line.files[0]);
  const fs::path train_file = path_from_utf8(line.files[1]);
  std::optional<std::string> nome = line.name;
  if (!nome) nome = nome_of_line_source(line_file.filename().string());
  const std::optional<TrainSourceName> from_train =
      split_train_source(train_file.filename().string(), nome);
  if (!nome && from_train) nome = from_train->nome;
  std::optional<std::string> treno = line.train;
  if (!treno && from_train) treno = from_train->treno;
  if (!nome) {
    error = "cannot tell the scenario name: '" + line_file.filename().string() +
            "' is not named NAME_linea.txt and '" + train_file.filename().string() +
            "' is not named NAME_NUMBER-.txt; give it with --name NAME";
    return std::nullopt;
  }
  if (!treno) {
    error = "cannot tell the train number: '" + train_file.filename().string() +
            "' is not named NAME_NUMBER-.txt; give it with --train NUMBER";
    return std::nullopt;
  }
  error = unusable_identifiers(*nome, *treno);
  if (!error.empty()) return std::nullopt;
  return Identifiers{*nome, *treno};
}

std::optional<ScenarioFiles> scenario_files_of(const CommandLine& line, std::string& error) {
  const std::optional<Identifiers> ids = identifiers_of(line, error);
  if (!ids) return std::nullopt;
  return ScenarioFiles{path_from_utf8(line.files[0]), path_from_utf8(line.files[1]), ids->nome,
                       ids->treno};
}

ScenarioFiles given_scenario_files(const CommandLine& line) {
  if (line.files.size() != 2) {
    throw UsageFailure(std::string(line.command->name) + " takes " +
                       std::string(line.command->operands) + ", " +
                       std::to_string(line.files.size()) + " given");
  }
  std::string error;
  std::optional<ScenarioFiles> scenario = scenario_files_of(line, error);
  if (!scenario) throw UsageFailure(error);
  return std::move(*scenario);
}

void check_sources(AuthorSources& sources) { sources.open_both(); }

std::string utf8_of_path(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

std::string printable_path(const fs::path& path) {
  return printable_from_native(utf8_of_path(path));
}

bool same_file(const fs::path& a, const fs::path& b) {
  std::error_code ec;
  return fs::equivalent(a, b, ec);
}

}  // namespace scenario
