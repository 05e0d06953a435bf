// The text that the golden files of scenarioc's runs hold: a transcript of one
// run, and the canonical text of a set of compiled files.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace scenario::testing {

// "$ scenarioc ARGS", then what the run printed on stdout and on stderr, each
// under its own marker when not empty, and its exit status.
std::string transcript(const std::filesystem::path& folder, const std::vector<std::string>& args);

// For each of `files` (paths relative to `folder`), in the order given: its
// SHA-256 as sha256sum prints it, or that it was not written; then the
// transcript of `scenarioc dump FILE` for each file written, with each run of
// identical entries of a station table folded into one line.
std::string compiled_files_text(const std::filesystem::path& folder,
                                const std::vector<std::string>& files);

}  // namespace scenario::testing
