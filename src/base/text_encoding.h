// Text encodings at the edges of the system: scenario texts are Windows-1252,
// one byte a character; what the tools print is UTF-8, with control characters
// shown as escapes so that no source or compiled file can drive a terminal.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace scenario {

// Whether `text` is well-formed UTF-8 (no overlong forms, no surrogates).
bool is_utf8(std::string_view text);

// Texts read from scenario sources and compiled files are Windows-1252.
std::string utf8_from_1252(std::string_view text);

// Text that is already valid UTF-8 (a file name, as the system gives it) is
// kept; anything else is taken as Windows-1252.
std::string utf8_from_native(std::string_view text);

// A name as the system gives it (UTF-8, as on Linux) in Windows-1252, one byte
// a character, for the texts of the compiled files. Text that is not valid
// UTF-8 is taken to be Windows-1252 already and kept. None when a character
// has no Windows-1252 byte; `refused` then receives that character.
std::optional<std::string> text_1252_from_native(std::string_view native,
                                                 std::string* refused = nullptr);

// The Windows-1252 byte of a code point; none when the code page has none.
std::optional<unsigned char> byte_1252_of(char32_t c);

// The character of UTF-8 text at byte `i`: its length in bytes, 0 when no
// well-formed character starts there, and its code point.
struct Utf8Character {
  size_t length = 0;
  char32_t code_point = 0;
};
Utf8Character utf8_character_at(std::string_view text, size_t i);

// Whether a code point is a control character: C0, DEL or C1.
bool is_control(char32_t c);

// UTF-8 with every control character but the tab written as \xNN.
std::string escape_controls(std::string_view utf8);

// A Windows-1252 text as UTF-8 fit for a terminal: converted, controls escaped.
std::string printable_from_1252(std::string_view text);

// A name as the system gives it (a file or folder name, a path), or a message
// that holds one, fit for a terminal: UTF-8 kept, anything else taken as
// Windows-1252, controls escaped. Every such text passes here on its way out.
std::string printable_from_native(std::string_view text);

}  // namespace scenario
