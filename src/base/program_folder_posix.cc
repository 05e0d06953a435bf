// The program's folder on Linux: where /proc/self/exe points.
#include <system_error>

#include "base/program_folder.h"

namespace scenario {

std::filesystem::path program_folder(std::string& reason) {
  std::error_code error;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) {
    reason = "cannot find the program's folder: " + error.message();
    return {};
  }
  return exe.parent_path();
}

}  // namespace scenario
