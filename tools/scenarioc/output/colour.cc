#include "scenarioc/output/colour.h"

#include <cstdlib>
#include <cstring>

namespace scenario {
namespace {

// The select graphic rendition of each style; "\33[K" after each sequence
// keeps a line's background from spilling to its end.
std::string_view sgr_code(Style style) {
  switch (style) {
    case Style::locus:
      return "01";
    case Style::error:
      return "01;31";
    case Style::warning:
      return "01;35";
    case Style::note:
      return "01;36";
    case Style::caret:
      return "01;32";
  }
  return "01";
}

}  // namespace

std::optional<ColourMode> colour_mode_named(std::string_view name) {
  if (name == "auto") return ColourMode::automatic;
  if (name == "always") return ColourMode::always;
  if (name == "never") return ColourMode::never;
  return std::nullopt;
}

bool colour_wanted(ColourMode mode, bool is_terminal, const char* no_color, const char* term) {
  switch (mode) {
    case ColourMode::always:
      return true;
    case ColourMode::never:
      return false;
    case ColourMode::automatic:
      break;
  }
  if (no_color && no_color[0] != '\0') return false;
  if (term && std::strcmp(term, "dumb") == 0) return false;
  return is_terminal;
}

bool colour_wanted_for(ColourMode mode, StandardStream stream) {
  if (!colour_wanted(mode, true, std::getenv("NO_COLOR"), std::getenv("TERM"))) return false;
  // The terminal is looked at last, and only when it decides: on Windows the
  // look turns colour on.
  return mode != ColourMode::automatic || is_colour_terminal(stream);
}

std::string Painter::paint(Style style, std::string_view text) const {
  if (!colour_ || text.empty()) return std::string(text);
  std::string out = "\33[";
  out += sgr_code(style);
  out += "m\33[K";
  out += text;
  out += "\33[m\33[K";
  return out;
}

}  // namespace scenario
