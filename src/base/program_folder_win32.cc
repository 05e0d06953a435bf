// The program's folder on Windows: the folder of the module file that
// GetModuleFileNameW names, as wide text, so that any folder name works.
#include <windows.h>

#include <string>

#include "base/program_folder.h"
#include "base/wide_text.h"

namespace scenario {
namespace {

// The longest path Windows handles, in UTF-16 units.
constexpr size_t kLongestPath = 32768;

}  // namespace

std::filesystem::path program_folder(std::string& reason) {
  std::wstring name(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        ::GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
    if (length == 0) {
      reason = "cannot find the program's folder: " + system_reason(::GetLastError());
      return {};
    }
    // A name that filled the buffer may have been cut short.
    if (length < name.size()) {
      name.resize(length);
      return std::filesystem::path(name).parent_path();
    }
    if (name.size() >= kLongestPath) {
      reason = "cannot find the program's folder: its path is too long";
      return {};
    }
    name.resize(name.size() * 2);
  }
}

}  // namespace scenario
