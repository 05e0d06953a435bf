// The start of every run in a folder: its lock, then the set a killed run
// left unfinished, then the temporary files of ended processes.
#include "base/locked_folder.h"

#include <optional>
#include <system_error>

#include "base/file_calls.h"
#include "base/file_naming.h"
#include "base/file_set_journal.h"
#include "base/file_set_recovery.h"
#include "base/temporary_files.h"

namespace scenario {
namespace {

std::string shown(const std::filesystem::path& folder) {
  return folder.empty() ? "." : utf8_path(folder);
}

}  // namespace

// The set is recovered before the temporaries of ended processes go: those
// the journal names are the set's new files.
LockedFolder::LockedFolder(const std::filesystem::path& folder, const TellUser& tell)
    : lock_(folder, [&] { tell("waiting for another build in " + shown(folder)); }) {
  if (const std::optional<std::string> recovered = recover_file_set(folder)) tell(*recovered);
  remove_stale_temporaries(folder);
}

void make_set_whole(const std::filesystem::path& folder, const TellUser& tell) {
  std::error_code error;
  const auto journal = std::filesystem::symlink_status(file_in(folder, kJournalName), error);
  if (error || !std::filesystem::is_regular_file(journal)) return;
  const LockedFolder lock(folder, tell);
}

}  // namespace scenario
