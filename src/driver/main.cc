// velmora_dorsel: builds the one scenario it carries into its own folder.
#include <iostream>

#include "base/file_naming.h"
#include "base/run_time_failure.h"
#include "driver/build_driver.h"
#include "driver/user_interface.h"

int main() {
  std::unique_ptr<scenario::UserInterface> ui =
      scenario::open_user_interface("velmora_dorsel", std::cerr);
  std::filesystem::path folder;
  try {
    folder = scenario::program_folder();
  } catch (const scenario::RunTimeFailure& failure) {
    std::cerr << "velmora_dorsel: " << failure.what() << '\n';
    return 1;
  }
  return scenario::Form_Load(*ui, folder, std::cerr);
}
