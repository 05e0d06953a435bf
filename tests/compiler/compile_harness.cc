#include "compiler/compile_harness.h"

#include <gtest/gtest.h>

#include "compiler/parse/parser.h"
#include "test_support.h"

namespace scenario::testing {

std::unique_ptr<Compiled> compile_text(const std::string& line, const std::string& train,
                                       const CompileOptions& options) {
  auto compiled = std::make_unique<Compiled>(options);
  compiled->sources = std::make_unique<MemorySources>(line, train);
  compile(compiled->ctx, *compiled->sources, compiled->sink);
  return compiled;
}

std::unique_ptr<Compiled> parse_text(const std::string& line, const std::string& train,
                                     const CompileOptions& options) {
  auto compiled = std::make_unique<Compiled>(options);
  compiled->sources = std::make_unique<MemorySources>(line, train);
  memorizza_dati(compiled->ctx, *compiled->sources, options);
  return compiled;
}

std::string crlf(std::initializer_list<const char*> lines) {
  std::string text;
  for (const char* line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
  const size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

std::string line_with(const std::string& from, const std::string& to) {
  return replaced(small_line_source(), from, to);
}

std::string train_with(const std::string& from, const std::string& to) {
  return replaced(small_train_source(), from, to);
}

// The small scenario is the fixture "clean"; the fault fixtures are variants of it.
std::string small_line_source() {
  static const std::string text = read_file(fixture_path("clean/Prova_linea.txt"));
  return text;
}

std::string small_train_source() {
  static const std::string text = read_file(fixture_path("clean/Prova_1-.txt"));
  return text;
}

}  // namespace scenario::testing
