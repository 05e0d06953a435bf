// How a command of scenarioc makes ready the folder it writes compiled files
// into, or reads or writes a single file in, as every program does: a
// LockedFolder or make_set_whole (base/locked_folder.h) whose lines go to
// stderr as "scenarioc: ...":
//   const LockedFolder lock(folder, told_on(err));
//   make_set_whole(folder, told_on(err));
#pragma once

#include <ostream>

#include "base/locked_folder.h"

namespace scenario {

TellUser told_on(std::ostream& err);

}  // namespace scenario
