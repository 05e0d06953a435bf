// `Form_Load`, the program's one build: set the identifiers, show the waiting
// window, write the two sources and the three documents, compile, and end.
#pragma once

#include <filesystem>
#include <ostream>
#include <string_view>

#include "base/run_time_failure.h"
#include "driver/user_interface.h"

namespace scenario {

// Told the name of every step as it starts; lets a test see their order.
class BuildTrace {
 public:
  virtual ~BuildTrace() = default;
  virtual void step(std::string_view name) = 0;
};

// Runs the steps of the build, the compile last, with every file in `folder`,
// holding the folder's lock throughout (a second build there waits, saying so
// on `err`); returns the exit status: 0 at the normal end, 1 after a fatal
// error or a parse that left no cell row (then no compiled file is written).
// Recorded compile errors are listed on `err` and do not change the status. A
// file that cannot be written or read ends the steps with a RunTimeFailure,
// which `main` reports with `report_run_time_failure`; either way `end_build`
// follows. A build that ends by an exception leaves no source file and no
// temporary file behind.
int Form_Load(UserInterface& ui, const std::filesystem::path& folder, std::ostream& err,
              BuildTrace* trace = nullptr);

// One line on `err` naming what failed and, with a window, the same text in a
// message box. Returns the exit status, 1.
int report_run_time_failure(UserInterface& ui, const RunTimeFailure& failure, std::ostream& err);

// The last step, after a normal end or a failure: closes the window.
void end_build(UserInterface& ui, BuildTrace* trace = nullptr);

}  // namespace scenario
