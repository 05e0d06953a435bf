#include "scenarioc/check/scenario_finder.h"

#include <algorithm>
#include <optional>
#include <set>
#include <system_error>
#include <utility>

#include "base/file_naming.h"
#include "scenarioc/scenario_inputs.h"
#include "scenarioc/source_names.h"

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

// The line file among `names` whose NAME is the longest that starts
// `train_file` followed by "_"; none when there is none.
std::optional<std::string> owner_of(const std::string& train_file,
                                    const std::vector<std::string>& names) {
  std::optional<std::string> best;
  for (const std::string& nome : names) {
    const std::optional<TrainFileName> split = split_train_file(train_file, nome);
    if (!split || split->nome != nome) continue;
    if (!best || nome.size() > best->size()) best = nome;
  }
  return best;
}

}  // namespace

void pair_files(const fs::path& folder, const std::vector<std::string>& files,
                std::vector<ScenarioFiles>& found) {
  std::vector<std::string> names;
  for (const std::string& file : files) {
    if (const std::optional<std::string> nome = name_from_line_file(file)) names.push_back(*nome);
  }
  std::set<std::string> paired;
  for (const std::string& file : files) {
    if (name_from_line_file(file)) continue;
    const std::optional<TrainFileName> split = split_train_file(file, std::nullopt);
    if (!split) continue;
    const std::optional<std::string> owner = owner_of(file, names);
    if (!owner) {
      found.push_back({{}, file_in(folder, file), split->nome, split->treno});
      continue;
    }
    paired.insert(*owner);
    const std::string treno = split_train_file(file, owner)->treno;
    found.push_back(
        {file_in(folder, line_source_name(*owner)), file_in(folder, file), *owner, treno});
  }
  for (const std::string& nome : names) {
    if (!paired.count(nome))
      found.push_back({file_in(folder, line_source_name(nome)), {}, nome, ""});
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
