#include "scenarioc/output/html_writer.h"

#include <cassert>

#include "scenarioc/output/html_text.h"

namespace scenario {

void HtmlWriter::start_tag(std::string_view tag) {
  end_start_tag();
  out_ += '<';
  out_ += tag;
  in_start_tag_ = true;
}

void HtmlWriter::end_start_tag() {
  if (!in_start_tag_) return;
  out_ += '>';
  in_start_tag_ = false;
}

HtmlWriter& HtmlWriter::open(std::string_view tag) {
  start_tag(tag);
  open_tags_.emplace_back(tag);
  return *this;
}

HtmlWriter& HtmlWriter::open_void(std::string_view tag) {
  start_tag(tag);
  return *this;
}

void HtmlWriter::attribute_name(std::string_view name) {
  assert(in_start_tag_);
  out_ += ' ';
  out_ += name;
}

HtmlWriter& HtmlWriter::attribute(std::string_view name, std::string_view value) {
  attribute_name(name);
  out_ += "=\"";
  append_escaped(out_, value);
  out_ += '"';
  return *this;
}

HtmlWriter& HtmlWriter::attribute(std::string_view name, int64_t value) {
  attribute_name(name);
  out_ += "=\"";
  append_integer(out_, value);
  out_ += '"';
  return *this;
}

HtmlWriter& HtmlWriter::attribute(std::string_view name,
                                  std::initializer_list<std::string_view> values) {
  attribute_name(name);
  out_ += "=\"";
  bool first = true;
  for (std::string_view value : values) {
    if (value.empty()) continue;
    if (!first) out_ += ' ';
    append_escaped(out_, value);
    first = false;
  }
  out_ += '"';
  return *this;
}

HtmlWriter& HtmlWriter::attribute_fixed(std::string_view name, double value, int decimals) {
  attribute_name(name);
  out_ += "=\"";
  append_fixed(out_, value, decimals);
  out_ += '"';
  return *this;
}

HtmlWriter& HtmlWriter::raw_attribute(std::string_view name, std::string_view value) {
  attribute_name(name);
  out_ += "=\"";
  out_ += value;
  out_ += '"';
  return *this;
}

HtmlWriter& HtmlWriter::flag(std::string_view name) {
  attribute_name(name);
  return *this;
}

HtmlWriter& HtmlWriter::text(std::string_view utf8) {
  end_start_tag();
  append_escaped(out_, utf8);
  return *this;
}

HtmlWriter& HtmlWriter::raw(std::string_view markup) {
  end_start_tag();
  out_ += markup;
  return *this;
}

HtmlWriter& HtmlWriter::close() {
  assert(!open_tags_.empty());
  end_start_tag();
  out_ += "</";
  out_ += open_tags_.back();
  out_ += '>';
  open_tags_.pop_back();
  return *this;
}

HtmlWriter& HtmlWriter::close_empty() {
  assert(in_start_tag_ && !open_tags_.empty());
  out_ += "/>";
  in_start_tag_ = false;
  open_tags_.pop_back();
  return *this;
}

}  // namespace scenario
