// The journal of a set of files being replaced: placed in the folder before
// the first rename, it names each staged temporary file and the name it takes,
// in the order of the renames, so that the next run can finish a replacement
// that a killed run left half done (file_set_recovery.h). It is written under
// a temporary name and renamed into place, so it is whole or absent.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace scenario {

// The journal's name in its folder; at most one set of a folder is replaced
// at a time, under the folder's lock.
inline constexpr std::string_view kJournalName = ".~file-set.journal";

// The largest journal read back: a few lines per file of a set.
inline constexpr std::size_t kLargestJournal = 64 * 1024;

struct JournalEntry {
  std::string temporary;  // of the form next_temporary_name() gives
  std::string name;       // the final name, UTF-8, in the same folder
};

// "file set 1", a line per entry ("TEMPORARY NAME", the name with '%', control
// characters and DEL as %XX), and "end".
std::string journal_text(const std::vector<JournalEntry>& entries);

// The entries of a journal; none when `text` is not a whole journal, or names
// a temporary not of the temporary form, or a name that is not one plain name
// of the folder (a path separator, "." or "..", a temporary's or the
// journal's own) or is named twice.
std::optional<std::vector<JournalEntry>> read_journal(std::string_view text);

}  // namespace scenario
