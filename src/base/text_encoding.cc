#include "base/text_encoding.h"

#include <cstdio>

namespace scenario {
namespace {

// Code points of the bytes 0x80 to 0x9F in Windows-1252; the five bytes the
// code page leaves undefined map to the C1 control of the same value.
constexpr char32_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void append_utf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Length of the well-formed UTF-8 sequence at `i`, or 0 when there is none.
size_t utf8_sequence_length_at(std::string_view s, size_t i) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char b = byte(i);
  size_t length;
  char32_t c;
  if (b < 0x80) return 1;
  if (b >= 0xC2 && b <= 0xDF) {
    length = 2;
    c = b & 0x1F;
  } else if (b >= 0xE0 && b <= 0xEF) {
    length = 3;
    c = b & 0x0F;
  } else if (b >= 0xF0 && b <= 0xF4) {
    length = 4;
    c = b & 0x07;
  } else {
    return 0;
  }
  if (i + length > s.size()) return 0;
  for (size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
    c = (c << 6) | (byte(i + k) & 0x3F);
  }
  const bool overlong = (length == 3 && c < 0x800) || (length == 4 && c < 0x10000);
  const bool surrogate = c >= 0xD800 && c <= 0xDFFF;
  if (overlong || surrogate || c > 0x10FFFF) return 0;
  return length;
}

// The code point of a well-formed sequence of `length` bytes at `i`.
char32_t code_point_at(std::string_view s, size_t i, size_t length) {
  const auto b = static_cast<unsigned char>(s[i]);
  if (length == 1) return b;
  char32_t c = b & (0x7F >> length);
  for (size_t k = 1; k < length; ++k) c = (c << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
  return c;
}

}  // namespace

std::optional<unsigned char> byte_1252_of(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<unsigned char>(c);
  for (unsigned char b = 0x80; b < 0xA0; ++b) {
    if (kHighControls[b - 0x80] == c) return b;
  }
  return std::nullopt;
}

Utf8Character utf8_character_at(std::string_view text, size_t i) {
  const size_t length = utf8_sequence_length_at(text, i);
  return {length, length == 0 ? char32_t{0} : code_point_at(text, i, length)};
}

std::optional<std::string> text_1252_from_native(std::string_view native, std::string* refused) {
  if (!is_utf8(native)) return std::string(native);
  std::string text;
  for (size_t i = 0; i < native.size();) {
    const size_t length = utf8_sequence_length_at(native, i);
    const std::optional<unsigned char> b = byte_1252_of(code_point_at(native, i, length));
    if (!b) {
      if (refused != nullptr) *refused = std::string(native.substr(i, length));
      return std::nullopt;
    }
    text += static_cast<char>(*b);
    i += length;
  }
  return text;
}

bool is_utf8(std::string_view s) {
  for (size_t i = 0; i < s.size();) {
    const size_t length = utf8_sequence_length_at(s, i);
    if (length == 0) return false;
    i += length;
  }
  return true;
}

std::string utf8_from_1252(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char ch : text) {
    const auto b = static_cast<unsigned char>(ch);
    if (b >= 0x80 && b < 0xA0) {
      append_utf8(out, kHighControls[b - 0x80]);
    } else {
      append_utf8(out, b);
    }
  }
  return out;
}

std::string utf8_from_native(std::string_view text) {
  return is_utf8(text) ? std::string(text) : utf8_from_1252(text);
}

bool is_control(char32_t c) { return c < 0x20 || (c >= 0x7F && c < 0xA0); }

std::string escape_controls(std::string_view utf8) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(utf8[k]); };
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size(); ++i) {
    // A C1 control is the two bytes C2 80 to C2 9F.
    const bool c1 = byte(i) == 0xC2 && i + 1 < utf8.size() && byte(i + 1) < 0xA0;
    const bool c0 = (byte(i) < 0x20 && byte(i) != '\t') || byte(i) == 0x7F;
    if (!c0 && !c1) {
      out += utf8[i];
      continue;
    }
    const unsigned code = c1 ? byte(++i) : byte(i);
    char escape[8];
    std::snprintf(escape, sizeof escape, "\\x%02X", code);
    out += escape;
  }
  return out;
}

std::string printable_from_1252(std::string_view text) {
  return escape_controls(utf8_from_1252(text));
}

std::string printable_from_native(std::string_view text) {
  return escape_controls(utf8_from_native(text));
}

}  // namespace scenario
