#include "scenarioc/version.h"

// CMake passes the project's version to this file alone, so that a new
// version rebuilds nothing else.
#ifndef SCENARIO_VERSION
#error "SCENARIO_VERSION comes from project(... VERSION) in CMakeLists.txt"
#endif

namespace scenario {

std::string_view scenarioc_version() { return SCENARIO_VERSION; }

}  // namespace scenario
