// The lines of a folder made ready by a command of scenarioc, on its stderr.
#include "scenarioc/folder_access.h"

#include <string>

namespace scenario {

TellUser told_on(std::ostream& err) {
  return [&err](const std::string& line) { err << "scenarioc: " << line << '\n' << std::flush; };
}

}  // namespace scenario
