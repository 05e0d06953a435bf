// The documents the editor has open: their text as the editor holds it,
// unsaved edits included, kept in step with didOpen, didChange and didClose.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "scenarioc/lsp/editor_text.h"
#include "scenarioc/output/json_text.h"

namespace scenario::lsp {

struct Document {
  std::string uri;
  std::filesystem::path path;  // empty when the URI names no local file
  int64_t version = 0;
  uint64_t touched = 0;  // when last opened or changed: larger is later
  // The file as saved is UTF-8 (it holds non-ASCII bytes that are valid
  // UTF-8): its text keeps its UTF-8 bytes for the compiler.
  bool utf8_on_disk = false;
  EditorText text;
};

class DocumentStore {
 public:
  // The units of the positions the editor sends and receives, agreed on in
  // initialize before any document is opened.
  void set_encoding(PositionEncoding encoding) { encoding_ = encoding; }
  PositionEncoding encoding() const { return encoding_; }

  Document& open(const std::string& uri, std::string text, int64_t version);
  void close(const std::string& uri);
  Document* find(const std::string& uri);
  const Document* find(const std::string& uri) const;
  const Document* find_path(const std::filesystem::path& path) const;
  // The file names (UTF-8) of the open documents in `folder`.
  std::vector<std::string> names_in(const std::filesystem::path& folder) const;

  // Applies the content changes of a didChange in order: a whole text, or a
  // range and the text that replaces it. False when the document is not open
  // or a change is not of either form (the document is then left as it was).
  bool change(const std::string& uri, const Json& changes, int64_t version);

 private:
  std::map<std::string, Document> documents_;
  uint64_t clock_ = 0;
  PositionEncoding encoding_ = PositionEncoding::utf16;
};

// The local path of a file: URI, percent-escapes decoded; none for another scheme.
std::optional<std::filesystem::path> path_of_uri(std::string_view uri);
// The file: URI of a path, as editors write it.
std::string uri_of_path(const std::filesystem::path& path);

// The largest line or character the protocol has (its uinteger).
constexpr int64_t kLargestCoordinate = 2147483647;

// A range or a position of the protocol as JSON, and back. A position is two
// integers from 0 to kLargestCoordinate; none when it is not.
Json position_json(const Position& position);
Json range_json(const Range& range);
std::optional<Position> position_from_json(const Json& json);

}  // namespace scenario::lsp
