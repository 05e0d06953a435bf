// One scenario as the editor has it, compiled in memory: its line file and
// train file, each the open document's text where there is one and the file
// on disk otherwise, and what the compiler made of them. The parse reads past
// an error that would end a compile, as `scenarioc check` does, so that every
// conflict shows at once. A file on disk is read once for each change of it:
// the next analysis takes its text from the last while its stamp holds.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "compiler/compile.h"
#include "compiler/scenario_records.h"
#include "compiler/source_files.h"
#include "scenarioc/author_compile.h"
#include "scenarioc/lsp/disk_source.h"
#include "scenarioc/lsp/document_store.h"
#include "scenarioc/lsp/editor_text.h"
#include "scenarioc/report/report_model.h"

namespace scenario::lsp {

// One of the two sources.
struct SourceSide {
  std::filesystem::path path;
  std::string uri;
  bool open = false;  // the text is the editor's; otherwise the file's on disk
  bool readable = true;
  std::optional<FileStamp> stamp;  // of the file on disk when it was read
  std::string failure;             // why the file on disk was not read
  EditorText text;
};

// The two sources' texts, as the parser reads them, under their paths.
class EditorSources : public SourceFiles {
 public:
  EditorSources(const SourceSide& line, const SourceSide& train) : line_(line), train_(train) {}
  bool exists(SourceFile which) override { return side(which).readable; }
  std::unique_ptr<ByteSource> open_if_present(SourceFile which) override;
  std::unique_ptr<ByteSource> open(SourceFile which) override;
  void remove(SourceFile) override {}
  std::string display_name(SourceFile which) const override;

 private:
  const SourceSide& side(SourceFile which) const {
    return which == SourceFile::train ? train_ : line_;
  }
  const SourceSide& line_;
  const SourceSide& train_;
};

class ScenarioAnalysis {
 public:
  // Reads the sources and compiles them, unless a file on disk could not be
  // read; a file on disk unchanged since `earlier` read it is not read again.
  // Never throws but for memory.
  ScenarioAnalysis(const ScenarioFiles& files, const DocumentStore& documents,
                   const ScenarioAnalysis* earlier);
  ScenarioAnalysis(const ScenarioAnalysis&) = delete;
  ScenarioAnalysis& operator=(const ScenarioAnalysis&) = delete;

  const SourceSide& line() const { return line_; }
  const SourceSide& train() const { return train_; }
  const SourceSide& side(SourceFile which) const {
    return which == SourceFile::train ? train_ : line_;
  }
  // The side whose path or URI is the document's; none when neither is.
  std::optional<SourceFile> side_of(const Document& document) const;
  // Why a source on disk was not read, and nothing compiled; empty when both were.
  const std::string& failure() const {
    return line_.failure.empty() ? train_.failure : line_.failure;
  }

  const Compilation& context() const { return compiled_.compilation(); }
  const CompileResult& result() const { return compiled_.compilation().result; }
  const SourceFiles& sources() const { return compiled_.sources(); }
  // What the report would draw of it, made when first asked for.
  const ReportModel& model();

 private:
  SourceSide line_;
  SourceSide train_;
  AuthorCompile compiled_;
  std::unique_ptr<ReportModel> model_;
};

}  // namespace scenario::lsp
