#include "base/file_naming.h"

#include <system_error>

#include "base/run_time_failure.h"

namespace scenario {

std::filesystem::path program_folder() {
  std::string reason;
  std::filesystem::path folder = program_folder(reason);
  if (!reason.empty()) throw RunTimeFailure(reason);
  return folder;
}

std::filesystem::path program_folder(std::string& reason) {
  std::error_code error;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) {
    reason = "cannot find the program's folder: " + error.message();
    return {};
  }
  return exe.parent_path();
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
