// Where the field reader gets its bytes: a file read in large blocks, or text
// already in memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace scenario {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Copies up to `capacity` bytes into `buffer`; returns 0 at the end of the input.
  virtual size_t read(char* buffer, size_t capacity) = 0;
  // How many bytes the source is expected to hold, so that a reader of all of
  // it can make room once; 0 when not known.
  virtual std::uintmax_t expected_size() const { return 0; }
};

class MemoryByteSource : public ByteSource {
 public:
  explicit MemoryByteSource(std::string_view text) : text_(text) {}
  size_t read(char* buffer, size_t capacity) override;
  std::uintmax_t expected_size() const override { return text_.size(); }

 private:
  std::string_view text_;
};

// A regular file, opened once (byte_source_posix.cc, byte_source_win32.cc).
// Throws RunTimeFailure naming the file and the system's reason when it cannot
// be opened or read, or what it is when it is not a regular file: a folder, a
// FIFO or a device never blocks or hands over endless bytes.
class FileByteSource : public ByteSource {
 public:
  explicit FileByteSource(const std::filesystem::path& path);
  // The same, but null when no file has that name.
  static std::unique_ptr<FileByteSource> open_if_present(const std::filesystem::path& path);
  ~FileByteSource() override;
  FileByteSource(const FileByteSource&) = delete;
  FileByteSource& operator=(const FileByteSource&) = delete;
  size_t read(char* buffer, size_t capacity) override;
  // The file's size when it was opened.
  std::uintmax_t size() const { return size_; }
  std::uintmax_t expected_size() const override { return size_; }

 private:
  // With `missing_allowed`, a name that does not exist leaves the source
  // unopened instead of throwing.
  FileByteSource(const std::filesystem::path& path, bool missing_allowed);
  bool is_open() const;

  std::filesystem::path path_;
  std::uintmax_t size_ = 0;
  // The system's handle of the open file: a descriptor, or a Windows HANDLE;
  // -1 (INVALID_HANDLE_VALUE on Windows) when none.
  std::intptr_t handle_ = -1;
};

// A regular file's bytes, at most one byte more than `largest`: enough for a
// decoder to refuse a file that is too large without reading all of it.
// Throws RunTimeFailure as FileByteSource does.
std::string read_file_up_to(const std::filesystem::path& path, std::size_t largest);

}  // namespace scenario
