// The report page as `scenarioc watch` keeps it: the page `report` draws with
// a small script added that reloads it once watch has written a newer one.
// A page opened from the disk (file://) may not fetch files, but it may load
// a script: every second it loads PAGE.generation.js, which watch rewrites
// after each page, and which names the page's generation; a page of another
// generation reloads.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace scenario {

// The name of the file beside `page` that names its generation.
std::filesystem::path generation_file_of(const std::filesystem::path& page);

// `page` (the bytes `report` writes) with the reload script added before its
// end; `generation` is that of this page.
std::string page_that_reloads(const std::string& page, const std::filesystem::path& page_path,
                              int64_t generation);

// The generation file's content.
std::string generation_script(int64_t generation);

// Writes the page, then its generation file, each under the replace-file
// rule; a generation new to this run (from the clock). Throws RunTimeFailure.
void write_watched_report(const std::filesystem::path& page_path, const std::string& page);

}  // namespace scenario
