// Helpers for the tests that need a POSIX system: a user without privileges.
#pragma once

#include <sys/types.h>

namespace scenario::testing {

// The unprivileged user a test running as root becomes, in a child process,
// where folder permissions must bind.
inline constexpr uid_t kNobody = 65534;
// Leaves every group and becomes `kNobody`; false when that fails. Only
// async-signal-safe calls, so a child may call it between fork and exec.
bool become_nobody();

}  // namespace scenario::testing
