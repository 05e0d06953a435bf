// How the parser reaches the two source files: in the build's folder, where
// they are temporary and deleted once read; as an author's files, which are
// only read; or as text in memory.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "compiler/diagnostics/recorded_errors.h"
#include "source/byte_source.h"

namespace scenario {

class SourceFiles {
 public:
  virtual ~SourceFiles() = default;
  // Whether the file exists as a regular file.
  virtual bool exists(SourceFile which) = 0;
  // Opens the file once and checks it in the same step; null when it does not
  // exist. Throws RunTimeFailure when it exists but cannot be read or is not a
  // regular file.
  virtual std::unique_ptr<ByteSource> open_if_present(SourceFile which) = 0;
  // The same, but a missing file throws RunTimeFailure too.
  virtual std::unique_ptr<ByteSource> open(SourceFile which) = 0;
  // Deletes the file where the sources are temporary; throws RunTimeFailure on failure.
  virtual void remove(SourceFile which) = 0;
  virtual std::string display_name(SourceFile which) const = 0;
};

// The build's own source files: `folder`/`nome`_linea.txt and
// `folder`/`nome`_`treno`-.txt, deleted by the parser once read.
class FolderSources : public SourceFiles {
 public:
  FolderSources(std::filesystem::path folder, const std::string& nome, const std::string& treno);
  bool exists(SourceFile which) override;
  std::unique_ptr<ByteSource> open_if_present(SourceFile which) override;
  std::unique_ptr<ByteSource> open(SourceFile which) override;
  void remove(SourceFile which) override;
  std::string display_name(SourceFile which) const override;
  std::filesystem::path path(SourceFile which) const;

 private:
  std::filesystem::path line_;
  std::filesystem::path train_;
};

// An author's files: read, never deleted or changed.
class AuthorSources : public SourceFiles {
 public:
  AuthorSources(std::filesystem::path line, std::filesystem::path train);
  // Opens both files before the compile, so that one that cannot be read
  // stops it before anything is written; the parse then reads what was
  // opened here. A missing line file is left to the parse (error 101).
  // Throws RunTimeFailure.
  void open_both();
  bool exists(SourceFile which) override;
  std::unique_ptr<ByteSource> open_if_present(SourceFile which) override;
  std::unique_ptr<ByteSource> open(SourceFile which) override;
  void remove(SourceFile) override {}
  std::string display_name(SourceFile which) const override;

 private:
  const std::filesystem::path& path(SourceFile which) const {
    return which == SourceFile::line ? line_ : train_;
  }

  // What open_both found for one file, until the parse takes it.
  struct Opened {
    bool ready = false;
    std::unique_ptr<ByteSource> source;  // null: the file does not exist
  };
  Opened& opened(SourceFile which) {
    return which == SourceFile::line ? line_opened_ : train_opened_;
  }

  std::filesystem::path line_;
  std::filesystem::path train_;
  Opened line_opened_;
  Opened train_opened_;
};

// Source text in memory; `remove` only marks a text as gone.
class MemorySources : public SourceFiles {
 public:
  MemorySources(std::string line, std::string train);
  bool exists(SourceFile which) override;
  std::unique_ptr<ByteSource> open_if_present(SourceFile which) override;
  std::unique_ptr<ByteSource> open(SourceFile which) override;
  void remove(SourceFile which) override;
  std::string display_name(SourceFile which) const override;

 private:
  std::string line_;
  std::string train_;
  bool line_exists_ = true;
  bool train_exists_ = true;
};

}  // namespace scenario
