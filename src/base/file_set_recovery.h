// The next run's side of the journal (file_set_journal.h): a set of files
// whose replacement a killed run left unfinished is finished, or discarded
// when none of its renames took place, so that the folder holds one whole set.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace scenario {

// Finishes or discards the set that the journal in `folder` names, then
// removes the journal. After the first rename, the only whole set is the new
// one: the staged files still there take their names, in order. Before it
// (every staged file still there), the old set is whole: the staged files go.
// When no staged file is left, the set was complete: the journal goes alone.
// Returns the line that tells what was done, without the program's name; none
// when there was nothing to finish or discard. Call it holding the folder's
// lock (locked_folder.h). Throws RunTimeFailure naming the file that cannot be
// read or renamed; the journal then stays for a later run.
std::optional<std::string> recover_file_set(const std::filesystem::path& folder);

}  // namespace scenario
