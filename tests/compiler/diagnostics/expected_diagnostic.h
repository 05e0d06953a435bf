// A diagnostic a test expects of a compile: a warning of a class or an error
// of a number, at a file, line and column, whose message holds some words.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "compiler/compile_harness.h"

namespace scenario::testing {

struct Expected {
  bool warning;      // else an error
  std::string name;  // the warning's class, or the error's number
  SourceFile file;
  int32_t line;
  int32_t column;
  std::vector<std::string> words;
};

Expected warning(const char* name, SourceFile file, int32_t line, int32_t column,
                 std::vector<std::string> words);
Expected error(int number, SourceFile file, int32_t line, int32_t column,
               std::vector<std::string> words);

// Whether the diagnostic `e` describes was drawn; else what was drawn instead.
::testing::AssertionResult drawn(const Compiled& c, const Expected& e);

}  // namespace scenario::testing
