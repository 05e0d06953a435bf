// The replace-file rule: a file is never appended to or partly overwritten.
// The new content goes to a temporary file in the same folder, which then takes
// the file's name in one rename, so the name always holds either the previous
// complete file or exactly what this build wrote. A file that replaces another
// keeps that file's permissions. Files that belong together are staged as a
// set and renamed one after the other only once all of them are written.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace scenario {

// Receives a file's content a block at a time, in order.
using BlockSink = std::function<void(std::string_view block)>;
// Writes a file's content by handing its blocks to a BlockSink.
using ContentWriter = std::function<void(const BlockSink& put)>;

// Receives a block of a file's content and the offset it goes to.
using PlacedBlockSink = std::function<void(uint64_t offset, std::string_view block)>;
// A file of a size known before it is written, whose blocks come in any order,
// each with its offset; together they cover every byte exactly once. A file
// made of parts that are computed together (the track plan's x and y columns)
// is written this way without holding either part whole.
struct PlacedContent {
  uint64_t size = 0;
  std::function<void(const PlacedBlockSink& put)> write;
};

// Throws RunTimeFailure naming the file and the system's reason; on failure the
// temporary file is removed and an earlier file of that name is left as it was.
void replace_file(const std::filesystem::path& path, std::string_view bytes);

// The same for content that is written a block at a time, so that a large file
// never has to be held whole in memory. An exception thrown by `content`
// leaves no file behind, as a failed write does.
void replace_file(const std::filesystem::path& path, const ContentWriter& content);

class StagedFile;
class StagingFolder;

// Files of one folder replaced as a set: each is first written whole under a
// temporary name; `commit` then renames them in the order they were staged
// (replace_file.cc, the same on every system). Names are UTF-8.
// Until `commit`, nothing the set replaces changes; temporaries that never
// take their names are removed when the set ends.
class FileSet {
 public:
  explicit FileSet(std::filesystem::path folder);
  ~FileSet();
  FileSet(const FileSet&) = delete;
  FileSet& operator=(const FileSet&) = delete;

  // Writes the content for the file `name` of the folder to a temporary file.
  // Throws RunTimeFailure naming the file.
  void stage(const std::string& name, const ContentWriter& content);
  // The same for content whose blocks come with their offsets. Blocks that
  // fall outside the size or do not add up to it fail as a write does.
  void stage(const std::string& name, const PlacedContent& content);

  // Gives every staged file its name and then, where the set replaced a file
  // (whose new content went to the disk first), flushes the folder itself, so
  // that the new names survive a crash. Every name is checked first: one the
  // system would refuse (a folder stands there, the name is too long; on
  // Windows a read-only file, or one another program holds open) fails before
  // any rename, and nothing changes. A set of several files places its
  // journal (file_set_journal.h) before the first rename and removes it after
  // the last, so that a run killed in between is finished by the next
  // (file_set_recovery.h); the journal reaches the disk first where the set
  // replaces a file. A failure says which files were replaced; after the
  // first rename the journal and the files not yet renamed stay, for the next
  // run to finish the set. Throws RunTimeFailure.
  void commit();

  // For tests: `observer` is called once the journal is placed, with 0, and
  // after each rename with the number of files renamed so far; what the
  // folder then holds is what a run killed at that moment leaves.
  void observe_steps(std::function<void(std::size_t renamed)> observer) {
    step_observer_ = std::move(observer);
  }

 private:
  // Creates the temporary file for `name`, shown as `shown` in messages, has
  // `write` fill it and adds it to the set.
  void stage_with(const std::string& name, const std::string& shown,
                  const std::function<void(StagedFile&)>& write);
  // Renames the staged files; the folder is flushed only when `flush_folder`.
  void rename_all(bool flush_folder);
  // Writes the journal that names the staged files; on the disk when `durable`.
  void place_journal(bool durable);
  [[noreturn]] void fail_renaming(const StagedFile& file, unsigned long error,
                                  const std::vector<std::string>& replaced);
  void observe(std::size_t renamed);
  friend void replace_file(const std::filesystem::path& path, const ContentWriter& content);

  std::unique_ptr<StagingFolder> folder_;
  std::vector<std::unique_ptr<StagedFile>> staged_;
  std::function<void(std::size_t renamed)> step_observer_;
};

// Deletes a file; throws RunTimeFailure when it exists and cannot be deleted.
void delete_file(const std::filesystem::path& path);

// Whether `path` names a regular file (following symbolic links).
bool file_exists(const std::filesystem::path& path);

}  // namespace scenario
