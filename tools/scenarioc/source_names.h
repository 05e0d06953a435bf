// The file-naming rule read backwards: the scenario name and the train number
// of an author's source files, NAME_linea.txt and NAME_NUMBER-.txt.
#pragma once

#include <optional>
#include <string>

namespace scenario {

// NAME of NAME_linea.txt; none when the file name does not fit the rule.
std::optional<std::string> name_from_line_file(const std::string& file_name);

// NAME and NUMBER of NAME_NUMBER-.txt. When `nome` is known and the file name
// starts with it and "_", NUMBER is the rest; otherwise NAME ends at the last "_".
struct TrainFileName {
  std::string nome;
  std::string treno;
};
std::optional<TrainFileName> split_train_file(const std::string& file_name,
                                              const std::optional<std::string>& nome);

// Why a name or number cannot name the compiled files: it names no file, or
// Windows-1252 cannot hold it for their texts; empty when it can.
std::string unusable_identifier(const std::string& what, const std::string& value);

}  // namespace scenario
