// How the report draws each kind of object: the band it stands in, its glyph
// and the label beside it. One row for every row of the compiler's kind table
// (compiler/object_kinds.h), in the same order; the check below fails the
// build until a new kind has its row here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>

#include "compiler/object_kinds.h"

namespace scenario {

// What the label of an object says.
enum class ObjectLabel : uint8_t {
  none,
  value,        // dato1: a slowdown's speed, a countdown's number, an abbattimento value
  board_speed,  // the speed of category A, its left board's if it has one
  board_text,   // the text of an indication board
};

struct ObjectDrawing {
  ObjectKind code;
  const char* band;   // a band of BandLayout
  const char* glyph;  // an SVG path: x from the object's position, y from the band's top
  ObjectLabel label;  // what its label says; the page draws it only when `label_drawn`
  bool label_drawn;
  int label_x, label_y;  // where the label's text starts, as the glyph's coordinates
};

inline constexpr const char* kDiamond = "M0 3L6 11L0 19L-6 11Z";

inline constexpr ObjectDrawing kObjectDrawings[] = {
    {kNoObject, "markers", "M-4 11a4 4 0 1 0 8 0a4 4 0 1 0 -8 0", ObjectLabel::none, false, 0, 0},
    {kSignal, "signals", "M0 20V8M-3.5 4.5a3.5 3.5 0 1 0 7 0a3.5 3.5 0 1 0 -7 0", ObjectLabel::none,
     false, 0, 0},
    {kSlowdownEnd, "slowdowns", "M0 20V3H-8V9H0", ObjectLabel::none, false, 0, 0},
    {kSlowdownStart, "slowdowns", "M0 20V3H8V9H0", ObjectLabel::value, true, 10, 9},
    {kSlowdownWarning, "slowdowns", "M0 3L6 15H-6Z", ObjectLabel::value, false, 0, 0},
    {kCountdownMarker, "slowdowns", "M-1.5 8h3v12h-3Z", ObjectLabel::value, false, 0, 0},
    {kSpeedBoard, "speed_boards", "M-4 3h8v11h-8ZM0 14V21", ObjectLabel::board_speed, true, 7, 12},
    {kStationMark, "stations", "M0 104v14", ObjectLabel::none, false, 0, 0},
    {kTunnelLight, "mountain", "M0 22h0", ObjectLabel::none, false, 0, 0},
    {kAbbattimento, "markers", kDiamond, ObjectLabel::value, false, 0, 0},
    {kAbbattimentoNoValue, "markers", kDiamond, ObjectLabel::none, false, 0, 0},
    {kIndicationBoard, "indications", "M-5 3h10v8h-10ZM0 11V21", ObjectLabel::board_text, true, 7,
     12},
};

static_assert(
    [] {
      if (std::size(kObjectDrawings) != std::size(kObjectKinds)) return false;
      for (std::size_t i = 0; i < std::size(kObjectKinds); ++i) {
        if (kObjectDrawings[i].code != kObjectKinds[i].code) return false;
      }
      return true;
    }(),
    "kObjectDrawings needs one row for every row of kObjectKinds, in the same order");

// The drawing of a kind; a code no rule produces is drawn as kind 0 is, a
// circle among the markers.
constexpr const ObjectDrawing& drawing_of(uint8_t oggetto) {
  for (const ObjectDrawing& drawing : kObjectDrawings) {
    if (drawing.code == oggetto) return drawing;
  }
  return kObjectDrawings[0];
}

}  // namespace scenario
