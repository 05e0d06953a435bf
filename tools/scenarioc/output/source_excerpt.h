// The source line under a diagnostic, with a caret under the column it names,
// as compilers show it:
//    16 | segnale,     700,   2, 4, 0,  0, 0,    2,  1,0,0, 0
//       | ^
// A long line is cut to a window around the column.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/diagnostics/recorded_errors.h"
#include "compiler/source_files.h"
#include "scenarioc/output/colour.h"

namespace scenario {

// The lines of the two source files, each file read once when first asked for.
// Lines end as the field reader ends them: at CR LF, LF or CR. Besides the
// file's bytes only a sparse index of line starts is kept, so that what is
// held stays within a fixed share of the file's size however its lines run.
class SourceLines {
 public:
  explicit SourceLines(SourceFiles& sources) : sources_(sources) {}
  // Line `line` (from 1) without its line end; none when the file cannot be
  // read or has no such line.
  std::optional<std::string_view> line(SourceFile which, int32_t line);

 private:
  // Where a line starts.
  struct LineStart {
    int64_t line = 1;
    size_t offset = 0;
  };
  struct Text {
    bool loaded = false;
    bool readable = false;
    std::string bytes;
    std::vector<LineStart> marks;  // every few lines, and after every few kilobytes
    LineStart last_found;          // the line asked for last, which is often asked again
    size_t last_found_end = 0;     // and where it ends
  };
  Text& text(SourceFile which);

  SourceFiles& sources_;
  Text line_file_;
  Text train_file_;
};

// A line longer than this many bytes is shown cut: the window of this many
// bytes around the column, with kCutMark where the line goes on.
constexpr size_t kExcerptBytes = 200;
// How much of the window lies before the column, where the line allows.
constexpr size_t kExcerptBytesBefore = 80;
constexpr std::string_view kCutMark = "...";

// `raw`, a line of Windows-1252 text, as it is shown: cut to a window around
// `column` when longer than kExcerptBytes, in UTF-8, control characters
// escaped, tabs widened to the next multiple of 8 columns. Under it a caret at
// byte column `column` (from 1), counted in what is shown; no caret line when
// the column is not known (0). Both lines carry a gutter with the line number
// and end with a line end.
std::string render_excerpt(std::string_view raw, int32_t line_number, int32_t column,
                           const Painter& painter);

}  // namespace scenario
