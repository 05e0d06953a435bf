// The tool's JSON documents: built as nlohmann's ordered_json, which keeps the
// keys in the order they were set, and written in the spelling the tool has
// always used (numbers, escapes) so that a reader of `--json` sees the same
// bytes from one version to the next.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace scenario {

using Json = nlohmann::ordered_json;

// Texts of a scenario (Windows-1252) and texts the system gives (a file name,
// kept when it is valid UTF-8), as JSON strings in UTF-8.
Json json_1252(std::string_view text);
Json json_native(std::string_view text);
// A number, or null when there is none.
Json json_number(std::optional<int64_t> value);

// How the real numbers of a document are written.
enum class JsonReals {
  shortest,  // the shortest text that reads back as the same double: 0.5, 1e+05, 3
  tenths,    // one decimal, rounded half to even: 0.5, 100000.0, 3.0
};

// The document on one line, without a line end. Control characters are
// escaped as \u00XX (but \n, \r and \t), DEL and the C1 controls too, so that
// no text can drive a terminal; other characters stay UTF-8. A non-finite
// number is null.
std::string json_text(const Json& document, JsonReals reals = JsonReals::shortest);

}  // namespace scenario
