// A strict JSON reader for the tests of scenarioc's --json output: it accepts
// only what the JSON grammar allows, in valid UTF-8, with no repeated key.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace scenario::testing {

struct JsonValue {
  enum class Type { null, boolean, number, string, array, object };
  Type type = Type::null;
  bool boolean = false;
  double number = 0;
  std::string text;  // a string's value in UTF-8, or a number as written
  std::vector<JsonValue> items;
  struct Member;  // a key and its value, as `first` and `second`
  std::vector<Member> members;

  bool is_null() const { return type == Type::null; }
  bool has(std::string_view key) const;
  // Throws std::runtime_error when the key or index is missing.
  const JsonValue& operator[](std::string_view key) const;
  const JsonValue& operator[](size_t index) const;
  size_t size() const;
  long long integer() const;
};

struct JsonValue::Member {
  std::string first;
  JsonValue second;
};

// Throws std::runtime_error naming the offset of the first fault.
JsonValue parse_json(std::string_view text);

}  // namespace scenario::testing
