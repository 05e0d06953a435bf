#include "scenarioc/source_names.h"

#include <string_view>

#include "base/text_encoding.h"

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

std::string unusable_identifier(const std::string& what, const std::string& value) {
  if (value.empty()) return what + " is empty";
  if (value.find_first_of("/\\") != std::string::npos) {
    return what + " '" + value + "' holds a path separator; it must name files in one folder";
  }
  if (value == "." || value == "..") return what + " '" + value + "' cannot start a file name";
  std::string refused;
  if (!text_1252_from_native(value, &refused)) {
    return what + " '" + value + "' holds '" + refused +
           "', which Windows-1252, the code page of the compiled files, cannot hold";
  }
  return "";
}

}  // namespace scenario
