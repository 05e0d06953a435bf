#include "compiler/parse/keyword_suggestion.h"

#include <algorithm>
#include <string>
#include <vector>

#include "base/text_case.h"
#include "base/text_encoding.h"

namespace scenario {
namespace {

// The letters of a keyword field: UTF-8 sequences when the field is UTF-8,
// else one letter a byte (Windows-1252). ASCII letters in lower case.
std::vector<char32_t> letters_of(std::string_view text) {
  std::vector<char32_t> letters;
  const bool utf8 = is_utf8(text);
  for (size_t i = 0; i < text.size();) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (!utf8 || b < 0x80) {
      letters.push_back(static_cast<unsigned char>(to_lower_1252(text[i])));
      ++i;
      continue;
    }
    const size_t length = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : 2;
    char32_t c = b & (0x7F >> length);
    for (size_t k = 1; k < length; ++k) c = (c << 6) | (text[i + k] & 0x3F);
    letters.push_back(c);
    i += length;
  }
  return letters;
}

// Optimal string alignment distance.
int distance_between(const std::vector<char32_t>& a, const std::vector<char32_t>& b) {
  const size_t n = a.size();
  const size_t m = b.size();
  std::vector<std::vector<int>> d(n + 1, std::vector<int>(m + 1));
  for (size_t i = 0; i <= n; ++i) d[i][0] = static_cast<int>(i);
  for (size_t j = 0; j <= m; ++j) d[0][j] = static_cast<int>(j);
  for (size_t i = 1; i <= n; ++i) {
    for (size_t j = 1; j <= m; ++j) {
      const int cost = a[i - 1] == b[j - 1] ? 0 : 1;
      d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + cost});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
      }
    }
  }
  return d[n][m];
}

// How many edits still read as a slip of the keyboard.
int tolerance_for(std::string_view spelling) {
  return std::clamp(static_cast<int>(spelling.size()) / 3, 1, 3);
}

}  // namespace

int edit_distance(std::string_view a, std::string_view b) {
  return distance_between(letters_of(a), letters_of(b));
}

Suggestion nearest_keyword(std::string_view field) {
  // Longer fields are no slip of the keyboard; they need not be compared.
  constexpr size_t kLongestCompared = 64;
  Suggestion best;
  if (field.empty() || field.size() > kLongestCompared) return best;
  const std::vector<char32_t> letters = letters_of(field);
  for (const RecordKind& kind : record_kinds()) {
    for (std::string_view spelling : kind.spellings) {
      const int d = distance_between(letters, letters_of(spelling));
      if (d > tolerance_for(spelling)) continue;
      if (best.kind == nullptr || d < best.distance) best = {&kind, spelling, d};
    }
  }
  return best;
}

}  // namespace scenario
