#include "scenarioc/output_folder.h"

#include <system_error>

#include "base/altered_names.h"
#include "base/file_naming.h"
#include "base/run_time_failure.h"
#include "scenarioc/scenario_inputs.h"

namespace scenario {

namespace fs = std::filesystem;

fs::path output_folder(const CommandLine& line) {
  if (line.out_dir) return path_from_utf8(*line.out_dir);
  const fs::path parent = path_from_utf8(line.files[0]).parent_path();
  return parent.empty() ? fs::path(".") : parent;
}

void make_folder(const fs::path& folder) {
#ifdef _WIN32
  // Windows would make "out2 " as "out2" and then fail to write into it.
  const std::string altered = name_windows_alters(folder);
  if (!altered.empty()) {
    throw RunTimeFailure("cannot create folder '" + utf8_of_path(folder) + "': " + altered);
  }
#endif
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec)
    throw RunTimeFailure("cannot create folder '" + utf8_of_path(folder) + "': " + ec.message());
}

}  // namespace scenario
