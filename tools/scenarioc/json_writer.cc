#include "scenarioc/json_writer.h"

#include <charconv>
#include <cmath>
#include <utility>

#include "base/text_encoding.h"

namespace scenario {
namespace {

void append_escaped(std::string& out, char32_t c) {
  static constexpr char kHex[] = "0123456789abcdef";
  out += "\\u00";
  out += kHex[(c >> 4) & 0xF];
  out += kHex[c & 0xF];
}

}  // namespace

void JsonWriter::before_value() {
  if (after_key_) {
    after_key_ = false;
    return;
  }
  if (!first_.empty()) {
    if (!first_.back()) out_ += ',';
    first_.back() = false;
  }
}

void JsonWriter::begin_object() {
  before_value();
  out_ += '{';
  first_.push_back(true);
}

void JsonWriter::end_object() {
  first_.pop_back();
  out_ += '}';
}

void JsonWriter::begin_array() {
  before_value();
  out_ += '[';
  first_.push_back(true);
}

void JsonWriter::end_array() {
  first_.pop_back();
  out_ += ']';
}

void JsonWriter::key(std::string_view name) {
  before_value();
  quoted(name);
  out_ += ':';
  after_key_ = true;
}

// Escapes what JSON requires, and the C1 controls so that they stay visible.
void JsonWriter::quoted(std::string_view utf8) {
  out_ += '"';
  for (size_t i = 0; i < utf8.size(); ++i) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    if (b == '"' || b == '\\') {
      out_ += '\\';
      out_ += static_cast<char>(b);
    } else if (b == '\n') {
      out_ += "\\n";
    } else if (b == '\r') {
      out_ += "\\r";
    } else if (b == '\t') {
      out_ += "\\t";
    } else if (b < 0x20 || b == 0x7F) {
      append_escaped(out_, b);
    } else if (b == 0xC2 && i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) < 0xA0) {
      append_escaped(out_, static_cast<unsigned char>(utf8[++i]));
    } else {
      out_ += static_cast<char>(b);
    }
  }
  out_ += '"';
}

void JsonWriter::text_1252(std::string_view text) {
  before_value();
  quoted(utf8_from_1252(text));
}

void JsonWriter::text_native(std::string_view text) {
  before_value();
  quoted(utf8_from_native(text));
}

void JsonWriter::number(int64_t value) {
  before_value();
  out_ += std::to_string(value);
}

void JsonWriter::number(double value) {
  if (!std::isfinite(value)) {
    null();
    return;
  }
  before_value();
  char buffer[32];
  // The shortest text that reads back as the same double.
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  out_.append(buffer, result.ptr);
}

void JsonWriter::boolean(bool value) {
  before_value();
  out_ += value ? "true" : "false";
}

void JsonWriter::null() {
  before_value();
  out_ += "null";
}

void JsonWriter::field(std::string_view name, int64_t value) {
  key(name);
  number(value);
}

void JsonWriter::field(std::string_view name, std::optional<int64_t> value) {
  key(name);
  if (value) {
    number(*value);
  } else {
    null();
  }
}

void JsonWriter::real_field(std::string_view name, double value) {
  key(name);
  number(value);
}

void JsonWriter::field_1252(std::string_view name, std::string_view text) {
  key(name);
  text_1252(text);
}

void JsonWriter::field_native(std::string_view name, std::string_view text) {
  key(name);
  text_native(text);
}

std::string JsonWriter::take() {
  out_ += '\n';
  return std::move(out_);
}

}  // namespace scenario
