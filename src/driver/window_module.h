// The calls between the program and the module that holds the waiting window.
// They pass only C types: the module brings its own C++ run-time library, so
// no C++ object and no exception crosses between the two.
#pragma once

#include <cstddef>
#include <cstdint>

namespace scenario {

inline constexpr char kWindowModuleName[] = "scenario_window.so";
inline constexpr char kWindowModuleEntry[] = "scenario_window_calls";

// Raised whenever the calls below change their meaning.
inline constexpr uint32_t kWindowModuleVersion = 2;

extern "C" {

// A module is used only when its table starts with the version and the size
// that the program knows: one of another build may have other calls, or fewer.
struct WindowModuleCalls {
  uint32_t version;  // kWindowModuleVersion
  uint32_t size;     // sizeof(WindowModuleCalls)
  // Opens the display and returns the window's state, or null when the
  // display cannot be opened.
  void* (*open)(const char* title);
  // Shows the waiting window and paints it at once.
  void (*show_waiting_window)(void* window);
  // Shows `length` bytes of text in a modal box and returns once it is
  // closed: 1, or 0 when the box could not be shown.
  int (*show_message)(void* window, const char* text, std::size_t length);
  // Hides the waiting window.
  void (*close)(void* window);
  // Closes every window and frees the state.
  void (*destroy)(void* window);
};

// The module's one exported symbol, named by kWindowModuleEntry.
using WindowModuleEntry = const WindowModuleCalls* (*)();

}  // extern "C"

}  // namespace scenario
