// Where the field reader gets its bytes: a file read in large blocks, or text
// already in memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace scenario {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Copies up to `capacity` bytes into `buffer`; returns 0 at the end of the input.
  virtual size_t read(char* buffer, size_t capacity) = 0;
};

class MemoryByteSource : public ByteSource {
 public:
  explicit MemoryByteSource(std::string_view text) : text_(text) {}
  size_t read(char* buffer, size_t capacity) override;

 private:
  std::string_view text_;
};

// Throws RunTimeFailure naming the file and the system's reason when the file
// cannot be opened or read.
class FileByteSource : public ByteSource {
 public:
  explicit FileByteSource(const std::filesystem::path& path);
  ~FileByteSource() override;
  FileByteSource(const FileByteSource&) = delete;
  FileByteSource& operator=(const FileByteSource&) = delete;
  size_t read(char* buffer, size_t capacity) override;

 private:
  std::filesystem::path path_;
  // The system's handle of the open file: a descriptor, or a Windows HANDLE;
  // -1 (INVALID_HANDLE_VALUE on Windows) when none.
  std::intptr_t handle_ = -1;
};

}  // namespace scenario
