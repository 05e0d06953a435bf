// The replace-file rule: a file is never appended to or partly overwritten.
// The new content goes to a temporary file in the same folder, which then takes
// the file's name in one rename, so the name always holds either the previous
// complete file or exactly what this build wrote.
#pragma once

#include <filesystem>
#include <functional>
#include <string_view>

namespace scenario {

// Throws RunTimeFailure naming the file and the system's reason; on failure the
// temporary file is removed and an earlier file of that name is left as it was.
void replace_file(const std::filesystem::path& path, std::string_view bytes);

// Receives a file's content a block at a time, in order.
using BlockSink = std::function<void(std::string_view block)>;
// Writes a file's content by handing its blocks to a BlockSink.
using ContentWriter = std::function<void(const BlockSink& put)>;

// The same for content that is written a block at a time, so that a large file
// never has to be held whole in memory. An exception thrown by `content`
// leaves no file behind, as a failed write does.
void replace_file(const std::filesystem::path& path, const ContentWriter& content);

// Deletes a file; throws RunTimeFailure when it exists and cannot be deleted.
void delete_file(const std::filesystem::path& path);

bool file_exists(const std::filesystem::path& path);

}  // namespace scenario
