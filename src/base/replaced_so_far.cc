#include "base/replaced_so_far.h"

namespace scenario {

std::string listed_paths(const std::vector<std::string>& paths) {
  std::string text;
  for (std::size_t i = 0; i < paths.size(); ++i) {
    if (i > 0) text += i + 1 == paths.size() ? " and " : ", ";
    text += "'" + paths[i] + "'";
  }
  return text;
}

std::string replaced_so_far(const std::vector<std::string>& replaced, std::size_t total) {
  if (total <= 1) return "";
  if (replaced.empty()) return "; none of the " + std::to_string(total) + " files was replaced";
  return "; only " + listed_paths(replaced) + (replaced.size() == 1 ? " was" : " were") +
         " replaced";
}

}  // namespace scenario
