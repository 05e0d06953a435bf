#include "scenarioc/lsp/disk_source.h"

#include <memory>
#include <system_error>

#include "base/run_time_failure.h"
#include "scenarioc/scenario_inputs.h"
#include "source/byte_source.h"

namespace scenario::lsp {
namespace {

namespace fs = std::filesystem;

std::string too_large(const fs::path& path) {
  return "cannot read '" + utf8_of_path(path) + "': it is larger than " +
         std::to_string(kLargestSource >> 20) + " MiB, the largest source the server reads";
}

}  // namespace

std::optional<FileStamp> stamp_of(const fs::path& path) {
  std::error_code ec;
  if (path.empty() || !fs::is_regular_file(path, ec)) return std::nullopt;
  FileStamp stamp;
  stamp.size = fs::file_size(path, ec);
  if (ec) return std::nullopt;
  stamp.written = fs::last_write_time(path, ec);
  if (ec) return std::nullopt;
  return stamp;
}

DiskSource read_disk_source(const fs::path& path) {
  DiskSource source;
  if (path.empty()) return source;
  source.stamp = stamp_of(path);
  try {
    const std::unique_ptr<FileByteSource> file = FileByteSource::open_if_present(path);
    if (!file) return source;
    source.present = true;
    if (file->size() > kLargestSource) {
      source.failure = too_large(path);
      return source;
    }
    source.bytes.resize(static_cast<size_t>(file->size()));
    size_t length = 0;
    // One byte beyond the limit is enough to tell a file that grew past it.
    while (true) {
      if (length == source.bytes.size()) {
        if (length > kLargestSource) break;
        source.bytes.resize(std::min<size_t>(length * 2 + 4096, kLargestSource + 1));
      }
      const size_t n = file->read(source.bytes.data() + length, source.bytes.size() - length);
      if (n == 0) break;
      length += n;
    }
    source.bytes.resize(length);
    if (length > kLargestSource) {
      source.bytes.clear();
      source.failure = too_large(path);
    }
  } catch (const RunTimeFailure& failure) {
    source.present = true;
    source.bytes.clear();
    source.failure = failure.what();
  }
  return source;
}

}  // namespace scenario::lsp
