// Compiles source text held in memory, for the compiler's tests.
#pragma once

#include <memory>
#include <string>

#include "compiler/compile_step.h"
#include "compiler/scenario_records.h"

namespace scenario::testing {

struct Compiled {
  BuildContext ctx;
  MemorySink sink;
  CompileResult result;
  std::unique_ptr<MemorySources> sources;
};

// Compiles with `nome` "Prova" and `treno` "1"; `j` as the compile step takes it.
std::unique_ptr<Compiled> compile_text(const std::string& line, const std::string& train,
                                       int32_t j = kWriteTrackPlan);

// Only parses (no post-processing, no header, no files).
std::unique_ptr<Compiled> parse_text(const std::string& line, const std::string& train,
                                     int32_t j = kWriteTrackPlan);

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
