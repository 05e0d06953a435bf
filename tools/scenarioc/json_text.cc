#include "scenarioc/json_text.h"

#include <charconv>
#include <cstdlib>

#include "base/text_encoding.h"
#include "scenarioc/html_text.h"

namespace scenario {
namespace {

void append_code_unit(std::string& out, unsigned c) {
  static constexpr char kHex[] = "0123456789abcdef";
  out += "\\u00";
  out += kHex[(c >> 4) & 0xF];
  out += kHex[c & 0xF];
}

bool is_number_start(char c) { return c == '-' || (c >= '0' && c <= '9'); }

bool is_number_char(char c) {
  return (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.' || c == 'e' || c == 'E';
}

// nlohmann writes a real number with a decimal point or an exponent (1.0,
// 1e+20) and by Grisu2, which is not always the shortest; an integer as digits.
void append_number(std::string& out, std::string_view token, JsonReals reals) {
  if (token.find_first_of(".eE") == std::string_view::npos) {
    out += token;
    return;
  }
  double value = 0;
  std::from_chars(token.data(), token.data() + token.size(), value);
  if (reals == JsonReals::tenths) {
    append_fixed(out, value, 1);
    return;
  }
  char buffer[32];
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

}  // namespace

Json json_1252(std::string_view text) { return utf8_from_1252(text); }

Json json_native(std::string_view text) { return utf8_from_native(text); }

Json json_number(std::optional<int64_t> value) { return value ? Json(*value) : Json(nullptr); }

std::string json_text(const Json& document, JsonReals reals) {
  // Every text put in is UTF-8 already; a fault would show as U+FFFD, never as a throw.
  const std::string dumped = document.dump(-1, ' ', false, Json::error_handler_t::replace);
  std::string out;
  out.reserve(dumped.size() + dumped.size() / 8);
  for (size_t i = 0; i < dumped.size();) {
    const char c = dumped[i];
    if (c == '"') {
      i = append_string(out, dumped, i);
    } else if (is_number_start(c)) {
      size_t end = i;
      while (end < dumped.size() && is_number_char(dumped[end])) ++end;
      append_number(out, std::string_view(dumped).substr(i, end - i), reals);
      i = end;
    } else {
      out += c;
      ++i;
    }
  }
  return out;
}

}  // namespace scenario
