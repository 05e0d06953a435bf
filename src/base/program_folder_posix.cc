// The program's folder on Linux: where /proc/self/exe points.
#include <system_error>

#include "base/file_naming.h"
#include "base/run_time_failure.h"

namespace scenario {

std::filesystem::path program_folder() {
  std::error_code error;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) throw RunTimeFailure("cannot find the program's folder: " + error.message());
  return exe.parent_path();
}

}  // namespace scenario
