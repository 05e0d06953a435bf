// The files the language server reads from the disk: regular files only and
// none larger than kLargestSource, never waited on; a partner read once for
// each change of it on disk, not once for each keystroke.
#include "scenarioc/lsp/disk_source.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "scenarioc/lsp/document_store.h"
#include "scenarioc/lsp/scenario_analysis.h"
#include "scenarioc/lsp/workspace.h"
#include "test_support.h"
#include "tools/scenarioc/lsp/lsp_session.h"

namespace scenario::lsp {
namespace {

namespace fs = std::filesystem;
using scenario::testing::fixture_path;
using scenario::testing::read_file;
using scenario::testing::TempDir;
using scenario::testing::write_file;
using namespace scenario::lsp::testing;

const std::string kLine = read_file(fixture_path("clean") + "/Prova_linea.txt");
const std::string kTrain = read_file(fixture_path("clean") + "/Prova_1-.txt");

TEST(DiskSourceTest, ReadsRegularFilesUpToTheLimitAndRefusesTheRest) {
  TempDir dir;
  write_file(dir / "plain.txt", "abc");
  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
  fs::create_symlink("/dev/zero", dir / "zero");
  fs::create_directory(dir / "folder");
  write_file(dir / "large.txt", "");
  fs::resize_file(dir / "large.txt", kLargestSource + 1);  // sparse: no disk taken
  write_file(dir / "largest.txt", "");
  fs::resize_file(dir / "largest.txt", kLargestSource);
  const struct {
    const char* name;
    bool present;
    std::string failure;  // a part of it
    size_t size;
  } cases[] = {
      {"plain.txt", true, "", 3},
      {"missing.txt", false, "", 0},
      {"fifo", true, "it is a FIFO, not a regular file", 0},
      {"zero", true, "it is a character device, not a regular file", 0},
      {"folder", true, "it is a directory, not a regular file", 0},
      {"large.txt", true, "it is larger than 16 MiB, the largest source the server reads", 0},
      {"largest.txt", true, "", kLargestSource},
  };
  for (const auto& c : cases) {
    const DiskSource source = read_disk_source(dir / c.name);
    EXPECT_EQ(source.present, c.present) << c.name;
    EXPECT_EQ(source.bytes.size(), c.size) << c.name;
    if (c.failure.empty()) {
      EXPECT_EQ(source.failure, "") << c.name;
    } else {
      EXPECT_NE(source.failure.find(c.failure), std::string::npos) << c.name << source.failure;
    }
  }
}

TEST(DiskSourceTest, ADocumentOrPartnerThatIsNoRegularFileIsNeverWaitedOn) {
  for (const std::string kind : {"fifo", "zero", "large"}) {
    TempDir dir;
    const fs::path line = dir / "Prova_linea.txt";
    const fs::path train = dir / "Prova_1-.txt";
    // The opened document is the odd file; then its partner is.
    for (const fs::path& odd : {line, train}) {
      fs::remove(line);
      fs::remove(train);
      write_file(odd == line ? train : line, odd == line ? kTrain : kLine);
      if (kind == "fifo") {
        ASSERT_EQ(::mkfifo(odd.c_str(), 0600), 0);
      } else if (kind == "zero") {
        fs::create_symlink("/dev/zero", odd);
      } else {
        write_file(odd, "");
        fs::resize_file(odd, kLargestSource + 1);
      }
      std::vector<Json> messages = initialized();
      messages.push_back(notice("textDocument/didOpen", open_params(uri_of_path(line), kLine)));
      messages.push_back(request(1, "textDocument/hover", at(uri_of_path(line), 3, 0)));
      const Served served = serve(messages);
      ASSERT_EQ(served.responses_to(1).size(), 1u) << kind;
      const std::vector<Json> published = served.publications_for(uri_of_path(line));
      ASSERT_FALSE(published.empty()) << kind;
      if (odd == train && kind == "large") {
        // A regular file too large to read: said so on the open file.
        ASSERT_EQ(published.back().size(), 1u) << kind;
        EXPECT_NE(published.back()[0]["message"].get<std::string>().find("larger than 16 MiB"),
                  std::string::npos)
            << published.back().dump();
      }
    }
  }
}

TEST(DiskSourceTest, APartnerOnDiskIsReadAgainOnlyWhenItChanges) {
  TempDir dir;
  const fs::path train = dir / "Prova_1-.txt";
  write_file(dir / "Prova_linea.txt", kLine);
  write_file(train, kTrain);
  const std::string line_uri = uri_of_path(dir / "Prova_linea.txt");
  // The partner rewritten with the same size and time of last write: a
  // keystroke in the open file does not read it again, so the old text holds.
  const auto rewrite_keeping_stamp = [&](const std::string& text) {
    const fs::file_time_type written = fs::last_write_time(train);
    write_file(train, text);
    fs::last_write_time(train, written);
  };
  std::string renamed = kTrain;
  const size_t at_name = renamed.find("ORIGINE");
  ASSERT_NE(at_name, std::string::npos);
  renamed.replace(at_name, 7, "NUOVOXX");

  // Each session types into the line file after the partner was rewritten.
  const auto train_text_after = [&](bool stamp_kept) {
    write_file(train, kTrain);
    DocumentStore documents;
    Workspace workspace(documents);
    const Document& opened = documents.open(line_uri, kLine, 1);
    workspace.touch(opened.uri, opened.path);
    workspace.settle();
    if (stamp_kept) {
      rewrite_keeping_stamp(renamed);
    } else {
      write_file(train, renamed);
      fs::last_write_time(train, fs::last_write_time(train) + std::chrono::seconds(5));
    }
    EXPECT_TRUE(documents.change(line_uri, Json::array({{{"text", kLine + " "}}}), 2));
    workspace.touch(line_uri, opened.path);
    workspace.settle();
    const ScenarioAnalysis* analysis = workspace.analysis_of(*documents.find(line_uri));
    return analysis ? analysis->train().text.utf8() : std::string();
  };
  EXPECT_EQ(train_text_after(true), kTrain);
  EXPECT_EQ(train_text_after(false), renamed);
}

}  // namespace
}  // namespace scenario::lsp
