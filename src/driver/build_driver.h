// `Form_Load`, the program's one build: set the identifiers, show the waiting
// window, write the two sources and the three documents, compile, and end.
#pragma once

#include <filesystem>
#include <ostream>
#include <string_view>

#include "driver/user_interface.h"

namespace scenario {

// Told the name of every step as it starts; lets a test see their order.
class BuildTrace {
 public:
  virtual ~BuildTrace() = default;
  virtual void step(std::string_view name) = 0;
};

// Runs the nine steps with every file in `folder`; returns the exit status: 0
// at the normal end, 1 after a fatal error, a file that cannot be written or
// read, or a parse that left no cell row (then no compiled file is written).
// Recorded compile errors are listed on `err` and do not change the status.
int Form_Load(UserInterface& ui, const std::filesystem::path& folder, std::ostream& err,
              BuildTrace* trace = nullptr);

}  // namespace scenario
