#include "base/file_naming.h"

namespace scenario {

std::filesystem::path path_from_utf8(std::string_view text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::filesystem::path file_in(const std::filesystem::path& folder, std::string_view name) {
  return folder / path_from_utf8(name);
}

std::string line_source_name(const std::string& nome) { return nome + "_linea.txt"; }

std::string train_source_name(const std::string& nome, const std::string& treno) {
  return nome + "_" + treno + "-.txt";
}

std::string notes_name(const std::string& nome, const std::string& treno) {
  return nome + "_" + treno + "_" + "note.txt";
}

std::string slowdown_order_name(const std::string& nome, const std::string& treno) {
  return nome + "_" + treno + "_" + "rallentamenti.txt";
}

std::string train_sheet_name(const std::string& nome, const std::string& treno) {
  return nome + "_" + treno + "_" + "scheda_treno.txt";
}

std::string track_plan_name(const std::string& nome) { return nome + "_linea.dat"; }

std::string station_table_name(const std::string& nome, const std::string& treno) {
  return nome + "_" + treno + ".sim";
}

std::string route_cells_name(const std::string& nome, const std::string& treno) {
  return nome + "_" + treno + ".dat";
}

}  // namespace scenario
