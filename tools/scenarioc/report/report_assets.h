// The report page's style sheet and script, the same for every scenario.
#pragma once

#include <string_view>

namespace scenario {

std::string_view report_style();
std::string_view report_script();

}  // namespace scenario
