// JSON read with the line of every value and key, so that a file's reader
// can name the line of a value it refuses. Parsed by nlohmann's SAX parser
// over the file's bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace scenario {

struct LinedJson {
  enum class Kind { null, boolean, integer, real, string, object, array };
  Kind kind = Kind::null;
  int64_t line = 0;  // where the value ends (its closing quote, bracket or last digit)
  bool boolean = false;
  int64_t integer = 0;
  double real = 0;
  std::string text;  // a string's value (UTF-8); a real number as written
  // An object's members in the order written, and the line of each key.
  std::vector<std::string> keys;
  std::vector<int64_t> key_lines;
  std::vector<LinedJson> values;  // an object's member values or an array's items

  // The member `key`; null when the object has none.
  const LinedJson* member(std::string_view key) const;
};

struct JsonSyntaxError {
  int64_t line = 0;
  std::string message;
};

// The document, or the first fault with its line: a syntax error, a key
// given twice in one object, a whole number beyond 64 bits, objects and
// arrays nested more than 64 deep.
struct LinedJsonResult {
  std::optional<LinedJson> document;
  JsonSyntaxError error;
};
LinedJsonResult parse_lined_json(std::string_view text);

// "a string", "a number", ... for messages.
std::string kind_name(LinedJson::Kind kind);

}  // namespace scenario
