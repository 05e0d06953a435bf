#include "test_support.h"

#include <algorithm>
#include <chrono>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace scenario::testing {

// A folder whose name no other test, run or process takes: creating it fails
// when the name is taken, and then another is tried.
TempDir::TempDir() {
  static std::mt19937_64 names(std::random_device{}() ^
                               std::chrono::steady_clock::now().time_since_epoch().count());
  const std::filesystem::path base = std::filesystem::temp_directory_path();
  for (int attempt = 0;; ++attempt) {
    path_ = base / ("scenario-test-" + std::to_string(names()));
    if (std::filesystem::create_directory(path_)) break;
    if (attempt == 100) throw std::runtime_error("cannot create a folder in " + base.string());
  }
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all);
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(path_, ignored);
}

std::string read_file(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void write_file(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

std::vector<std::string> list_folder(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<std::string> split_crlf(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

std::string fixture_path(const std::string& name) {
  return std::string(SCENARIO_FIXTURES_DIR) + "/" + name;
}

BuildIdentity builtin_identity(const std::filesystem::path& folder) {
  return {"Velmora_Dorsel", "904", folder};
}

}  // namespace scenario::testing
