// The Linux face of the build: loads the waiting window module beside the
// executable when DISPLAY names a display, else works on the console.
#include "driver/user_interface.h"

#include <dlfcn.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "base/program_folder.h"
#include "driver/window_module.h"

namespace scenario {
namespace {

bool display_named() {
  const char* display = std::getenv("DISPLAY");
  return display != nullptr && display[0] != '\0';
}

// The module's calls, or null with the reason in `reason`. The module stays
// loaded for the life of the process.
const WindowModuleCalls* load_window_module(std::string& reason) {
  const std::filesystem::path folder = program_folder(reason);
  if (!reason.empty()) return nullptr;
  const std::filesystem::path module = folder / kWindowModuleName;
  void* handle = ::dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL);
  void* entry = handle != nullptr ? ::dlsym(handle, kWindowModuleEntry) : nullptr;
  if (entry == nullptr) {
    reason = ::dlerror();
    return nullptr;
  }
  const WindowModuleCalls* calls = reinterpret_cast<WindowModuleEntry>(entry)();
  // The version and the size come first in every table, so they can be read
  // from a table of any length before anything else is trusted.
  if (calls == nullptr || calls->version != kWindowModuleVersion ||
      calls->size != sizeof(WindowModuleCalls)) {
    reason = module.string() + ": a window module of another build (this program needs version " +
             std::to_string(kWindowModuleVersion) + ")";
    return nullptr;
  }
  return calls;
}

// The waiting window, shown by the module. A message box that cannot be shown
// becomes a line on the console, so that no message is lost.
class ModuleWindow : public UserInterface {
 public:
  ModuleWindow(const WindowModuleCalls& calls, void* window, std::ostream& err)
      : calls_(calls), window_(window), console_(err) {}
  ~ModuleWindow() override { calls_.destroy(window_); }

  void show_waiting_window() override { calls_.show_waiting_window(window_); }
  void show_message(const std::string& text) override {
    if (calls_.show_message(window_, text.data(), text.size()) == 0) console_.show_message(text);
  }
  void close() override { calls_.close(window_); }
  bool is_graphical() const override { return true; }

 private:
  const WindowModuleCalls& calls_;
  void* window_;
  ConsoleInterface console_;
};

}  // namespace

std::unique_ptr<UserInterface> open_user_interface(const std::string& title, std::ostream& err) {
  if (!display_named()) return std::make_unique<ConsoleInterface>(err);
  std::string reason;
  const WindowModuleCalls* calls = load_window_module(reason);
  if (calls == nullptr) {
    err << title << ": no waiting window: " << reason << '\n';
    return std::make_unique<ConsoleInterface>(err);
  }
  void* window = calls->open(title.c_str());
  if (window == nullptr) return std::make_unique<ConsoleInterface>(err);
  return std::make_unique<ModuleWindow>(*calls, window, err);
}

}  // namespace scenario
