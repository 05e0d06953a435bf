// Text for the report page: HTML escaping, and numbers in one fixed form that
// no locale changes, so that the same scenario always gives the same bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace scenario {

// Appends UTF-8 text with &, <, >, " and ' escaped, for element content and
// attribute values alike (HtmlWriter escapes through it).
void append_escaped(std::string& out, std::string_view utf8);

// A JavaScript string literal of UTF-8 text, to be placed inside a script
// element: JSON's escapes, and every "<" written \u003C, so that no "<!--",
// "<script" or "</script" in the text can end the element or change how the
// HTML parser reads the rest of it.
std::string script_string_literal(std::string_view utf8);

// `value` with exactly `decimals` digits after the point, rounded half to even
// ("-0.0" is written "0.0"); a value beyond ±1e15 or not finite is written 0.
std::string fixed_decimals(double value, int decimals);
void append_fixed(std::string& out, double value, int decimals);

// A whole number, without grouping.
void append_integer(std::string& out, int64_t value);

}  // namespace scenario
