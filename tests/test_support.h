// Helpers shared by the tests: a private temporary folder and whole-file I/O.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "base/build_identity.h"
#include "base/run_time_failure.h"

namespace scenario::testing {

// A fresh folder under the system's temporary folder, removed with its content.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

std::string read_file(const std::filesystem::path& path);
void write_file(const std::filesystem::path& path, const std::string& bytes);
// The names of the entries of a folder, sorted.
std::vector<std::string> list_folder(const std::filesystem::path& folder);
// Splits text at CR LF; a final CR LF ends the last line and starts none.
std::vector<std::string> split_crlf(const std::string& text);
std::string fixture_path(const std::string& name);

// The message of the RunTimeFailure that `action` throws, or "" when none.
template <typename Action>
std::string failure_message(Action action) {
  try {
    action();
  } catch (const RunTimeFailure& failure) {
    return failure.what();
  }
  return "";
}

// The built-in identifiers, Velmora_Dorsel and 904, with `folder` as the
// folder of the build's files.
BuildIdentity builtin_identity(const std::filesystem::path& folder = {});

}  // namespace scenario::testing
