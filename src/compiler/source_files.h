// How the parser reaches the two source files: in the build's folder, where
// they are temporary and deleted once read; as an author's files, which are
// only read; or as text in memory.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "compiler/recorded_errors.h"
#include "source/byte_source.h"

namespace scenario {

class SourceFiles {
 public:
  virtual ~SourceFiles() = default;
  virtual bool exists(SourceFile which) = 0;
  // Throws RunTimeFailure when the file cannot be opened.
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
  bool exists(SourceFile which) override;
  std::unique_ptr<ByteSource> open(SourceFile which) override;
  void remove(SourceFile) override {}
  std::string display_name(SourceFile which) const override;

 private:
  std::filesystem::path line_;
  std::filesystem::path train_;
};

// Source text in memory; `remove` only marks a text as gone.
class MemorySources : public SourceFiles {
 public:
  MemorySources(std::string line, std::string train);
  bool exists(SourceFile which) override;
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
