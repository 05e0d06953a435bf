#include "compiler/compiled_file_sink.h"

#include "base/placed_block_check.h"

namespace scenario {
namespace {

// Gathered in a string of the file's size, each block copied to its place.
std::string gathered(const std::string& name, const PlacedContent& content) {
  std::string bytes(content.size, '\0');
  PlacedBlockCheck check(content.size, name);
  content.write([&](uint64_t offset, std::string_view block) {
    check.take(offset, block.size());
    block.copy(bytes.data() + offset, block.size());
  });
  check.finish();
  return bytes;
}

}  // namespace

void CompiledFileSink::write_file(const std::string& name, const PlacedContent& content) {
  write_file(name, std::string_view(gathered(name, content)));
}

void MemorySink::write_file(const std::string& name, const PlacedContent& content) {
  files[name] = gathered(name, content);
}

void FolderSink::write_file(const std::string& name, const ContentWriter& content) {
  files_.stage(name, content);
}

void FolderSink::write_file(const std::string& name, const PlacedContent& content) {
  files_.stage(name, content);
}

void FolderSink::commit() { files_.commit(); }

}  // namespace scenario
