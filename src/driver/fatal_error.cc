#include "driver/fatal_error.h"

namespace scenario {

std::string fatal_error_text(std::string_view a) { return " Errore n. " + std::string(a); }

void errore(UserInterface& ui, std::string_view a) { ui.show_message(fatal_error_text(a)); }

}  // namespace scenario
