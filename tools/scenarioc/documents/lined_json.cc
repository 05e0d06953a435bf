#include "scenarioc/documents/lined_json.h"

#include <cstddef>
#include <iterator>
#include <limits>
#include <utility>

#include <nlohmann/json.hpp>

namespace scenario {
namespace {

using Json = nlohmann::json;

constexpr size_t kDeepest = 64;

// Counts the lines of the bytes the parser has taken, and keeps the line of
// the last one that is not white space: when a value or key reaches the
// handler, that byte is its last (a number's parser looks one byte past it,
// which is white space or stands on its line).
struct LineTracker {
  int64_t line = 1;
  int64_t last_line = 1;
  void took(char c) {
    if (c == '\n') {
      ++line;
    } else if (c != ' ' && c != '\t' && c != '\r') {
      last_line = line;
    }
  }
};

class TrackingIterator {
 public:
  using iterator_category = std::input_iterator_tag;
  using value_type = char;
  using difference_type = std::ptrdiff_t;
  using pointer = const char*;
  using reference = const char&;

  TrackingIterator(const char* at, LineTracker* tracker) : at_(at), tracker_(tracker) {}
  reference operator*() const { return *at_; }
  TrackingIterator& operator++() {
    tracker_->took(*at_);
    ++at_;
    return *this;
  }
  TrackingIterator operator++(int) {
    TrackingIterator before = *this;
    ++*this;
    return before;
  }
  bool operator==(const TrackingIterator& other) const { return at_ == other.at_; }
  bool operator!=(const TrackingIterator& other) const { return at_ != other.at_; }

 private:
  const char* at_;
  LineTracker* tracker_;
};

// Builds the document from the parser's events; stops at the first fault.
class Builder {
 public:
  using number_integer_t = Json::number_integer_t;
  using number_unsigned_t = Json::number_unsigned_t;
  using number_float_t = Json::number_float_t;
  using string_t = Json::string_t;
  using binary_t = Json::binary_t;

  explicit Builder(const LineTracker& tracker) : tracker_(tracker) {}

  bool null() { return add(value(LinedJson::Kind::null)); }
  bool boolean(bool b) {
    LinedJson v = value(LinedJson::Kind::boolean);
    v.boolean = b;
    return add(std::move(v));
  }
  bool number_integer(number_integer_t n) {
    LinedJson v = value(LinedJson::Kind::integer);
    v.integer = n;
    return add(std::move(v));
  }
  bool number_unsigned(number_unsigned_t n) {
    if (n > static_cast<number_unsigned_t>(std::numeric_limits<int64_t>::max())) {
      return fail("the number " + std::to_string(n) + " is too large");
    }
    return number_integer(static_cast<int64_t>(n));
  }
  bool number_float(number_float_t n, const string_t& written) {
    LinedJson v = value(LinedJson::Kind::real);
    v.real = n;
    v.text = written;
    return add(std::move(v));
  }
  bool string(string_t& s) {
    LinedJson v = value(LinedJson::Kind::string);
    v.text = std::move(s);
    return add(std::move(v));
  }
  bool binary(binary_t&) { return fail("binary values are not JSON text"); }
  bool start_object(std::size_t) { return open(LinedJson::Kind::object); }
  bool key(string_t& k) {
    LinedJson& object = open_.back();
    for (size_t i = 0; i < object.keys.size(); ++i) {
      if (object.keys[i] == k) {
        return fail("\"" + k + "\" is given twice in one object (first on line " +
                    std::to_string(object.key_lines[i]) + ")");
      }
    }
    object.keys.push_back(std::move(k));
    object.key_lines.push_back(tracker_.last_line);
    return true;
  }
  bool end_object() { return close(); }
  bool start_array(std::size_t) { return open(LinedJson::Kind::array); }
  bool end_array() { return close(); }
  bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& e) {
    // "[json.exception.parse_error.101] parse error at line 2, column 5: what"
    std::string message = e.what();
    const size_t column = message.find("column ");
    const size_t colon = column == std::string::npos ? column : message.find(": ", column);
    if (colon != std::string::npos) message.erase(0, colon + 2);
    error_ = {tracker_.line, message};
    return false;
  }

  std::optional<LinedJson>& document() { return document_; }
  const JsonSyntaxError& error() const { return error_; }

 private:
  LinedJson value(LinedJson::Kind kind) const {
    LinedJson v;
    v.kind = kind;
    v.line = tracker_.last_line;
    return v;
  }
  bool add(LinedJson v) {
    if (open_.empty()) {
      document_ = std::move(v);
    } else {
      open_.back().values.push_back(std::move(v));
    }
    return true;
  }
  // The tree is freed recursively: its depth is kept small.
  bool open(LinedJson::Kind kind) {
    if (open_.size() >= kDeepest) {
      return fail("objects and arrays are nested more than " + std::to_string(kDeepest) + " deep");
    }
    open_.push_back(value(kind));
    return true;
  }
  bool close() {
    LinedJson v = std::move(open_.back());
    open_.pop_back();
    return add(std::move(v));
  }
  bool fail(std::string message) {
    error_ = {tracker_.last_line, std::move(message)};
    return false;
  }

  const LineTracker& tracker_;
  std::vector<LinedJson> open_;
  std::optional<LinedJson> document_;
  JsonSyntaxError error_;
};

}  // namespace

const LinedJson* LinedJson::member(std::string_view key) const {
  for (size_t i = 0; i < keys.size(); ++i) {
    if (keys[i] == key) return &values[i];
  }
  return nullptr;
}

LinedJsonResult parse_lined_json(std::string_view text) {
  LineTracker tracker;
  Builder builder(tracker);
  const TrackingIterator first(text.data(), &tracker);
  const TrackingIterator last(text.data() + text.size(), &tracker);
  LinedJsonResult result;
  if (Json::sax_parse(first, last, &builder)) {
    result.document = std::move(builder.document());
  } else {
    result.error = builder.error();
  }
  return result;
}

std::string kind_name(LinedJson::Kind kind) {
  switch (kind) {
    case LinedJson::Kind::null:
      return "null";
    case LinedJson::Kind::boolean:
      return "true or false";
    case LinedJson::Kind::integer:
    case LinedJson::Kind::real:
      return "a number";
    case LinedJson::Kind::string:
      return "a string";
    case LinedJson::Kind::object:
      return "an object";
    case LinedJson::Kind::array:
      return "an array";
  }
  return "a value";
}

}  // namespace scenario
