// Loaded into velmora_dorsel or scenarioc with LD_PRELOAD by
// killed_runs_test.cc: the process ends by SIGKILL right after its Nth rename
// (N from SCENARIO_KILL_AFTER_RENAME), as `kill -9` or a power cut would end
// it between two renames of a set of files.
#include <dlfcn.h>

#include <csignal>
#include <cstdlib>

extern "C" int renameat(int from_folder, const char* from, int to_folder, const char* to) {
  using Call = int (*)(int, const char*, int, const char*);
  static const Call real = reinterpret_cast<Call>(::dlsym(RTLD_NEXT, "renameat"));
  static int left = [] {
    const char* count = std::getenv("SCENARIO_KILL_AFTER_RENAME");
    return count != nullptr ? std::atoi(count) : 0;
  }();
  const int result = real(from_folder, from, to_folder, to);
  if (left > 0 && --left == 0) std::raise(SIGKILL);
  return result;
}
