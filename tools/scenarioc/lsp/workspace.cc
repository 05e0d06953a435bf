#include "scenarioc/lsp/workspace.h"

#include <algorithm>
#include <system_error>

#include "scenarioc/check/scenario_finder.h"
#include "scenarioc/lsp/published_diagnostics.h"
#include "scenarioc/scenario_inputs.h"

namespace scenario::lsp {
namespace {

namespace fs = std::filesystem;

// The names of the regular files in `folder` and of the open documents there.
std::vector<std::string> names_in(const fs::path& folder, const fs::path& also) {
  std::vector<std::string> names{utf8_of_path(also.filename())};
  std::error_code ec;
  fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, ec);
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    std::error_code kind_ec;
    if (it->is_regular_file(kind_ec)) names.push_back(utf8_of_path(it->path().filename()));
  }
  std::sort(names.begin(), names.end());
  names.erase(std::unique(names.begin(), names.end()), names.end());
  return names;
}

uint64_t touched(const fs::path& path, const DocumentStore& documents) {
  const Document* document = path.empty() ? nullptr : documents.find_path(path);
  return document ? document->touched : 0;
}

Json unpaired_diagnostic(const std::string& message) {
  Json json = Json::object();
  json["range"] = range_json({{0, 0}, {0, 1}});
  json["severity"] = 1;
  json["source"] = "scenarioc";
  json["message"] = message;
  return json;
}

}  // namespace

std::optional<ScenarioFiles> scenario_of(const fs::path& path, const DocumentStore& documents) {
  const fs::path folder = path.parent_path();
  std::vector<std::string> names = names_in(folder, path);
  std::vector<ScenarioFiles> found;
  pair_files(folder, names, found);
  const ScenarioFiles* best = nullptr;
  for (const ScenarioFiles& s : found) {
    if (s.line_file != path && s.train_file != path) continue;
    if (!best || touched(s.train_file, documents) > touched(best->train_file, documents)) {
      best = &s;
    }
  }
  return best ? std::optional<ScenarioFiles>(*best) : std::nullopt;
}

std::vector<Publication> Workspace::refresh(const Document& document) {
  if (document.path.empty()) return {{document.uri, Json::array()}};
  const std::optional<ScenarioFiles> files = scenario_of(document.path, documents_);
  if (!files) {
    return {{document.uri,
             Json::array({unpaired_diagnostic("the file is named neither NAME_linea.txt nor "
                                              "NAME_NUMBER-.txt, so it belongs to no scenario")})}};
  }
  if (files->train_file.empty() || files->line_file.empty()) {
    const std::string missing =
        files->train_file.empty()
            ? "no train file " + files->nome + "_NUMBER-.txt beside the line file"
            : "no line file " + files->nome + "_linea.txt beside the train file";
    return {{document.uri, Json::array({unpaired_diagnostic(missing)})}};
  }
  auto analysis = std::make_unique<ScenarioAnalysis>(*files, documents_);
  std::vector<Publication> publications = diagnostics_of(*analysis);
  analyses_[files->line_file] = std::move(analysis);
  return publications;
}

ScenarioAnalysis* Workspace::analysis_of(const Document& document) {
  ScenarioAnalysis* latest = nullptr;
  for (auto& [path, analysis] : analyses_) {
    if (analysis->side_of(document)) latest = analysis.get();
  }
  return latest;
}

}  // namespace scenario::lsp
