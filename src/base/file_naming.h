// The file-naming rule: every file lives in the program's own folder and is
// named from the scenario name `nome` and, for train files, the train number
// `treno`.
#pragma once

#include <filesystem>
#include <string>

namespace scenario {

// The folder that holds the running executable; throws RunTimeFailure when it
// cannot be found.
std::filesystem::path program_folder();
// The same without throwing: empty, with the reason in `reason`, when it cannot be found.
std::filesystem::path program_folder(std::string& reason);

std::string line_source_name(const std::string& nome);
std::string train_source_name(const std::string& nome, const std::string& treno);
std::string notes_name(const std::string& nome, const std::string& treno);
std::string slowdown_order_name(const std::string& nome, const std::string& treno);
std::string train_sheet_name(const std::string& nome, const std::string& treno);
std::string track_plan_name(const std::string& nome);
std::string station_table_name(const std::string& nome, const std::string& treno);
std::string route_cells_name(const std::string& nome, const std::string& treno);

}  // namespace scenario
