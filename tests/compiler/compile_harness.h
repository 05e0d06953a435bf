// Compiles source text held in memory, for the compiler's tests.
#pragma once

#include <memory>
#include <string>

#include "compiler/compile.h"
#include "compiler/scenario_records.h"

namespace scenario::testing {

// A compile of "Prova", train "1", with its sources and its files in memory.
struct Compiled {
  explicit Compiled(const CompileOptions& options)
      : ctx(BuildIdentity{"Prova", "1", {}}, options) {}
  Compilation ctx;
  MemorySink sink;
  std::unique_ptr<MemorySources> sources;
};

std::unique_ptr<Compiled> compile_text(const std::string& line, const std::string& train,
                                       const CompileOptions& options = {});

// Only parses (no post-processing, no header, no files).
std::unique_ptr<Compiled> parse_text(const std::string& line, const std::string& train,
                                     const CompileOptions& options = {});

// Joins lines with CR LF after each.
std::string crlf(std::initializer_list<const char*> lines);

// `text` with the first `from` replaced by `to`; a test failure when `from` is missing.
std::string replaced(std::string text, const std::string& from, const std::string& to);
// The small sources with one replacement.
std::string line_with(const std::string& from, const std::string& to);
std::string train_with(const std::string& from, const std::string& to);

// The small valid scenario of the fixture folder "clean": a line source of
// 10000 m with one chainage reference and a few objects, and its train source.
std::string small_line_source();
std::string small_train_source();

}  // namespace scenario::testing
