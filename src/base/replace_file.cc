// The replace-file rule, one algorithm on every system over the calls of
// file_calls.h: each file is written whole under a temporary name beside
// its target; those that replace a file reach the disk; then every name is
// checked, a set's journal is placed, the files are renamed in order, the
// folder is flushed and the journal removed.
#include "base/replace_file.h"

#include <optional>
#include <utility>

#include "base/file_calls.h"
#include "base/file_naming.h"
#include "base/file_set_journal.h"
#include "base/placed_block_check.h"
#include "base/replaced_so_far.h"
#include "base/run_time_failure.h"
#include "base/temporary_files.h"

namespace scenario {
namespace {

constexpr int kNameAttempts = 100;

[[noreturn]] void fail(const char* action, const std::string& path, const std::string& reason,
                       const std::string& after = "") {
  throw RunTimeFailure(std::string("cannot ") + action + " '" + path + "': " + reason + after);
}

[[noreturn]] void fail(const char* action, const std::string& path, SystemError error) {
  fail(action, path, system_error_text(error));
}

}  // namespace

// One file's new content under a temporary name in the folder; removed when
// destroyed unless it has taken its name.
class StagedFile {
 public:
  // The name is registered before the file exists, so that a signal that
  // comes as it is created still removes it.
  StagedFile(StagingFolder& folder, std::string name, std::string shown)
      : folder_(folder), name_(std::move(name)), shown_(std::move(shown)) {
    for (int attempt = 0;; ++attempt) {
      temporary_ = next_temporary_name();
      registered_ = std::make_unique<RegisteredTemporary>(folder_.descriptor(), temporary_);
      const SystemError error = folder_.create_new(temporary_, file_);
      if (error == 0) break;
      registered_.reset();
      if (error != kNameTaken || attempt == kNameAttempts) fail("create", shown_, error);
    }
    // Known before the content comes, so that its writeback can start early.
    replaces_ = folder_.regular_file_mode(name_).has_value();
  }
  ~StagedFile() {
    if (file_ != kNoFile) close_file(file_);
    if (!renamed_ && !kept_) folder_.remove(temporary_);
  }
  StagedFile(const StagedFile&) = delete;
  StagedFile& operator=(const StagedFile&) = delete;

  void write(const ContentWriter& content) {
    uint64_t offset = 0;
    content([&](std::string_view block) {
      write_block(offset, block);
      offset += block.size();
    });
  }

  void write(const PlacedContent& content) {
    PlacedBlockCheck check(content.size, shown_);
    content.write([&](uint64_t offset, std::string_view block) {
      check.take(offset, block.size());
      write_block(offset, block);
    });
    check.finish();
  }

  // Where a file already stands, the new one takes its permissions, and its
  // content reaches the disk before the rename (flush), so that a crash never
  // leaves an empty or partial file where a complete one stood. A new name has
  // nothing to lose, and a build into a fresh folder does not wait for the disk.
  void finish() {
    const std::optional<FileMode> mode = folder_.regular_file_mode(name_);
    replaces_ = mode.has_value() || durable_;
    if (!replaces_) {
      close();
      return;
    }
    if (!mode) return;
    if (const SystemError error = set_mode(file_, *mode)) fail("write", shown_, error);
  }

  // Has the content reach the disk before the rename even where it replaces
  // nothing (the journal of a set that does).
  void make_durable() { durable_ = true; }

  // Flushes the content of a file that replaces another, once every file of
  // the set is written: the files then reach the disk together.
  void flush() {
    if (!replaces_ || file_ == kNoFile) return;
    if (const SystemError error = flush_file(file_)) fail("write", shown_, error);
    close();
  }

  // "", or why the name cannot be given to a file.
  std::string refusal() const {
    const SystemError error = folder_.refusal(name_);
    if (error == 0) return "";
    return error == kIsFolder ? "Is a directory" : system_error_text(error);
  }

  // 0, or the reason of the failure.
  SystemError rename() {
    if (const SystemError error = folder_.rename_over(temporary_, name_)) return error;
    renamed_ = true;
    registered_->release();
    return 0;
  }

  // Once the journal names the file, a signal no longer removes it: the set
  // is then finished by whichever run comes next.
  void hand_to_journal() { registered_->release(); }
  // The file stays for the next run to rename, when the set failed halfway.
  void keep() { kept_ = true; }

  const std::string& temporary() const { return temporary_; }
  const std::string& name() const { return name_; }
  // The final name with its folder, for messages.
  const std::string& shown() const { return shown_; }
  // Whether the content reached the disk: the file replaces another.
  bool flushed() const { return replaces_; }

 private:
  // Content bound for the disk starts on its way as soon as it is written,
  // while the rest is computed; flush() then waits for less. Only a head start.
  void write_block(uint64_t offset, std::string_view block) {
    if (const SystemError error = write_at(file_, offset, block)) fail("write", shown_, error);
    if (replaces_ && !block.empty()) start_writeback(file_, offset, block.size());
  }

  void close() {
    const SystemError error = close_file(file_);
    file_ = kNoFile;
    if (error != 0) fail("write", shown_, error);
  }

  StagingFolder& folder_;
  std::string name_;
  std::string shown_;
  std::string temporary_;
  FileHandle file_ = kNoFile;
  bool renamed_ = false;
  bool kept_ = false;
  bool replaces_ = false;
  bool durable_ = false;
  std::unique_ptr<RegisteredTemporary> registered_;
};

FileSet::FileSet(std::filesystem::path folder)
    : folder_(std::make_unique<StagingFolder>(std::move(folder))) {}

// The staged files go first: they remove their temporaries through the folder.
FileSet::~FileSet() { staged_.clear(); }

void FileSet::stage(const std::string& name, const ContentWriter& content) {
  stage_with(name, utf8_path(file_in(folder_->path(), name)),
             [&](StagedFile& file) { file.write(content); });
}

void FileSet::stage(const std::string& name, const PlacedContent& content) {
  stage_with(name, utf8_path(file_in(folder_->path(), name)),
             [&](StagedFile& file) { file.write(content); });
}

void FileSet::stage_with(const std::string& name, const std::string& shown,
                         const std::function<void(StagedFile&)>& write) {
  if (const SystemError error = folder_->open()) fail("create", shown, error);
  auto file = std::make_unique<StagedFile>(*folder_, name, shown);
  write(*file);
  file->finish();
  staged_.push_back(std::move(file));
}

void FileSet::commit() { rename_all(true); }

void FileSet::rename_all(bool flush_folder) {
  const std::size_t total = staged_.size();
  for (const auto& file : staged_) {
    const std::string refused = file->refusal();
    if (!refused.empty()) fail("replace", file->shown(), refused, replaced_so_far({}, total));
  }
  bool contents_flushed = false;
  for (const auto& file : staged_) {
    file->flush();
    contents_flushed = contents_flushed || file->flushed();
  }
  // A set's names reach the disk where the contents they name already have: a
  // set that replaced a file. Names of files whose content never went to the
  // disk would only risk naming empty files after a crash.
  const bool durable = flush_folder && contents_flushed;
  if (total > 1) place_journal(durable);
  observe(0);
  std::vector<std::string> replaced;
  for (const auto& file : staged_) {
    if (const SystemError error = file->rename()) fail_renaming(*file, error, replaced);
    replaced.push_back(file->shown());
    observe(replaced.size());
  }
  staged_.clear();
  const SystemError flushed = durable ? folder_->flush() : 0;
  if (total > 1) folder_->remove(std::string(kJournalName));
  if (flushed != 0) {
    const std::filesystem::path& folder = folder_->path();
    fail("flush the folder", folder.empty() ? "." : utf8_path(folder), system_error_text(flushed),
         "; the files were replaced");
  }
}

void FileSet::place_journal(bool durable) {
  std::vector<JournalEntry> entries;
  for (const auto& file : staged_) {
    file->hand_to_journal();
    entries.push_back({file->temporary(), file->name()});
  }
  const std::string name(kJournalName);
  StagedFile journal(*folder_, name, utf8_path(file_in(folder_->path(), name)));
  if (durable) journal.make_durable();
  const std::string text = journal_text(entries);
  journal.write([&text](const BlockSink& put) { put(text); });
  journal.finish();
  journal.flush();
  const std::string refused = journal.refusal();
  if (!refused.empty()) fail("write", journal.shown(), refused);
  if (const SystemError error = journal.rename()) fail("write", journal.shown(), error);
  if (!durable) return;
  if (const SystemError error = folder_->flush()) fail("write", journal.shown(), error);
}

// Before the first rename the old set is whole: the journal goes, and the
// staged files with the set. After it, the staged files stay with the
// journal, for the next run to finish the set.
void FileSet::fail_renaming(const StagedFile& file, SystemError error,
                            const std::vector<std::string>& replaced) {
  const std::size_t total = staged_.size();
  std::string after = replaced_so_far(replaced, total);
  if (total > 1 && replaced.empty()) folder_->remove(std::string(kJournalName));
  if (!replaced.empty()) {
    for (const auto& staged : staged_) staged->keep();
    after += "; the next run in this folder finishes the set";
  }
  fail("replace", file.shown(), system_error_text(error), after);
}

void FileSet::observe(std::size_t renamed) {
  if (step_observer_) step_observer_(renamed);
}

void replace_file(const std::filesystem::path& path, std::string_view bytes) {
  replace_file(path, [bytes](const BlockSink& put) { put(bytes); });
}

// A file of its own: its messages name it by the path as given.
void replace_file(const std::filesystem::path& path, const ContentWriter& content) {
  FileSet set(path.parent_path());
  set.stage_with(utf8_path(path.filename()), utf8_path(path),
                 [&](StagedFile& file) { file.write(content); });
  set.rename_all(false);
}

void delete_file(const std::filesystem::path& path) {
  if (const SystemError error = delete_path(path)) fail("delete", utf8_path(path), error);
}

bool file_exists(const std::filesystem::path& path) { return regular_file_at(path); }

}  // namespace scenario
