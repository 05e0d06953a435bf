// The page watch keeps: the reload script added before the end of the body,
// naming its generation and its generation file.
#include "scenarioc/watch/watched_report.h"

#include <gtest/gtest.h>

#include "scenarioc/output/html_text.h"

namespace scenario::testing {
namespace {

constexpr const char* kReload =
    "<script>\n"
    "// Added by scenarioc watch: reloads the page once watch has written a newer one.\n"
    "(function () {\n"
    "  const generation = 1700000000123;\n"
    "  const file = encodeURIComponent(\"a\\\"b'c.html.generation.js\");\n"
    "  window.scenariocWatch = (latest) => { if (latest !== generation) location.reload(); };\n"
    "  setInterval(() => {\n"
    "    const probe = document.createElement('script');\n"
    "    probe.src = file + '?' + Date.now();\n"
    "    probe.onload = probe.onerror = () => probe.remove();\n"
    "    document.head.appendChild(probe);\n"
    "  }, 1000);\n"
    "})();\n"
    "</script>\n";

TEST(WatchedReportTest, TheReloadScriptGoesBeforeTheEndOfTheBody) {
  // A file name that would end the script's string, were it not escaped.
  const std::filesystem::path page_path = std::filesystem::path("out") / "a\"b'c.html";
  EXPECT_EQ(page_that_reloads("<body>\n<p>x</p>\n</body>\n</html>\n", page_path, 1700000000123),
            std::string("<body>\n<p>x</p>\n") + kReload + "</body>\n</html>\n");
  EXPECT_EQ(page_that_reloads("no end", page_path, 1700000000123), std::string("no end") + kReload);
  EXPECT_EQ(generation_script(1700000000123), "scenariocWatch(1700000000123);\n");
}

// Names that, written into the script as they are, would end it early or make
// the HTML parser read past its end tag.
TEST(WatchedReportTest, NoPageNameChangesWhereTheScriptEnds) {
  for (const char* name :
       {"<!--<script>.html", "</script>.html", "</SCRIPT >.html", "<!--.html", "a<b.html"}) {
    SCOPED_TRACE(name);
    const std::string page = page_that_reloads("<body>\n</body>\n", name, 1);
    const size_t start = page.find("<script>\n") + 9;
    const size_t end = page.find("</script>\n");
    ASSERT_LT(start, end);
    EXPECT_EQ(page.substr(end), "</script>\n</body>\n");
    // Inside the element no "<" at all: nothing there can open a comment or a tag.
    EXPECT_EQ(page.substr(start, end - start).find('<'), std::string::npos) << page;
  }
}

TEST(WatchedReportTest, AScriptLiteralReadsBackAsTheText) {
  EXPECT_EQ(script_string_literal("<!--<script>\"\n"), "\"\\u003C!--\\u003Cscript>\\\"\\n\"");
}

}  // namespace
}  // namespace scenario::testing
