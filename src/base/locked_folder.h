// A folder made ready for a run that writes into it or reads a set of its
// files: its lock taken for as long as the object lives (folder_lock.h), a set
// that a killed run left half replaced finished or discarded
// (file_set_recovery.h), and the temporary files of ended processes removed
// (temporary_files.h). Every such run starts with one, before anything else,
// so that it finds one whole set and two runs never mix theirs.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "base/folder_lock.h"

namespace scenario {

// A line for the user, without the program's name.
using TellUser = std::function<void(const std::string& line)>;

// For a run that reads or writes a single file in `folder`: when a killed run
// left a set there half replaced, takes the lock for as long as it takes to
// make the set whole; otherwise touches nothing, so that a folder that may
// only be searched is read as before and a running build is not waited for.
// Throws RunTimeFailure as LockedFolder does.
void make_set_whole(const std::filesystem::path& folder, const TellUser& tell);

class LockedFolder {
 public:
  // `tell` receives "waiting for another build in FOLDER" before a wait for
  // another run, and the line of a set finished or discarded. Throws
  // RunTimeFailure naming the folder or file that fails.
  LockedFolder(const std::filesystem::path& folder, const TellUser& tell);

 private:
  FolderLock lock_;
};

}  // namespace scenario
