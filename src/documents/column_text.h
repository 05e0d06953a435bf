// The text of one column of a framed form: a value fitted to the column's
// width, and the numbers as the crew documents write them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace scenario {

// `text` padded with blanks to `width`, or cut to it.
std::string left_aligned(std::string_view text, size_t width);
// `text` after blanks up to `width`; a longer text is kept whole.
std::string right_aligned(std::string_view text, size_t width);

// A chainage in metres as kilometres with a point and three digits of
// metres: "349.970", "-0.050".
std::string kilometres_text(int64_t metres);

// A time of day in seconds as hours and minutes with a point, "10.33"; the
// seconds are dropped and the hours go on past a day.
std::string sheet_time_text(int64_t seconds);

// Placeholders of the forms where a value is not known.
inline constexpr std::string_view kPlaceholder = "xxx";
inline constexpr std::string_view kTimePlaceholder = "xx.xx";

// A number as text, or the placeholder.
std::string number_or_placeholder(std::optional<int64_t> value);

}  // namespace scenario
