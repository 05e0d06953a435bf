#include "scenarioc/output/json_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>

#include "base/text_encoding.h"
#include "scenarioc/output/html_text.h"

namespace scenario {
namespace {

void append_code_unit(std::string& out, unsigned c) {
  static constexpr char kHex[] = "0123456789abcdef";
  out += "\\u00";
  out += kHex[(c >> 4) & 0xF];
  out += kHex[c & 0xF];
}

void append_real(std::string& out, double value, JsonReals reals) {
  if (!std::isfinite(value)) {
    out += "null";
  } else if (reals == JsonReals::tenths) {
    append_fixed(out, value, 1);
  } else {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
  }
}

template <class Integer>
void append_integer_value(std::string& out, Integer value) {
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  out.append(buffer, result.ptr);
}

// Copies the string starting at `text[i]` (its opening quote) and returns the
// index after its closing quote. nlohmann writes \b and \f as short escapes
// and DEL and the C1 controls as they are.
size_t append_string(std::string& out, std::string_view text, size_t i) {
  out += '"';
  for (++i; i < text.size(); ++i) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (b == '"') break;
    if (b == '\\') {
      const char next = text[++i];
      if (next == 'b') {
        append_code_unit(out, '\b');
      } else if (next == 'f') {
        append_code_unit(out, '\f');
      } else {
        out += '\\';
        out += next;
      }
    } else if (b == 0x7F) {
      append_code_unit(out, b);
    } else if (b == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) < 0xA0) {
      append_code_unit(out, static_cast<unsigned char>(text[++i]));
    } else {
      out += static_cast<char>(b);
    }
  }
  out += '"';
  return i + 1;
}

void append_json(std::string& out, const Json& value, JsonReals reals);

// A text as nlohmann escapes it (invalid UTF-8 becomes U+FFFD, never a
// throw), with the escapes changed to the tool's.
void append_text(std::string& out, const std::string& text) {
  const std::string dumped = Json(text).dump(-1, ' ', false, Json::error_handler_t::replace);
  append_string(out, dumped, 0);
}

void append_json(std::string& out, const Json& value, JsonReals reals) {
  using Type = Json::value_t;
  switch (value.type()) {
    case Type::boolean:
      out += value.get<bool>() ? "true" : "false";
      return;
    case Type::number_integer:
      append_integer_value(out, value.get<int64_t>());
      return;
    case Type::number_unsigned:
      append_integer_value(out, value.get<uint64_t>());
      return;
    case Type::number_float:
      append_real(out, value.get<double>(), reals);
      return;
    case Type::string:
      append_text(out, value.get_ref<const std::string&>());
      return;
    case Type::array: {
      out += '[';
      bool first = true;
      for (const Json& element : value) {
        if (!first) out += ',';
        first = false;
        append_json(out, element, reals);
      }
      out += ']';
      return;
    }
    case Type::object: {
      out += '{';
      bool first = true;
      for (const auto& [key, element] : value.items()) {
        if (!first) out += ',';
        first = false;
        append_text(out, key);
        out += ':';
        append_json(out, element, reals);
      }
      out += '}';
      return;
    }
    default:  // null, and what JSON has no text for
      out += "null";
      return;
  }
}

}  // namespace

Json json_1252(std::string_view text) { return utf8_from_1252(text); }

Json json_native(std::string_view text) { return utf8_from_native(text); }

Json json_number(std::optional<int64_t> value) { return value ? Json(*value) : Json(nullptr); }

// Walks the document and writes each number from its value, so that no
// number is written by the library and read back.
std::string json_text(const Json& document, JsonReals reals) {
  std::string out;
  append_json(out, document, reals);
  return out;
}

}  // namespace scenario
