// The source line under a diagnostic, with a caret under the column it names,
// as compilers show it:
//    16 | segnale,     700,   2, 4, 0,  0, 0,    2,  1,0,0, 0
//       | ^
#pragma once

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
// Lines end as the field reader ends them: at CR LF, LF or CR.
class SourceLines {
 public:
  explicit SourceLines(SourceFiles& sources) : sources_(sources) {}
  // Line `line` (from 1) without its line end; none when the file cannot be
  // read or has no such line.
  std::optional<std::string_view> line(SourceFile which, int32_t line);

 private:
  struct Text {
    bool loaded = false;
    std::string bytes;
    std::vector<size_t> starts;  // where each line starts; empty when unreadable
  };
  Text& text(SourceFile which);

  SourceFiles& sources_;
  Text line_file_;
  Text train_file_;
};

// `raw`, a line of Windows-1252 text, as it is shown: in UTF-8, control
// characters escaped, tabs widened to the next multiple of 8 columns. Under it
// a caret at byte column `column` (from 1), counted in what is shown; no caret
// line when the column is not known (0). Both lines carry a gutter with the
// line number and end with a line end.
std::string render_excerpt(std::string_view raw, int32_t line_number, int32_t column,
                           const Painter& painter);

}  // namespace scenario
