// The one exception type of the system: a run-time failure (a file that cannot
// be opened, read, written or deleted; a read past the end of a source; a value
// that does not fit its column). The parser's failure trap turns it into error
// 25; anywhere else it travels back to the program's main, which reports it.
#pragma once

#include <stdexcept>
#include <string>

namespace scenario {

class RunTimeFailure : public std::runtime_error {
 public:
  explicit RunTimeFailure(const std::string& what) : std::runtime_error(what) {}
};

}  // namespace scenario
