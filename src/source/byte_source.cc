// Bytes from text in memory; a file's bytes come from the platform's calls
// (byte_source_posix.cc, byte_source_win32.cc).
#include "source/byte_source.h"

#include <algorithm>
#include <cstring>

namespace scenario {

FileByteSource::FileByteSource(const std::filesystem::path& path) : FileByteSource(path, false) {}

std::unique_ptr<FileByteSource> FileByteSource::open_if_present(const std::filesystem::path& path) {
  std::unique_ptr<FileByteSource> source(new FileByteSource(path, true));
  if (!source->is_open()) return nullptr;
  return source;
}

size_t MemoryByteSource::read(char* buffer, size_t capacity) {
  const size_t n = std::min(capacity, text_.size());
  std::memcpy(buffer, text_.data(), n);
  text_.remove_prefix(n);
  return n;
}

std::string read_file_up_to(const std::filesystem::path& path, std::size_t largest) {
  FileByteSource source(path);
  std::string bytes;
  char buffer[1 << 16];
  while (bytes.size() <= largest) {
    const size_t n = source.read(buffer, std::min(sizeof buffer, largest + 1 - bytes.size()));
    if (n == 0) break;
    bytes.append(buffer, n);
  }
  return bytes;
}

}  // namespace scenario
