// The element writer: values and text escaped unless the call says raw, class
// lists, end tags matching their start tags, void and empty elements.
#include "scenarioc/output/html_writer.h"

#include <gtest/gtest.h>

namespace scenario::testing {
namespace {

TEST(HtmlWriterTest, EscapesAttributeValuesAndTextButNotWhatIsRaw) {
  std::string out;
  HtmlWriter w(out);
  w.open("p").attribute("title", "a \"b\" <c> & 'd'").attribute("data-n", -12);
  w.text("x < y & 'z'").raw("&#160;<b>").close();
  EXPECT_EQ(out,
            "<p title=\"a &quot;b&quot; &lt;c&gt; &amp; &#39;d&#39;\" data-n=\"-12\">"
            "x &lt; y &amp; &#39;z&#39;&#160;<b></p>");
}

TEST(HtmlWriterTest, EndTagsFollowTheOpenElementsInnermostFirst) {
  std::string out;
  HtmlWriter w(out);
  w.open("div").attribute("id", "tip").attribute("class", {"x", "", "y&z"}).flag("hidden");
  w.open("svg");
  w.open("path").attribute_fixed("x", 1.25, 1).raw_attribute("d", "M0 0h0").close_empty();
  w.open("g").close();
  EXPECT_EQ(w.depth(), 2u);
  w.close();
  w.open_void("br");
  w.text("\n").close();
  EXPECT_EQ(w.depth(), 0u);
  EXPECT_EQ(out,
            "<div id=\"tip\" class=\"x y&amp;z\" hidden><svg><path x=\"1.2\" d=\"M0 "
            "0h0\"/><g></g></svg><br>\n"
            "</div>");
}

}  // namespace
}  // namespace scenario::testing
