#include "scenarioc/output/html_text.h"

#include <charconv>
#include <cmath>

#include "scenarioc/output/json_text.h"

namespace scenario {
namespace {

constexpr double kLargest = 1e15;

constexpr int64_t kPowersOfTen[] = {1, 10, 100, 1000, 10000, 100000, 1000000};

}  // namespace

void append_escaped(std::string& out, std::string_view utf8) {
  for (char ch : utf8) {
    switch (ch) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      default:
        out += ch;
    }
  }
}

std::string script_string_literal(std::string_view utf8) {
  const std::string json = json_text(json_native(utf8));
  std::string literal;
  literal.reserve(json.size());
  for (char ch : json) {
    if (ch == '<') {
      literal += "\\u003C";
    } else {
      literal += ch;
    }
  }
  return literal;
}

void append_integer(std::string& out, int64_t value) {
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  out.append(buffer, result.ptr);
}

void append_fixed(std::string& out, double value, int decimals) {
  if (decimals < 0) decimals = 0;
  if (decimals > 6) decimals = 6;
  const int64_t scale = kPowersOfTen[decimals];
  const double scaled = value * static_cast<double>(scale);
  // The default rounding mode rounds half to even.
  const double rounded =
      std::isfinite(scaled) && std::fabs(value) < kLargest ? std::nearbyint(scaled) : 0.0;
  const auto units = static_cast<int64_t>(rounded);
  if (units < 0) out += '-';
  const uint64_t magnitude = units < 0 ? 0 - static_cast<uint64_t>(units) : units;
  append_integer(out, static_cast<int64_t>(magnitude / scale));
  if (decimals == 0) return;
  out += '.';
  const std::string fraction = std::to_string(magnitude % scale);
  out.append(decimals - fraction.size(), '0');
  out += fraction;
}

std::string fixed_decimals(double value, int decimals) {
  std::string out;
  append_fixed(out, value, decimals);
  return out;
}

}  // namespace scenario
