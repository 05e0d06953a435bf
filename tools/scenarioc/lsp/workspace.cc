#include "scenarioc/lsp/workspace.h"

#include <algorithm>
#include <set>
#include <system_error>
#include <utility>

#include "scenarioc/check/scenario_finder.h"
#include "scenarioc/lsp/published_diagnostics.h"
#include "scenarioc/scenario_inputs.h"

namespace scenario::lsp {
namespace {

namespace fs = std::filesystem;

// The names of the open documents in `folder`, `path`'s among them, and of
// the regular files there on disk.
std::vector<std::string> names_in(const fs::path& folder, const fs::path& path,
                                  const DocumentStore& documents) {
  std::vector<std::string> names = documents.names_in(folder);
  names.push_back(utf8_of_path(path.filename()));
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

Json one_error(const std::string& message) {
  Json json = Json::object();
  json["range"] = range_json({{0, 0}, {0, 1}});
  json["severity"] = 1;
  json["source"] = "scenarioc";
  json["message"] = json_native(message);
  return Json::array({std::move(json)});
}

// Why a file is not compiled with a partner; empty when it is.
std::string unpaired_reason(const std::optional<ScenarioFiles>& files) {
  if (!files) {
    return "the file is named neither NAME_linea.txt nor NAME_NUMBER-.txt, so it belongs to no "
           "scenario";
  }
  if (files->train_file.empty()) {
    return "no train file " + files->nome + "_NUMBER-.txt beside the line file";
  }
  if (files->line_file.empty()) {
    return "no line file " + files->nome + "_linea.txt beside the train file";
  }
  return "";
}

// A source on disk could not be read: the open sources say why, and nothing
// else is published.
std::vector<Publication> failure_of(const ScenarioAnalysis& analysis) {
  std::vector<Publication> publications;
  for (const SourceSide* side : {&analysis.line(), &analysis.train()}) {
    publications.push_back({side->uri, side->open ? one_error(analysis.failure()) : Json::array()});
  }
  return publications;
}

// The last publication for each document, in the order of those last ones.
std::vector<Publication> last_of_each(std::vector<Publication> publications) {
  std::vector<Publication> kept;
  std::set<std::string> seen;
  for (auto it = publications.rbegin(); it != publications.rend(); ++it) {
    if (seen.insert(it->uri).second) kept.push_back(std::move(*it));
  }
  std::reverse(kept.begin(), kept.end());
  return kept;
}

}  // namespace

std::optional<ScenarioFiles> scenario_of(const fs::path& path, const DocumentStore& documents) {
  const fs::path folder = path.parent_path();
  std::vector<ScenarioFiles> found;
  pair_files(folder, names_in(folder, path, documents), found);
  const ScenarioFiles* best = nullptr;
  for (const ScenarioFiles& s : found) {
    if (s.line_file != path && s.train_file != path) continue;
    if (!best || touched(s.train_file, documents) > touched(best->train_file, documents)) {
      best = &s;
    }
  }
  return best ? std::optional<ScenarioFiles>(*best) : std::nullopt;
}

void Workspace::touch(const std::string& uri, const fs::path& path) {
  const bool seen = std::any_of(touched_.begin(), touched_.end(),
                                [&](const Touched& t) { return t.uri == uri && t.path == path; });
  if (!seen) touched_.push_back({uri, path});
}

std::vector<Publication> Workspace::settle() {
  std::vector<Publication> publications;
  std::set<fs::path> compiled;
  for (const Touched& touched : std::exchange(touched_, {})) {
    settle(touched, compiled, publications);
  }
  // A scenario paired otherwise since, with none of its files open, goes too.
  std::erase_if(analyses_, [&](const auto& entry) { return !any_open(*entry.second); });
  return last_of_each(std::move(publications));
}

void Workspace::settle(const Touched& touched, std::set<fs::path>& compiled,
                       std::vector<Publication>& publications) {
  const bool open = documents_.find(touched.uri) != nullptr;
  if (touched.path.empty()) {
    publications.push_back({touched.uri, Json::array()});
    return;
  }
  const std::optional<ScenarioFiles> files = scenario_of(touched.path, documents_);
  const std::string unpaired = unpaired_reason(files);
  if (!unpaired.empty()) {
    publications.push_back({touched.uri, open ? one_error(unpaired) : Json::array()});
    return;
  }
  // Both files of a scenario may have been touched: it is compiled once.
  if (!compiled.insert(files->line_file).second) return;
  const auto found = analyses_.find(files->line_file);
  ScenarioAnalysis* earlier = found == analyses_.end() ? nullptr : found->second.get();
  if (!documents_.find_path(files->line_file) && !documents_.find_path(files->train_file)) {
    // The last of its files was closed: nothing is kept, nothing stays marked.
    publications.push_back({touched.uri, Json::array()});
    if (earlier) {
      publications.push_back({earlier->line().uri, Json::array()});
      publications.push_back({earlier->train().uri, Json::array()});
      analyses_.erase(found);
    }
    return;
  }
  auto analysis = std::make_unique<ScenarioAnalysis>(*files, documents_, earlier);
  for (Publication& p :
       analysis->failure().empty() ? diagnostics_of(*analysis) : failure_of(*analysis)) {
    publications.push_back(std::move(p));
  }
  analyses_[files->line_file] = std::move(analysis);
}

bool Workspace::any_open(const ScenarioAnalysis& analysis) const {
  for (const SourceSide* side : {&analysis.line(), &analysis.train()}) {
    if (documents_.find(side->uri) || documents_.find_path(side->path)) return true;
  }
  return false;
}

ScenarioAnalysis* Workspace::analysis_of(const Document& document) {
  ScenarioAnalysis* latest = nullptr;
  for (auto& [path, analysis] : analyses_) {
    if (analysis->failure().empty() && analysis->side_of(document)) latest = analysis.get();
  }
  return latest;
}

}  // namespace scenario::lsp
