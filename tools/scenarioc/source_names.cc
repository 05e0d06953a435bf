#include "scenarioc/source_names.h"

#include <string_view>
#include <utility>

#include "source/byte_source.h"

namespace scenario {
namespace {

constexpr std::string_view kLineSuffix = "_linea.txt";
constexpr std::string_view kTrainSuffix = "-.txt";

bool ends_with(const std::string& s, std::string_view suffix) {
  return s.size() >= suffix.size() &&
         s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

}  // namespace

std::optional<std::string> name_from_line_file(const std::string& file_name) {
  if (!ends_with(file_name, kLineSuffix) || file_name.size() == kLineSuffix.size()) {
    return std::nullopt;
  }
  return file_name.substr(0, file_name.size() - kLineSuffix.size());
}

std::optional<TrainFileName> split_train_file(const std::string& file_name,
                                              const std::optional<std::string>& nome) {
  if (!ends_with(file_name, kTrainSuffix)) return std::nullopt;
  const std::string stem = file_name.substr(0, file_name.size() - kTrainSuffix.size());
  if (nome && stem.size() > nome->size() + 1 && stem.compare(0, nome->size(), *nome) == 0 &&
      stem[nome->size()] == '_') {
    return TrainFileName{*nome, stem.substr(nome->size() + 1)};
  }
  const size_t underscore = stem.rfind('_');
  if (underscore == std::string::npos || underscore == 0 || underscore + 1 == stem.size()) {
    return std::nullopt;
  }
  return TrainFileName{stem.substr(0, underscore), stem.substr(underscore + 1)};
}

std::optional<ScenarioIdentifiers> identify_scenario(const std::filesystem::path& line_file,
                                                     const std::filesystem::path& train_file,
                                                     const std::optional<std::string>& name,
                                                     const std::optional<std::string>& train,
                                                     std::string& error) {
  std::optional<std::string> nome = name;
  if (!nome) nome = name_from_line_file(line_file.filename().string());
  const std::optional<TrainFileName> from_train =
      split_train_file(train_file.filename().string(), nome);
  if (!nome && from_train) nome = from_train->nome;
  std::optional<std::string> treno = train;
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
  for (const auto& [what, value] :
       {std::pair{"the scenario name", *nome}, std::pair{"the train number", *treno}}) {
    error = unusable_identifier(what, value);
    if (!error.empty()) return std::nullopt;
  }
  return ScenarioIdentifiers{*nome, *treno};
}

void check_readable(const std::filesystem::path& path) {
  FileByteSource source(path);
  char byte;
  source.read(&byte, 1);
}

std::string unusable_identifier(const std::string& what, const std::string& value) {
  if (value.empty()) return what + " is empty";
  if (value.find_first_of("/\\") != std::string::npos) {
    return what + " '" + value + "' holds a path separator; it must name files in one folder";
  }
  if (value == "." || value == "..") return what + " '" + value + "' cannot start a file name";
  return "";
}

}  // namespace scenario
