// The version of scenarioc, as --version, the JSON outputs, the report page and
// the language server give it. It is set once, in project() of the top
// CMakeLists.txt.
#pragma once

#include <string_view>

namespace scenario {

// "MAJOR.MINOR.PATCH".
std::string_view scenarioc_version();

}  // namespace scenario
