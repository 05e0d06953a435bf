// Letter case in the single-byte code page of the texts (Windows-1252, whose
// first 256 code points are those of ISO 8859-1): keyword tests that ignore
// case, the lower-case identifier of the competition codes, and the capitals
// of the station names in the crew documents.
#pragma once

#include <string>
#include <string_view>

namespace scenario {

char to_lower_1252(char c);
std::string to_lower_1252(std::string_view text);
char to_upper_1252(char c);
std::string to_upper_1252(std::string_view text);

inline bool contains(std::string_view text, std::string_view needle) {
  return text.find(needle) != std::string_view::npos;
}

}  // namespace scenario
