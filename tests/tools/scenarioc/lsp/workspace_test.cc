// What the language server keeps of the scenarios open in the editor: one
// analysis for each scenario with a file open, none once the last is closed.
#include "scenarioc/lsp/workspace.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scenarioc/lsp/document_store.h"
#include "test_support.h"

namespace scenario::lsp {
namespace {

using scenario::testing::fixture_path;
using scenario::testing::read_file;
using scenario::testing::TempDir;
using scenario::testing::write_file;

TEST(WorkspaceTest, WhatIsKeptOfAScenarioGoesWithTheLastOfItsFiles) {
  const std::string line = read_file(fixture_path("clean") + "/Prova_linea.txt");
  const std::string train = read_file(fixture_path("clean") + "/Prova_1-.txt");
  TempDir dir;
  DocumentStore documents;
  Workspace workspace(documents);
  // Open and close the files of many scenarios, one after the other.
  for (int i = 0; i < 20; ++i) {
    const std::string nome = "S" + std::to_string(i);
    write_file(dir / (nome + "_linea.txt"), line);
    const std::string line_uri = uri_of_path(dir / (nome + "_linea.txt"));
    const std::string train_uri = uri_of_path(dir / (nome + "_1-.txt"));
    for (const std::string& uri : {line_uri, train_uri}) {
      const Document& opened = documents.open(uri, uri == line_uri ? line : train, 1);
      workspace.touch(opened.uri, opened.path);
    }
    workspace.settle();
    EXPECT_EQ(workspace.kept(), 1u);
    ASSERT_NE(workspace.analysis_of(*documents.find(train_uri)), nullptr);

    // Closing the train file leaves the line file open: its scenario stays.
    documents.close(train_uri);
    workspace.touch(train_uri, dir / (nome + "_1-.txt"));
    workspace.settle();
    EXPECT_EQ(workspace.kept(), 1u) << nome;

    documents.close(line_uri);
    workspace.touch(line_uri, dir / (nome + "_linea.txt"));
    const std::vector<Publication> last = workspace.settle();
    EXPECT_EQ(workspace.kept(), 0u) << nome;
    // Nothing stays marked in the editor either.
    for (const Publication& p : last) EXPECT_EQ(p.diagnostics, Json::array()) << p.uri;
  }
}

}  // namespace
}  // namespace scenario::lsp
