// Helpers for the tests that need a POSIX system: a user without privileges,
// the id of a process that has ended.
#pragma once

#include <sys/types.h>

namespace scenario::testing {

// The unprivileged user a test running as root becomes, in a child process,
// where folder permissions must bind.
inline constexpr uid_t kNobody = 65534;
// Leaves every group and becomes `kNobody`; false when that fails. Only
// async-signal-safe calls, so a child may call it between fork and exec.
bool become_nobody();

// The id of a child process that has ended and been collected: an owner no
// temporary file may still belong to.
pid_t ended_process();

}  // namespace scenario::testing
