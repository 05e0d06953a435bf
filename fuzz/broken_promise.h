// What the fuzz targets check: a promise that does not hold stops the run and
// says which one, so that a finding in CI's log names the line to look at.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace scenario {

inline void require(bool holds, const char* file = __builtin_FILE(), int line = __builtin_LINE()) {
  if (holds) return;
  std::fprintf(stderr, "broken promise at %s:%d\n", file, line);
  std::abort();
}

}  // namespace scenario
