// scenarioc's entry point on Linux: the arguments are the file system's bytes.
#include <string>
#include <vector>

#include "base/temporary_files.h"
#include "scenarioc/main.h"

int main(int argc, char** argv) {
  scenario::install_signal_handling();
  return scenario::scenarioc_main(std::vector<std::string>(argv + 1, argv + argc));
}
