// Window modules of other builds, for the test that the program refuses them
// without calling anything: built once with the table of an earlier layout
// (five calls, no version), and once with this version but a shorter table.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "driver/window_module.h"

namespace {

[[maybe_unused]] void* open_window(const char*) { std::abort(); }
[[maybe_unused]] void show_waiting_window(void*) { std::abort(); }
[[maybe_unused]] int show_message(void*, const char*, std::size_t) { std::abort(); }
[[maybe_unused]] void close_window(void*) { std::abort(); }
[[maybe_unused]] void destroy_window(void*) { std::abort(); }

#ifdef SCENARIO_SHORT_TABLE
struct Table {
  uint32_t version;
  uint32_t size;
  void* (*open)(const char*);
};
constexpr Table kTable = {scenario::kWindowModuleVersion, sizeof(Table), open_window};
#else
struct Table {
  void* (*open)(const char*);
  void (*show_waiting_window)(void*);
  int (*show_message)(void*, const char*, std::size_t);
  void (*close)(void*);
  void (*destroy)(void*);
};
constexpr Table kTable = {open_window, show_waiting_window, show_message, close_window,
                          destroy_window};
#endif

}  // namespace

extern "C" __attribute__((visibility("default"))) const void* scenario_window_calls() {
  return &kTable;
}
