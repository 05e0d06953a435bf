#include "compiler/cell_text.h"

namespace scenario {
namespace {

void append_field(std::string& text, const char* name, int value) {
  text += ' ';
  text += name;
  text += '=';
  text += std::to_string(value);
}

}  // namespace

std::string object_kind_name(uint8_t oggetto) {
  switch (oggetto) {
    case kNoObject:
      return "no object";
    case kSignal:
      return "signal";
    case kSlowdownEnd:
      return "slowdown end";
    case kSlowdownStart:
      return "slowdown start";
    case kSlowdownWarning:
      return "slowdown warning";
    case kCountdownMarker:
      return "countdown marker";
    case kSpeedBoard:
      return "speed board";
    case kStationMark:
      return "station mark";
    case kTunnelLight:
      return "tunnel light";
    case kAbbattimento:
      return "abbattimento";
    case kAbbattimentoNoValue:
      return "abbattimento without value";
    case kIndicationBoard:
      return "indication board";
    default:
      return "kind " + std::to_string(oggetto);
  }
}

std::string describe_cell(int64_t index, const cella& c) {
  std::string text = "cell " + std::to_string(index) + ": " + object_kind_name(c.oggetto);
  append_field(text, "dato1", c.dato1);
  append_field(text, "dato2", c.dato2);
  append_field(text, "dato3", c.dato3);
  append_field(text, "dato4", c.dato4);
  append_field(text, "tempo_segnale", c.tempo_segnale);
  append_field(text, "preavviso", c.preavviso);
  append_field(text, "montagna", c.montagna);
  append_field(text, "velocita", c.velocita);
  append_field(text, "pendenza", c.pendenza);
  append_field(text, "aderenza", c.aderenza);
  return text;
}

}  // namespace scenario
