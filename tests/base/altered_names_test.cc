// The names Windows would alter: a component that ends in a blank or a dot.
#include "base/altered_names.h"

#include <gtest/gtest.h>

#include "base/file_naming.h"

namespace scenario {
namespace {

TEST(AlteredNamesTest, ComponentsEndingInBlankOrDot) {
  struct Case {
    const char* path;
    const char* altered;  // the component named in the reason, "" for none
  };
  const Case cases[] = {
      {"out2", ""},       {"./out/../out2", ""}, {"/a b/c.d/Città", ""}, {"out2 ", "out2 "},
      {"out2.", "out2."}, {"a/b /c", "b "},      {"a/.../c", "..."},     {"/abs/x./", "x."},
  };
  for (const Case& c : cases) {
    const std::string why = name_windows_alters(path_from_utf8(c.path));
    if (*c.altered == '\0') {
      EXPECT_EQ(why, "") << c.path;
    } else {
      EXPECT_NE(why.find(std::string("'") + c.altered + "'"), std::string::npos)
          << c.path << ": " << why;
    }
  }
}

}  // namespace
}  // namespace scenario
