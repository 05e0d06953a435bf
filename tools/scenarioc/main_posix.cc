// scenarioc's entry point on Linux: the arguments are the file system's bytes.
#include <string>
#include <vector>

#include "scenarioc/main.h"

int main(int argc, char** argv) {
  return scenario::scenarioc_main(std::vector<std::string>(argv + 1, argv + argc));
}
