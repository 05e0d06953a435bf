#include "base/text_case.h"

namespace scenario {

char to_lower_1252(char c) {
  const auto u = static_cast<unsigned char>(c);
  if ((u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDE && u != 0xD7)) {
    return static_cast<char>(u + 0x20);
  }
  switch (u) {
    case 0x8A:
      return static_cast<char>(0x9A);  // S with caron
    case 0x8C:
      return static_cast<char>(0x9C);  // OE ligature
    case 0x8E:
      return static_cast<char>(0x9E);  // Z with caron
    case 0x9F:
      return static_cast<char>(0xFF);  // Y with diaeresis
    default:
      return c;
  }
}

std::string to_lower_1252(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = to_lower_1252(c);
  return lower;
}

char to_upper_1252(char c) {
  const auto u = static_cast<unsigned char>(c);
  // Small letters sit 0x20 above their capitals; the division sign 0xF7 is no letter.
  if ((u >= 'a' && u <= 'z') || (u >= 0xE0 && u <= 0xFE && u != 0xF7)) {
    return static_cast<char>(u - 0x20);
  }
  switch (u) {
    case 0x9A:
      return static_cast<char>(0x8A);  // s with caron
    case 0x9C:
      return static_cast<char>(0x8C);  // oe ligature
    case 0x9E:
      return static_cast<char>(0x8E);  // z with caron
    case 0xFF:
      return static_cast<char>(0x9F);  // y with diaeresis
    default:
      return c;
  }
}

std::string to_upper_1252(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = to_upper_1252(c);
  return upper;
}

}  // namespace scenario
