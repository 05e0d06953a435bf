#include "compiler/source_files.h"

#include <utility>

#include "base/file_naming.h"
#include "base/replace_file.h"
#include "base/run_time_failure.h"

namespace scenario {

FolderSources::FolderSources(std::filesystem::path folder, const std::string& nome,
                             const std::string& treno)
    : line_(file_in(folder, line_source_name(nome))),
      train_(file_in(folder, train_source_name(nome, treno))) {}

std::filesystem::path FolderSources::path(SourceFile which) const {
  return which == SourceFile::line ? line_ : train_;
}

bool FolderSources::exists(SourceFile which) { return file_exists(path(which)); }

std::unique_ptr<ByteSource> FolderSources::open_if_present(SourceFile which) {
  return FileByteSource::open_if_present(path(which));
}

std::unique_ptr<ByteSource> FolderSources::open(SourceFile which) {
  return std::make_unique<FileByteSource>(path(which));
}

void FolderSources::remove(SourceFile which) { delete_file(path(which)); }

std::string FolderSources::display_name(SourceFile which) const {
  return path(which).filename().string();
}

AuthorSources::AuthorSources(std::filesystem::path line, std::filesystem::path train)
    : line_(std::move(line)), train_(std::move(train)) {}

void AuthorSources::open_both() {
  line_opened_ = {true, FileByteSource::open_if_present(line_)};
  train_opened_ = {true, std::make_unique<FileByteSource>(train_)};
}

bool AuthorSources::exists(SourceFile which) { return file_exists(path(which)); }

std::unique_ptr<ByteSource> AuthorSources::open_if_present(SourceFile which) {
  Opened& found = opened(which);
  if (!found.ready) return FileByteSource::open_if_present(path(which));
  found.ready = false;
  return std::move(found.source);
}

std::unique_ptr<ByteSource> AuthorSources::open(SourceFile which) {
  std::unique_ptr<ByteSource> source = open_if_present(which);
  // Opened again, a missing file throws with the system's reason.
  if (!source) source = std::make_unique<FileByteSource>(path(which));
  return source;
}

std::string AuthorSources::display_name(SourceFile which) const { return path(which).string(); }

MemorySources::MemorySources(std::string line, std::string train)
    : line_(std::move(line)), train_(std::move(train)) {}

bool MemorySources::exists(SourceFile which) {
  return which == SourceFile::line ? line_exists_ : train_exists_;
}

std::unique_ptr<ByteSource> MemorySources::open_if_present(SourceFile which) {
  if (!exists(which)) return nullptr;
  return open(which);
}

std::unique_ptr<ByteSource> MemorySources::open(SourceFile which) {
  if (!exists(which))
    throw RunTimeFailure("cannot open '" + display_name(which) + "': no such file");
  return std::make_unique<MemoryByteSource>(which == SourceFile::line ? line_ : train_);
}

void MemorySources::remove(SourceFile which) {
  (which == SourceFile::line ? line_exists_ : train_exists_) = false;
}

std::string MemorySources::display_name(SourceFile which) const {
  return which == SourceFile::line ? "line source" : "train source";
}

}  // namespace scenario
