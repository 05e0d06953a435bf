#include "test_support_posix.h"

#include <grp.h>
#include <unistd.h>

namespace scenario::testing {

bool become_nobody() {
  return ::setgroups(0, nullptr) == 0 && ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0;
}

}  // namespace scenario::testing
