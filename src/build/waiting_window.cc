// Placeholder until the FLTK window exists: always the console.
#include "build/user_interface.h"

namespace scenario {

std::unique_ptr<UserInterface> open_user_interface(const std::string&, std::ostream& err) {
  return std::make_unique<ConsoleInterface>(err);
}

}  // namespace scenario
