// A small JSON writer for the tool's --json output: one document built in
// order, with commas placed by the writer and every text escaped.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace scenario {

class JsonWriter {
 public:
  void begin_object();
  void end_object();
  void begin_array();
  void end_array();
  // The key of the next value inside an object.
  void key(std::string_view name);

  void text_1252(std::string_view text);
  void text_native(std::string_view text);
  void number(int64_t value);
  // A non-finite value has no JSON form and is written as null.
  void number(double value);
  void boolean(bool value);
  void null();

  // Shorthands for a key and its value.
  void field(std::string_view name, int64_t value);
  void field(std::string_view name, std::optional<int64_t> value);
  void real_field(std::string_view name, double value);
  void field_1252(std::string_view name, std::string_view text);
  void field_native(std::string_view name, std::string_view text);

  // The document, with a line end after it.
  std::string take();

 private:
  void before_value();
  void quoted(std::string_view utf8);

  std::string out_;
  std::vector<bool> first_;  // per open object or array: no element written yet
  bool after_key_ = false;
};

}  // namespace scenario
