// The program's folder, or a failure that says why it cannot be found.
#include "base/program_folder.h"

#include "base/run_time_failure.h"

namespace scenario {

std::filesystem::path program_folder() {
  std::string reason;
  std::filesystem::path folder = program_folder(reason);
  if (!reason.empty()) throw RunTimeFailure(reason);
  return folder;
}

}  // namespace scenario
