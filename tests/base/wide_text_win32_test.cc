// UTF-8 and UTF-16 across the Windows calls, and the system's words for an
// error code.
#include "base/wide_text.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace scenario {
namespace {

TEST(WideTextTest, RoundTrip) {
  const struct {
    std::string utf8;
    std::wstring wide;
  } rows[] = {
      {"", L""},
      {"Velmora_Dorsel_904.sim", L"Velmora_Dorsel_904.sim"},
      {"Citt\xC3\xA0 di prova", L"Citt\u00E0 di prova"},
      {"\xCE\xA3\xCE\xB5\xCE\xBD\xCE\xAC\xCF\x81\xCE\xB9\xCE\xBF",
       L"\u03A3\u03B5\u03BD\u03AC\u03C1\u03B9\u03BF"},
      // Beyond the first plane: a surrogate pair in UTF-16.
      {"\xF0\x9F\x9A\x86", L"\U0001F686"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.utf8);
    EXPECT_EQ(wide_of(row.utf8), row.wide);
    EXPECT_EQ(utf8_of(row.wide), row.utf8);
  }
}

TEST(WideTextTest, BytesThatAreNotUtf8BecomeReplacementCharacters) {
  EXPECT_EQ(wide_of("Citt\xE0"), L"Citt\uFFFD");
}

TEST(WideTextTest, SystemReasonIsTheSystemsWordsWithoutTheirEnd) {
  const std::string reason = system_reason(ERROR_FILE_NOT_FOUND);
  ASSERT_FALSE(reason.empty());
  EXPECT_EQ(reason.find_first_of("\r\n"), std::string::npos) << reason;
  EXPECT_NE(reason.back(), '.') << reason;
  EXPECT_EQ(system_reason(0x2BADC0DE), "system error 732807390");
}

}  // namespace
}  // namespace scenario
