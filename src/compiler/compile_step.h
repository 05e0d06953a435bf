// `memorizza_percorso`, the compile step: parse both sources, post-process the
// cells, stamp the header values and competition codes, write the compiled
// track plan, station table and route cells.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "base/replace_file.h"
#include "compiler/scenario_records.h"
#include "compiler/source_files.h"

namespace scenario {

// Where the compiled files go: a folder, or memory for tests and benchmarks.
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

struct CompileResult {
  int32_t fatal_error = 0;        // 1250 or 1251: `errore` must end the build
  bool cell_row_missing = false;  // the parse stopped before the route length
  std::vector<std::string> files_written;
  bool wrote_files() const { return !files_written.empty(); }
};

// The value of `j` that has the track plan built and written; the build always passes it.
constexpr int32_t kWriteTrackPlan = 1;

// With `j` non-zero the track plan is built and written too. Writes no file
// after a fatal error or when the parse left no cell row.
CompileResult memorizza_percorso(BuildContext& ctx, int32_t j, SourceFiles& sources,
                                 CompiledFileSink& sink);

}  // namespace scenario
