// Recorded compile errors: `codice_errore` and `posizione_errore` keep the last
// one, and the build keeps every recording with what the diagnostics need to
// name the source line and explain it.
#pragma once

#include <cstdint>
#include <string>

namespace scenario {

struct BuildContext;

enum class SourceFile : uint8_t { none, line, train };

// Where a field starts in a source file; lines and columns count from 1.
struct SourceLocation {
  SourceFile file = SourceFile::none;
  int32_t line = 0;
  int32_t column = 0;
};

struct Recording {
  int32_t numero = 0;
  bool has_position = false;
  int32_t posizione = 0;
  SourceLocation where;       // the record being read, or the slowdown's record
  int64_t cell = -1;          // the cell the rule looked at, -1 when none
  uint8_t occupant = 0;       // what that cell held
  bool has_slowdown = false;  // post-processing errors: the slowdown they belong to
  int32_t slowdown_x = 0;
  std::string reason;         // more about the error; for error 25, what failed
  bool carried_over = false;  // a stop caused by an error 15 recorded earlier
};

// The only writer of `codice_errore` and `posizione_errore` (besides the reset
// at the start of a compile): sets both as the rule says and keeps the recording.
void record_error(BuildContext& ctx, Recording recording);

}  // namespace scenario
