// The report page's style sheet and scripts, the same for every scenario: the
// files of tools/scenarioc/report/assets/, built into the program by
// cmake/embedded_text.cmake.
#pragma once

#include <string_view>

namespace scenario {

// assets/report.css and assets/report.js: the page's style sheet and script.
std::string_view report_style();
std::string_view report_script();

// assets/watch_reload.js: the script that `scenarioc watch` adds to the page;
// its PAGE_GENERATION and GENERATION_FILE_NAME stand for the page's values.
std::string_view watch_reload_script();

}  // namespace scenario
