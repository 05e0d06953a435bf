// Recovery of an interrupted set: the journal read back and the staged files
// it names renamed in order, or removed, through the calls of file_calls.h.
#include "base/file_set_recovery.h"

#include <vector>

#include "base/file_calls.h"
#include "base/file_naming.h"
#include "base/file_set_journal.h"
#include "base/replaced_so_far.h"
#include "base/run_time_failure.h"

namespace scenario {
namespace {

std::string shown(const StagingFolder& folder, const std::string& name) {
  return utf8_path(file_in(folder.path(), name));
}

[[noreturn]] void fail(const char* action, const std::string& path, const std::string& reason) {
  throw RunTimeFailure(std::string("cannot ") + action + " '" + path + "': " + reason);
}

std::vector<JournalEntry> journal_of(const StagingFolder& folder) {
  const std::string path = shown(folder, std::string(kJournalName));
  std::string text;
  if (const SystemError error =
          folder.read_small_file(std::string(kJournalName), kLargestJournal, text)) {
    fail("read", path, system_error_text(error));
  }
  std::optional<std::vector<JournalEntry>> entries = read_journal(text);
  if (!entries) {
    fail("read", path,
         "not the journal of a set of files that this program writes; a run of another version "
         "may have left it");
  }
  return std::move(*entries);
}

// "'a', 'b' and 'c'" with their folder.
std::string names_of(const StagingFolder& folder, const std::vector<JournalEntry>& entries) {
  std::vector<std::string> paths;
  for (const JournalEntry& entry : entries) paths.push_back(shown(folder, entry.name));
  return listed_paths(paths);
}

}  // namespace

std::optional<std::string> recover_file_set(const std::filesystem::path& folder_path) {
  StagingFolder folder(folder_path);
  if (folder.open() != 0 || !folder.holds_file(std::string(kJournalName))) return std::nullopt;
  const std::vector<JournalEntry> entries = journal_of(folder);
  std::vector<bool> staged;
  std::size_t left = 0;
  for (const JournalEntry& entry : entries) {
    staged.push_back(folder.holds_file(entry.temporary));
    left += staged.back() ? 1 : 0;
  }
  std::optional<std::string> told;
  if (left == entries.size()) {
    for (const JournalEntry& entry : entries) folder.remove(entry.temporary);
    told = "discarded the unfinished replacement of " + names_of(folder, entries) +
           " (a run ended before its first rename); the earlier files stay as they were";
  } else if (left > 0) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
      if (!staged[i]) continue;
      if (const SystemError error = folder.rename_over(entries[i].temporary, entries[i].name)) {
        fail("finish replacing", shown(folder, entries[i].name), system_error_text(error));
      }
    }
    if (const SystemError error = folder.flush()) {
      fail("flush the folder", utf8_path(folder_path), system_error_text(error));
    }
    told = "finished the replacement of " + names_of(folder, entries) +
           " that a run ended halfway through";
  }
  folder.remove(std::string(kJournalName));
  return told;
}

}  // namespace scenario
