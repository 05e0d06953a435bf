// Names that Windows would store under another name.
#include "base/altered_names.h"

namespace scenario {

std::string name_windows_alters(const std::filesystem::path& path) {
  for (const std::filesystem::path& part : path.relative_path()) {
    const std::u8string text = part.u8string();
    const std::string name(text.begin(), text.end());
    if (name.empty() || name == "." || name == "..") continue;
    const char last = name.back();
    if (last == ' ' || last == '.') {
      return "Windows drops the " + std::string(last == ' ' ? "blank" : "dot") +
             " that ends the name '" + name + "'";
    }
  }
  return {};
}

}  // namespace scenario
