// Colour in the tool's diagnostics, as compilers show it on a terminal: bold
// location, bold magenta "warning", bold red "error", bold cyan "note", a
// green caret.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "scenarioc/output/terminal.h"

namespace scenario {

enum class ColourMode { automatic, always, never };

// "auto", "always" or "never"; none for anything else.
std::optional<ColourMode> colour_mode_named(std::string_view name);

// Whether output gets colour. `automatic` colours only a terminal, and not when
// NO_COLOR is set to a non-empty value or TERM is "dumb"; `always` and `never`
// are what the user asked for, whatever the environment says.
bool colour_wanted(ColourMode mode, bool is_terminal, const char* no_color, const char* term);

// The same for the tool's standard output or error and its environment.
bool colour_wanted_for(ColourMode mode, StandardStream stream);

enum class Style { locus, error, warning, note, caret };

// `text` between the escape sequences of `style`, or `text` alone without colour.
class Painter {
 public:
  explicit Painter(bool colour) : colour_(colour) {}
  std::string paint(Style style, std::string_view text) const;

 private:
  bool colour_;
};

}  // namespace scenario
