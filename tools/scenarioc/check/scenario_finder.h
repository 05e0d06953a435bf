// Finds the scenarios of a collection: every line file NAME_linea.txt under
// some folders, at any depth, paired with each train file NAME_NUMBER-.txt in
// the same folder. A line file with no train file beside it comes with an
// empty `train_file`; a train file that no line file claims with an empty
// `line_file`.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "scenarioc/scenario_inputs.h"

namespace scenario {

struct FoundScenarios {
  std::vector<ScenarioFiles> scenarios;  // in the order of their paths
  std::vector<std::string> failures;     // folders that could not be read, and why
};

// Symbolic links to folders are not followed, so that a loop cannot trap the
// walk. The files of each folder pair as pair_sources (base/file_naming.h)
// pairs them. A scenario reached through two of the folders given is found
// once.
FoundScenarios find_scenarios(const std::vector<std::filesystem::path>& folders);

// The scenarios that the file names `files` of one folder form, as
// pair_sources pairs them, added to `found` with their paths in `folder`.
void pair_files(const std::filesystem::path& folder, const std::vector<std::string>& files,
                std::vector<ScenarioFiles>& found);

}  // namespace scenario
