// Which warnings a run shows and whether they count as errors: the -W flags of
// compile and check.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "compiler/diagnostics/warnings.h"

namespace scenario {

struct WarningSettings {
  std::vector<WarningClass> off;  // turned off with -Wno-NAME
  bool as_errors = false;         // -Werror

  bool shows(WarningClass kind) const;
};

// Whether `arg` is a -W flag at all (the flags below, or a misspelt one).
bool is_warning_flag(std::string_view arg);

// Applies -Werror, -Wno-error, -Wno-NAME or -WNAME (a later flag wins over an
// earlier one). Returns what is wrong, naming every class, when the flag names
// no class; empty when it was applied.
std::string apply_warning_flag(WarningSettings& settings, std::string_view flag);

// "unknown-keyword, ambiguous-keyword, ...": the names -Wno- takes.
std::string warning_names_list();

}  // namespace scenario
