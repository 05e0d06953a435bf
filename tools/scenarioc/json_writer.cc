#include "scenarioc/json_writer.h"

#include <charconv>
#include <cmath>
#include <utility>

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
size_t utf8_sequence_length(std::string_view s, size_t i) {
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

bool is_utf8(std::string_view s) {
  for (size_t i = 0; i < s.size();) {
    const size_t length = utf8_sequence_length(s, i);
    if (length == 0) return false;
    i += length;
  }
  return true;
}

void append_escaped(std::string& out, char32_t c) {
  static constexpr char kHex[] = "0123456789abcdef";
  out += "\\u00";
  out += kHex[(c >> 4) & 0xF];
  out += kHex[c & 0xF];
}

}  // namespace

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
