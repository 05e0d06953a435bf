// velmora_dorsel: builds the one scenario it carries into its own folder.
#include <filesystem>
#include <iostream>
#include <memory>
#include <new>

#include "base/program_folder.h"
#include "base/run_time_failure.h"
#include "base/temporary_files.h"
#include "driver/build_driver.h"
#include "driver/user_interface.h"

int main() {
  scenario::install_signal_handling();
  std::unique_ptr<scenario::UserInterface> ui =
      scenario::open_user_interface("velmora_dorsel", std::cerr);
  int status;
  try {
    status = scenario::Form_Load(*ui, scenario::program_folder(), std::cerr);
  } catch (const scenario::RunTimeFailure& failure) {
    status = scenario::report_run_time_failure(*ui, failure, std::cerr);
  } catch (const std::bad_alloc&) {
    // By now the build's tables are freed, so the report has room.
    status = scenario::report_run_time_failure(*ui, scenario::RunTimeFailure("out of memory"),
                                               std::cerr);
  }
  scenario::end_build(*ui);
  return status;
}
