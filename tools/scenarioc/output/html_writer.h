// Writes HTML and inline SVG into a string, one element at a time: start tags
// with their attributes, text and end tags, every value and text escaped but
// for the calls named raw.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace scenario {

class HtmlWriter {
 public:
  explicit HtmlWriter(std::string& out) : out_(out) {}

  // `<tag`: attributes may follow until the next text, element or end.
  HtmlWriter& open(std::string_view tag);
  // A void element (meta, br): `<tag ...>`, which no end follows.
  HtmlWriter& open_void(std::string_view tag);

  // ` name="value"`, on the start tag just opened.
  HtmlWriter& attribute(std::string_view name, std::string_view value);
  HtmlWriter& attribute(std::string_view name, int64_t value);
  // ` name="a b"`: the values joined by spaces, empty ones left out (a class list).
  HtmlWriter& attribute(std::string_view name, std::initializer_list<std::string_view> values);
  // The value with exactly `decimals` digits after the point (append_fixed).
  HtmlWriter& attribute_fixed(std::string_view name, double value, int decimals);
  // A value written as it is, for one that holds nothing to escape by the way
  // it is made (path data: numbers and letters).
  HtmlWriter& raw_attribute(std::string_view name, std::string_view value);
  // A boolean attribute: ` name`.
  HtmlWriter& flag(std::string_view name);

  HtmlWriter& text(std::string_view utf8);
  // Markup written as it is: the style sheet, the scripts, character references.
  HtmlWriter& raw(std::string_view markup);

  // The end of the innermost open element: `</tag>`.
  HtmlWriter& close();
  // The element just opened ends without content: `<tag .../>` (SVG).
  HtmlWriter& close_empty();

  // Elements opened and not yet closed.
  size_t depth() const { return open_tags_.size(); }

 private:
  void start_tag(std::string_view tag);
  void end_start_tag();
  void attribute_name(std::string_view name);

  std::string& out_;
  std::vector<std::string> open_tags_;
  bool in_start_tag_ = false;
};

}  // namespace scenario
