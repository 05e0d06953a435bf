// The file-naming rule: every file lives in the program's own folder and is
// named from the scenario name `nome` and, for train files, the train number
// `treno`; read backwards, a file's name gives its scenario.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace scenario {

// A path from UTF-8 text, the encoding of every name and path the program
// holds as a string. A plain std::string would be taken in the system's
// single-byte code page on Windows, where "Città" or "Σενάριο" need UTF-16.
std::filesystem::path path_from_utf8(std::string_view text);
// The file `name` (UTF-8) in `folder`; a folder that ends in a separator, such
// as a drive root, gets no second one.
std::filesystem::path file_in(const std::filesystem::path& folder, std::string_view name);

std::string line_source_name(const std::string& nome);
std::string train_source_name(const std::string& nome, const std::string& treno);
std::string notes_name(const std::string& nome, const std::string& treno);
std::string slowdown_order_name(const std::string& nome, const std::string& treno);
std::string train_sheet_name(const std::string& nome, const std::string& treno);
std::string track_plan_name(const std::string& nome);
std::string station_table_name(const std::string& nome, const std::string& treno);
std::string route_cells_name(const std::string& nome, const std::string& treno);
// The authoring tool's page of a scenario, NAME_NUMBER_report.html.
std::string report_page_name(const std::string& nome, const std::string& treno);

// The train-model file read beside a scenario's train file: NAME_NUMBER_model.txt.
std::string train_model_name(const std::string& nome, const std::string& treno);

// Why `nome` and `treno` cannot name a scenario's files: one names no file,
// or Windows-1252 cannot hold it for the texts of the compiled files, or the
// train number "linea" (in any case, for file systems that ignore it) would
// give the route cells the track plan's name. Empty when they can.
std::string unusable_identifiers(const std::string& nome, const std::string& treno);

// The rule read backwards, from a file name without its folder (UTF-8).

// NAME of a line source NAME_linea.txt; none when the name does not fit.
std::optional<std::string> nome_of_line_source(std::string_view file_name);

// NAME and NUMBER of a train source NAME_NUMBER-.txt. When `nome` is known and
// the file name starts with it and "_", NUMBER is the rest; otherwise NAME ends
// at the last "_". None when the name does not fit.
struct TrainSourceName {
  std::string nome;
  std::string treno;
};
std::optional<TrainSourceName> split_train_source(std::string_view file_name,
                                                  const std::optional<std::string>& nome);

// The scenarios that the file names of one folder form: each line source with
// each of its train sources, a line source with none (empty `train_file`), a
// train source that no line source claims (empty `line_file`). A train source
// belongs to the line source with the longest NAME that starts its name:
// "A_B_1-.txt" is train 1 of "A_B_linea.txt" rather than train "B_1" of
// "A_linea.txt". Trains come in the order of `file_names`, then the line
// sources without one.
struct PairedSources {
  std::string line_file;
  std::string train_file;
  std::string nome;
  std::string treno;  // empty without a train source
};
std::vector<PairedSources> pair_sources(const std::vector<std::string>& file_names);

// The compiled files by their names: NAME_linea.dat, NAME_NUMBER.sim, NAME_NUMBER.dat.
enum class CompiledFileKind { track_plan, station_table, route_cells };
std::optional<CompiledFileKind> compiled_file_kind(std::string_view file_name);

}  // namespace scenario
