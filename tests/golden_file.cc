// Golden comparison: the first differing lines shown, the file rewritten on request.
#include "golden_file.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string_view>
#include <vector>

#include "test_support.h"

namespace scenario::testing {
namespace {

constexpr size_t kContextLines = 3;
constexpr size_t kShownLines = 12;  // of each side of the difference

bool updating() {
  const char* value = std::getenv("SCENARIO_UPDATE_GOLDEN");
  return value != nullptr && std::string_view(value) == "1";
}

// Lines split at LF; a final LF ends the last line and starts an empty one,
// so that a missing last line end shows as a difference too.
std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(text.substr(start, end - start));
  }
  lines.push_back(text.substr(start));
  return lines;
}

// A line as the failure shows it: control characters written out, so that a
// CR or a tab is seen.
std::string shown(const std::string& line) {
  std::string out;
  for (const char c : line) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (c == '\r') {
      out += "\\r";
    } else if (u < 0x20 || u == 0x7F) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", u);
      out += escaped;
    } else {
      out += c;
    }
  }
  return out;
}

// One hunk around the first difference: the lines before it that both share,
// then the golden's and the actual lines up to the common end.
std::string first_difference(const std::string& golden, const std::string& actual) {
  const std::vector<std::string> want = lines_of(golden);
  const std::vector<std::string> got = lines_of(actual);
  size_t first = 0;
  while (first < want.size() && first < got.size() && want[first] == got[first]) ++first;
  size_t common_end = 0;
  while (common_end < want.size() - first && common_end < got.size() - first &&
         want[want.size() - 1 - common_end] == got[got.size() - 1 - common_end]) {
    ++common_end;
  }
  std::ostringstream out;
  out << "first difference at line " << first + 1 << " (golden " << want.size() << " lines, actual "
      << got.size() << "):\n";
  for (size_t i = first - std::min(first, kContextLines); i < first; ++i) {
    out << "  " << i + 1 << "  " << shown(want[i]) << '\n';
  }
  auto side = [&](const std::vector<std::string>& lines, char mark) {
    const size_t end = lines.size() - common_end;
    for (size_t i = first; i < end && i < first + kShownLines; ++i) {
      out << mark << ' ' << i + 1 << "  " << shown(lines[i]) << '\n';
    }
    if (end > first + kShownLines) out << mark << " ... " << end - first - kShownLines << " more\n";
  };
  side(want, '-');
  side(got, '+');
  return out.str();
}

}  // namespace

std::filesystem::path tests_path(const std::string& name) {
  return std::filesystem::path(SCENARIO_TESTS_DIR) / name;
}

::testing::AssertionResult matches_golden(const std::filesystem::path& golden,
                                          const std::string& actual) {
  std::error_code absent;
  const bool exists = std::filesystem::is_regular_file(golden, absent);
  const std::string expected = exists ? read_file(golden) : "";
  if (exists && expected == actual) return ::testing::AssertionSuccess();
  if (updating()) {
    std::filesystem::create_directories(golden.parent_path());
    write_file(golden, actual);
    return ::testing::AssertionSuccess();
  }
  ::testing::AssertionResult failure = ::testing::AssertionFailure();
  if (!exists) {
    failure << "no golden file " << golden.string() << '\n';
  } else {
    failure << golden.string() << " differs from the actual text; "
            << first_difference(expected, actual);
  }
  return failure << "to accept the actual text, run the test again with SCENARIO_UPDATE_GOLDEN=1";
}

}  // namespace scenario::testing
