// `errore`: the fatal error report. It shows " Errore n. " and the number in a
// modal box and the build then ends; the driver decides the exit status.
#pragma once

#include <string>
#include <string_view>

#include "driver/user_interface.h"

namespace scenario {

// " Errore n. " followed by `a`: a leading blank and a blank after "n.".
std::string fatal_error_text(std::string_view a);

void errore(UserInterface& ui, std::string_view a);

}  // namespace scenario
