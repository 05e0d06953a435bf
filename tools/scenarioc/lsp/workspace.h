// Which scenario a document belongs to, paired by the file names as `check`
// pairs them, and that scenario compiled anew whenever one of its sources
// changes in the editor.
#pragma once

#include <filesystem>
#include <map>
#include <memory>
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

  // Compiles the scenario of `document` and returns the diagnostics of each
  // of its sources (an empty list where there are none, so that old ones go).
  std::vector<Publication> refresh(const Document& document);

  // The latest analysis that includes `document`; null when there is none.
  ScenarioAnalysis* analysis_of(const Document& document);

 private:
  const DocumentStore& documents_;
  // By the line file's path (the train file's where a scenario has no line file).
  std::map<std::filesystem::path, std::unique_ptr<ScenarioAnalysis>> analyses_;
};

// The scenario a file belongs to: for a line file with several train files,
// the open one last edited, else the first by name. Files of `folder` on disk
// and open documents there both count. None when the name fits no rule.
std::optional<ScenarioFiles> scenario_of(const std::filesystem::path& path,
                                         const DocumentStore& documents);

}  // namespace scenario::lsp
