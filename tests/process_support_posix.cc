#include "process_support.h"

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace scenario::testing {

bool become_nobody() {
  return ::setgroups(0, nullptr) == 0 && ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0;
}

pid_t ended_process() {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  int status = 0;
  ::waitpid(child, &status, 0);
  return child;
}

}  // namespace scenario::testing
