// Where a compile puts its compiled files: a folder, where the three appear
// together, or memory, for tests and benchmarks.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>

#include "base/replace_file.h"

namespace scenario {

// A file's content arrives a block at a time, in order or (the track plan)
// each block with its offset; once the last file is written, `commit` makes
// them all appear.
class CompiledFileSink {
 public:
  virtual ~CompiledFileSink() = default;
  virtual void write_file(const std::string& name, const ContentWriter& content) = 0;
  // By default the blocks are gathered into one and written as above.
  virtual void write_file(const std::string& name, const PlacedContent& content);
  void write_file(const std::string& name, std::string_view bytes) {
    write_file(name, [bytes](const BlockSink& put) { put(bytes); });
  }
  virtual void commit() {}
};

// Writes each file under a temporary name and renames them together at
// `commit`, the track plan, the station table and the route cells in that
// order: a failure before the first rename leaves the folder as it was.
// Throws RunTimeFailure on a file failure.
class FolderSink : public CompiledFileSink {
 public:
  explicit FolderSink(std::filesystem::path folder) : files_(std::move(folder)) {}
  using CompiledFileSink::write_file;
  void write_file(const std::string& name, const ContentWriter& content) override;
  void write_file(const std::string& name, const PlacedContent& content) override;
  void commit() override;

 private:
  FileSet files_;
};

class MemorySink : public CompiledFileSink {
 public:
  using CompiledFileSink::write_file;
  void write_file(const std::string& name, const ContentWriter& content) override {
    std::string& file = files[name];
    file.clear();
    content([&file](std::string_view block) { file.append(block); });
  }
  void write_file(const std::string& name, const PlacedContent& content) override;
  std::map<std::string, std::string> files;
};

}  // namespace scenario
