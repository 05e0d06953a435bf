#include "tools/scenarioc/json_reader.h"

#include <cmath>
#include <cstdlib>
#include <stdexcept>

namespace scenario::testing {
namespace {

class Reader {
 public:
  explicit Reader(std::string_view text) : s_(text) {}

  JsonValue document() {
    JsonValue v = value();
    skip_blanks();
    if (i_ != s_.size()) fail("content after the value");
    return v;
  }

 private:
  [[noreturn]] void fail(const std::string& what) const {
    throw std::runtime_error("JSON byte " + std::to_string(i_) + ": " + what);
  }

  void skip_blanks() {
    while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\t' || s_[i_] == '\n' || s_[i_] == '\r'))
      ++i_;
  }

  void expect(char c) {
    if (i_ >= s_.size() || s_[i_] != c) fail(std::string("expected '") + c + "'");
    ++i_;
  }

  bool take_word(std::string_view word) {
    if (s_.substr(i_, word.size()) != word) return false;
    i_ += word.size();
    return true;
  }

  JsonValue value() {
    skip_blanks();
    if (i_ >= s_.size()) fail("value expected");
    JsonValue v;
    const char c = s_[i_];
    if (c == '{') return object();
    if (c == '[') return array();
    if (c == '"') {
      v.type = JsonValue::Type::string;
      v.text = string();
    } else if (take_word("null")) {
      v.type = JsonValue::Type::null;
    } else if (take_word("true")) {
      v.type = JsonValue::Type::boolean;
      v.boolean = true;
    } else if (take_word("false")) {
      v.type = JsonValue::Type::boolean;
    } else {
      v = number();
    }
    return v;
  }

  JsonValue object() {
    JsonValue v;
    v.type = JsonValue::Type::object;
    expect('{');
    skip_blanks();
    if (i_ < s_.size() && s_[i_] == '}') {
      ++i_;
      return v;
    }
    for (;;) {
      skip_blanks();
      std::string key = string();
      if (v.has(key)) fail("key \"" + key + "\" given twice");
      skip_blanks();
      expect(':');
      v.members.push_back({std::move(key), value()});
      skip_blanks();
      if (i_ < s_.size() && s_[i_] == ',') {
        ++i_;
        continue;
      }
      expect('}');
      return v;
    }
  }

  JsonValue array() {
    JsonValue v;
    v.type = JsonValue::Type::array;
    expect('[');
    skip_blanks();
    if (i_ < s_.size() && s_[i_] == ']') {
      ++i_;
      return v;
    }
    for (;;) {
      v.items.push_back(value());
      skip_blanks();
      if (i_ < s_.size() && s_[i_] == ',') {
        ++i_;
        continue;
      }
      expect(']');
      return v;
    }
  }

  void digits() {
    const size_t start = i_;
    while (i_ < s_.size() && s_[i_] >= '0' && s_[i_] <= '9') ++i_;
    if (i_ == start) fail("digit expected");
  }

  JsonValue number() {
    const size_t start = i_;
    if (s_[i_] == '-') ++i_;
    if (i_ < s_.size() && s_[i_] == '0') {
      ++i_;
    } else {
      digits();
    }
    if (i_ < s_.size() && s_[i_] == '.') {
      ++i_;
      digits();
    }
    if (i_ < s_.size() && (s_[i_] == 'e' || s_[i_] == 'E')) {
      ++i_;
      if (i_ < s_.size() && (s_[i_] == '+' || s_[i_] == '-')) ++i_;
      digits();
    }
    JsonValue v;
    v.type = JsonValue::Type::number;
    v.text = std::string(s_.substr(start, i_ - start));
    v.number = std::strtod(v.text.c_str(), nullptr);
    return v;
  }

  unsigned hex4() {
    unsigned value = 0;
    for (int k = 0; k < 4; ++k, ++i_) {
      if (i_ >= s_.size()) fail("\\u escape cut short");
      const char c = s_[i_];
      value <<= 4;
      if (c >= '0' && c <= '9') {
        value |= c - '0';
      } else if (c >= 'a' && c <= 'f') {
        value |= c - 'a' + 10;
      } else if (c >= 'A' && c <= 'F') {
        value |= c - 'A' + 10;
      } else {
        fail("bad hex digit in \\u escape");
      }
    }
    return value;
  }

  static void append_utf8(std::string& out, char32_t c) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }

  void escape(std::string& out) {
    if (i_ >= s_.size()) fail("escape cut short");
    const char c = s_[i_++];
    switch (c) {
      case '"':
      case '\\':
      case '/':
        out += c;
        return;
      case 'b':
        out += '\b';
        return;
      case 'f':
        out += '\f';
        return;
      case 'n':
        out += '\n';
        return;
      case 'r':
        out += '\r';
        return;
      case 't':
        out += '\t';
        return;
      case 'u':
        break;
      default:
        fail("unknown escape");
    }
    char32_t code = hex4();
    if (code >= 0xD800 && code <= 0xDBFF) {
      if (!take_word("\\u")) fail("lone high surrogate");
      const unsigned low = hex4();
      if (low < 0xDC00 || low > 0xDFFF) fail("bad low surrogate");
      code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
    } else if (code >= 0xDC00 && code <= 0xDFFF) {
      fail("lone low surrogate");
    }
    append_utf8(out, code);
  }

  // One well-formed UTF-8 sequence, copied to `out`.
  void utf8_sequence(std::string& out) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(s_[k]); };
    const unsigned char b = byte(i_);
    size_t length = 0;
    char32_t c = 0;
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
      fail("byte that starts no UTF-8 sequence");
    }
    if (i_ + length > s_.size()) fail("UTF-8 sequence cut short");
    for (size_t k = 1; k < length; ++k) {
      if ((byte(i_ + k) & 0xC0) != 0x80) fail("bad UTF-8 continuation byte");
      c = (c << 6) | (byte(i_ + k) & 0x3F);
    }
    if ((length == 3 && c < 0x800) || (length == 4 && c < 0x10000) || c > 0x10FFFF ||
        (c >= 0xD800 && c <= 0xDFFF)) {
      fail("overlong or invalid UTF-8 sequence");
    }
    out.append(s_.substr(i_, length));
    i_ += length;
  }

  std::string string() {
    expect('"');
    std::string out;
    for (;;) {
      if (i_ >= s_.size()) fail("string not closed");
      const auto b = static_cast<unsigned char>(s_[i_]);
      if (b == '"') {
        ++i_;
        return out;
      }
      if (b < 0x20) fail("raw control character in a string");
      if (b == '\\') {
        ++i_;
        escape(out);
      } else if (b < 0x80) {
        out += static_cast<char>(b);
        ++i_;
      } else {
        utf8_sequence(out);
      }
    }
  }

  std::string_view s_;
  size_t i_ = 0;
};

}  // namespace

bool JsonValue::has(std::string_view key) const {
  for (const auto& member : members) {
    if (member.first == key) return true;
  }
  return false;
}

const JsonValue& JsonValue::operator[](std::string_view key) const {
  if (type != Type::object) throw std::runtime_error("not an object: " + std::string(key));
  for (const auto& member : members) {
    if (member.first == key) return member.second;
  }
  throw std::runtime_error("no key \"" + std::string(key) + "\"");
}

const JsonValue& JsonValue::operator[](size_t index) const {
  if (type != Type::array || index >= items.size()) {
    throw std::runtime_error("no element " + std::to_string(index));
  }
  return items[index];
}

size_t JsonValue::size() const { return type == Type::object ? members.size() : items.size(); }

long long JsonValue::integer() const {
  if (type != Type::number || text.find_first_of(".eE") != std::string::npos) {
    throw std::runtime_error("not an integer: " + text);
  }
  return std::atoll(text.c_str());
}

JsonValue parse_json(std::string_view text) { return Reader(text).document(); }

}  // namespace scenario::testing
