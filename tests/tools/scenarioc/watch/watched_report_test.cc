// The page watch keeps: the reload script added before the end of the body,
// naming its generation and its generation file.
#include "scenarioc/watch/watched_report.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace scenario::testing
