// Which scenario a document belongs to, paired by the file names as `check`
// pairs them, open documents counted as files; and each scenario compiled
// anew, once, after its sources have changed in the editor. What is kept of
// a scenario goes when the last of its files is closed.
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "scenarioc/lsp/document_store.h"
#include "scenarioc/lsp/scenario_analysis.h"
#include "scenarioc/output/json_text.h"

namespace scenario::lsp {

// The diagnostics of one document, as textDocument/publishDiagnostics sends them.
struct Publication {
  std::string uri;
  Json diagnostics;
};

class Workspace {
 public:
  explicit Workspace(const DocumentStore& documents) : documents_(documents) {}

  // The document `uri` at `path` was opened, changed or closed: its scenario
  // is compiled at the next settle.
  void touch(const std::string& uri, const std::filesystem::path& path);

  // Compiles each scenario touched since the last settle once and returns the
  // diagnostics of each of its sources (an empty list where there are none,
  // so that old ones go). A scenario none of whose files is open any more is
  // dropped, and its lists emptied.
  std::vector<Publication> settle();

  // The latest analysis that includes `document`; null when there is none or
  // when a source could not be read.
  ScenarioAnalysis* analysis_of(const Document& document);

  // How many scenarios are kept.
  size_t kept() const { return analyses_.size(); }

 private:
  struct Touched {
    std::string uri;
    std::filesystem::path path;
  };
  void settle(const Touched& touched, std::set<std::filesystem::path>& compiled,
              std::vector<Publication>& publications);
  bool any_open(const ScenarioAnalysis& analysis) const;

  const DocumentStore& documents_;
  std::vector<Touched> touched_;
  // By the line file's path.
  std::map<std::filesystem::path, std::unique_ptr<ScenarioAnalysis>> analyses_;
};

// The scenario a file belongs to: for a line file with several train files,
// the open one last edited, else the first by name. Open documents of the
// file's folder and the files there on disk both count. None when the name
// fits no rule.
std::optional<ScenarioFiles> scenario_of(const std::filesystem::path& path,
                                         const DocumentStore& documents);

}  // namespace scenario::lsp
