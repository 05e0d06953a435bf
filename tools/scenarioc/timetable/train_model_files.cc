#include "scenarioc/timetable/train_model_files.h"

#include <string>

#include "base/file_naming.h"
#include "base/replace_file.h"
#include "base/run_time_failure.h"
#include "compiler/timetable/train_model_file.h"
#include "source/byte_source.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;

// A model file is a few dozen lines; anything far larger is not one.
constexpr size_t kLargestModelFile = 64 * 1024;

std::string text_of(const fs::path& file) {
  FileByteSource source(file);
  if (source.size() > kLargestModelFile) {
    throw RunTimeFailure("'" + utf8_of_path(file) + "' is no train-model file: it holds " +
                         std::to_string(source.size()) + " bytes, more than " +
                         std::to_string(kLargestModelFile));
  }
  std::string text;
  char buffer[4096];
  while (text.size() <= kLargestModelFile) {
    const size_t n = source.read(buffer, sizeof buffer);
    if (n == 0) break;
    text.append(buffer, n);
  }
  return text;
}

}  // namespace

timetable::TrainModel train_model_in(const fs::path& file) {
  return timetable::read_train_model(text_of(file), utf8_of_path(file));
}

fs::path train_model_path(const ScenarioFiles& scenario) {
  // Beside the train file, named as the train file is given: "Prova_1_model.txt"
  // for "Prova_1-.txt", "s/Prova_1_model.txt" for "s/Prova_1-.txt".
  return file_in(scenario.train_file.parent_path(),
                 train_model_name(scenario.nome, scenario.treno));
}

timetable::TrainModel train_model_of(const ScenarioFiles& scenario) {
  if (scenario.treno.empty()) return {};
  const fs::path beside = train_model_path(scenario);
  if (!file_exists(beside)) return {};
  return train_model_in(beside);
}

}  // namespace scenario
