#include "scenarioc/check/scenario_finder.h"

#include <algorithm>
#include <set>
#include <system_error>
#include <utility>

#include "base/file_naming.h"
#include "scenarioc/scenario_inputs.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;

// The file names of one folder and its sub-folders, in name order.
struct FolderListing {
  std::vector<std::string> files;
  std::vector<fs::path> folders;
};

FolderListing list_folder(const fs::path& folder, std::vector<std::string>& failures) {
  FolderListing listing;
  std::error_code ec;
  fs::directory_iterator it(folder, ec);
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    std::error_code kind_ec;
    const fs::directory_entry& entry = *it;
    if (entry.is_symlink(kind_ec)) {
      if (!entry.is_directory(kind_ec) && entry.is_regular_file(kind_ec)) {
        listing.files.push_back(utf8_of_path(entry.path().filename()));
      }
    } else if (entry.is_directory(kind_ec)) {
      listing.folders.push_back(entry.path());
    } else if (entry.is_regular_file(kind_ec)) {
      listing.files.push_back(utf8_of_path(entry.path().filename()));
    }
  }
  if (ec) {
    failures.push_back("cannot read folder '" + utf8_of_path(folder) + "': " + ec.message());
  }
  std::sort(listing.files.begin(), listing.files.end());
  std::sort(listing.folders.begin(), listing.folders.end());
  return listing;
}

}  // namespace

void pair_files(const fs::path& folder, const std::vector<std::string>& files,
                std::vector<ScenarioFiles>& found) {
  for (const PairedSources& pair : pair_sources(files)) {
    auto path = [&](const std::string& name) {
      return name.empty() ? fs::path() : file_in(folder, name);
    };
    found.push_back({path(pair.line_file), path(pair.train_file), pair.nome, pair.treno});
  }
}

namespace {

void walk(const fs::path& folder, std::vector<ScenarioFiles>& found,
          std::vector<std::string>& failures) {
  const FolderListing listing = list_folder(folder, failures);
  pair_files(folder, listing.files, found);
  for (const fs::path& sub : listing.folders) walk(sub, found, failures);
}

// The path that names a scenario in the sort: its line file, or its train file alone.
const fs::path& leading_path(const ScenarioFiles& s) {
  return s.line_file.empty() ? s.train_file : s.line_file;
}

std::pair<fs::path, fs::path> identity(const ScenarioFiles& s) {
  std::error_code ec;
  return {fs::weakly_canonical(s.line_file, ec), fs::weakly_canonical(s.train_file, ec)};
}

}  // namespace

FoundScenarios find_scenarios(const std::vector<fs::path>& folders) {
  FoundScenarios result;
  std::vector<ScenarioFiles> found;
  for (const fs::path& folder : folders) walk(folder, found, result.failures);
  std::stable_sort(found.begin(), found.end(), [](const ScenarioFiles& a, const ScenarioFiles& b) {
    return std::pair(leading_path(a), a.train_file) < std::pair(leading_path(b), b.train_file);
  });
  std::set<std::pair<fs::path, fs::path>> seen;
  for (ScenarioFiles& s : found) {
    if (seen.insert(identity(s)).second) result.scenarios.push_back(std::move(s));
  }
  return result;
}

}  // namespace scenario
