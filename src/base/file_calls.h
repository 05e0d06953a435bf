// The system calls behind replace_file.h, one small call each: a folder, new
// files created in it under temporary names, written, flushed and renamed over
// the files they replace. replace_file.cc holds the one algorithm over them;
// file_calls_posix.cc and file_calls_win32.cc make them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace scenario {

// A system error code: errno on Linux, GetLastError() on Windows; 0 is none.
using SystemError = unsigned long;
// create_new's code for a name that is taken already.
extern const SystemError kNameTaken;
// refusal's code for a name at which a folder stands.
extern const SystemError kIsFolder;
// The system's words for `error`.
std::string system_error_text(SystemError error);

// A path as UTF-8 text, as names are held and messages show them.
std::string utf8_path(const std::filesystem::path& path);

// An open file: a descriptor on Linux, a HANDLE on Windows.
using FileHandle = std::intptr_t;
inline constexpr FileHandle kNoFile = -1;

// A file's permissions, which the file that replaces it takes over: its mode
// bits on Linux. On Windows, its attributes, of which nothing is taken over:
// there a file's permissions come from its folder.
using FileMode = uint32_t;

// The folder the files go to. Names are UTF-8 names of its entries.
class StagingFolder {
 public:
  explicit StagingFolder(std::filesystem::path path);
  ~StagingFolder();
  StagingFolder(const StagingFolder&) = delete;
  StagingFolder& operator=(const StagingFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // Opens the folder for the calls below, once: 0, or why it cannot be.
  SystemError open();
  // The open folder as RegisteredTemporary takes it (temporary_files.h): a
  // descriptor for the *at calls on Linux; unused on Windows.
  int descriptor() const { return descriptor_; }

  // Creates the file `name`, open for writing only; kNameTaken when that name
  // is taken already.
  SystemError create_new(const std::string& name, FileHandle& file) const;
  // The permissions of the regular file at `name`, following a symbolic link;
  // none when no regular file stands there.
  std::optional<FileMode> regular_file_mode(const std::string& name) const;
  // 0 when a file may take the name `name` by rename_over; else why the
  // system would refuse it: kIsFolder when a folder stands there; on Windows
  // also a read-only file, or one that another program holds open.
  SystemError refusal(const std::string& name) const;
  // Gives the file `from` the name `to` in one step, replacing the file that
  // had it.
  SystemError rename_over(const std::string& from, const std::string& to) const;
  // Deletes the file `name`; a failure is ignored.
  void remove(const std::string& name) const;
  // Whether a regular file stands at `name` itself, a symbolic link not followed.
  bool holds_file(const std::string& name) const;
  // Reads the regular file `name` whole into `bytes`; EFBIG (ERROR_FILE_TOO_LARGE
  // on Windows) when it holds more than `limit` bytes.
  SystemError read_small_file(const std::string& name, std::size_t limit, std::string& bytes) const;
  // Has the names given so far reach the disk. Linux flushes the folder,
  // unless it may only be searched; on Windows each rename did it already.
  SystemError flush() const;

 private:
  std::filesystem::path path_;
  int descriptor_ = -1;
};

// Writes all of `bytes` at `offset`.
SystemError write_at(FileHandle file, uint64_t offset, std::string_view bytes);
// Starts written bytes on their way to the disk without waiting for them, so
// that flush_file waits for less; a hint, on Linux only.
void start_writeback(FileHandle file, uint64_t offset, uint64_t size);
// Gives the file the permissions `mode`.
SystemError set_mode(FileHandle file, FileMode mode);
// Waits until the file's content is on the disk.
SystemError flush_file(FileHandle file);
SystemError close_file(FileHandle file);

// Whether a regular file stands at `path`, following a symbolic link.
bool regular_file_at(const std::filesystem::path& path);
// Deletes the file at `path`: 0, also when there is none, or why it cannot be.
SystemError delete_path(const std::filesystem::path& path);

}  // namespace scenario
