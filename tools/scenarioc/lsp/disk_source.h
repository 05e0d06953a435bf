// A source file read from the disk for the language server, as compile opens
// one: regular files only, through FileByteSource (a FIFO or a device is
// refused, never waited on), and never more than kLargestSource bytes; with
// the stamp that tells whether the file has changed since it was read.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace scenario::lsp {

// Far more than the longest route needs; a larger file is refused with a diagnostic.
constexpr std::uintmax_t kLargestSource = std::uintmax_t{16} << 20;

// The time of a file's last write and its size: the same stamp, the same bytes.
struct FileStamp {
  std::filesystem::file_time_type written;
  std::uintmax_t size = 0;
  bool operator==(const FileStamp&) const = default;
};

struct DiskSource {
  bool present = false;  // a file of that name is there
  std::optional<FileStamp> stamp;
  std::string bytes;
  std::string failure;  // why it was not read; empty when it was, or is not there
};

// The stamp of the regular file at `path`; none when there is none.
std::optional<FileStamp> stamp_of(const std::filesystem::path& path);

// The file's bytes, or why they were not read. Its stamp is taken before the
// read, so that a write during it leaves a stamp that differs afterwards.
DiskSource read_disk_source(const std::filesystem::path& path);

}  // namespace scenario::lsp
