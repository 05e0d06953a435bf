// The file-naming rule: every file lives in the program's own folder and is
// named from the scenario name `nome` and, for train files, the train number
// `treno`.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

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

}  // namespace scenario
