// Names that Windows would store under another name: it drops the blanks and
// dots that end a path component, so "out2 " would become "out2".
#pragma once

#include <filesystem>
#include <string>

namespace scenario {

// Why Windows would alter `path`: the first component that ends in a blank or
// a dot ("." and ".." excepted). Empty when no component does.
std::string name_windows_alters(const std::filesystem::path& path);

}  // namespace scenario
