#include "scenarioc/watch/watched_report.h"

#include <chrono>
#include <string_view>

#include "base/replace_file.h"
#include "scenarioc/output/html_text.h"
#include "scenarioc/report/report_assets.h"
#include "scenarioc/report/report_names.h"
#include "scenarioc/scenario_inputs.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;

// The script's placeholder `name` becomes `value`.
void fill_placeholder(std::string& script, std::string_view name, const std::string& value) {
  const size_t at = script.find(name);
  if (at != std::string::npos) script.replace(at, name.size(), value);
}

}  // namespace

fs::path generation_file_of(const fs::path& page) {
  fs::path file = page;
  file += ".generation.js";
  return file;
}

std::string page_that_reloads(const std::string& page, const fs::path& page_path,
                              int64_t generation) {
  std::string script(watch_reload_script());
  fill_placeholder(script, page::kPageGeneration, std::to_string(generation));
  fill_placeholder(script, page::kGenerationFileName,
                   script_string_literal(utf8_of_path(generation_file_of(page_path).filename())));
  script = "<script>\n" + script + "</script>\n";
  const size_t end = page.rfind("</body>");
  if (end == std::string::npos) return page + script;
  return page.substr(0, end) + script + page.substr(end);
}

std::string generation_script(int64_t generation) {
  return std::string(page::kWatchCallback) + "(" + std::to_string(generation) + ");\n";
}

void write_watched_report(const fs::path& page_path, const std::string& page) {
  const int64_t generation = std::chrono::duration_cast<std::chrono::milliseconds>(
                                 std::chrono::system_clock::now().time_since_epoch())
                                 .count();
  replace_file(page_path, page_that_reloads(page, page_path, generation));
  replace_file(generation_file_of(page_path), generation_script(generation));
}

}  // namespace scenario
