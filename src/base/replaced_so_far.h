// What a failure in the middle of renaming a set of files has changed, in the
// words that end the failure's message (replace_file.cc).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace scenario {

// "'a', 'b' and 'c'".
std::string listed_paths(const std::vector<std::string>& paths);

// "" for a set of one file; else "; none of the 3 files was replaced" or
// "; only 'a' and 'b' were replaced", naming the files already renamed.
std::string replaced_so_far(const std::vector<std::string>& replaced, std::size_t total);

}  // namespace scenario
