#include "scenarioc/lsp/document_store.h"

#include <utility>

#include "base/file_naming.h"
#include "base/text_encoding.h"
#include "scenarioc/lsp/disk_source.h"
#include "scenarioc/scenario_inputs.h"

namespace scenario::lsp {
namespace {

namespace fs = std::filesystem;

int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool has_non_ascii(std::string_view text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return true;
  }
  return false;
}

// How the editor will save the file: as UTF-8 when that is how it is saved
// now. A file the server does not read (no regular file, too large) is not.
bool saved_as_utf8(const fs::path& path) {
  const DiskSource saved = read_disk_source(path);
  return has_non_ascii(saved.bytes) && is_utf8(saved.bytes);
}

// One change of a didChange applied to `text`; false when it has neither form.
bool apply_change(std::string& text, const Json& change, PositionEncoding encoding) {
  if (!change.is_object()) return false;
  const auto replacement = change.find("text");
  if (replacement == change.end() || !replacement->is_string()) return false;
  const auto range = change.find("range");
  if (range == change.end()) {
    text = replacement->get<std::string>();
    return true;
  }
  if (!range->is_object()) return false;
  const std::optional<Position> start = position_from_json(range->value("start", Json()));
  const std::optional<Position> end = position_from_json(range->value("end", Json()));
  if (!start || !end) return false;
  const std::vector<size_t> starts = line_starts(text);
  const size_t from = offset_of(text, starts, *start, encoding);
  const size_t to = std::max(from, offset_of(text, starts, *end, encoding));
  text.replace(from, to - from, replacement->get_ref<const std::string&>());
  return true;
}

}  // namespace

Document& DocumentStore::open(const std::string& uri, std::string text, int64_t version) {
  Document& document = documents_[uri];
  document.uri = uri;
  document.path = path_of_uri(uri).value_or(fs::path());
  document.version = version;
  document.touched = ++clock_;
  document.utf8_on_disk = saved_as_utf8(document.path);
  document.text = EditorText(std::move(text), document.utf8_on_disk, encoding_);
  return document;
}

void DocumentStore::close(const std::string& uri) { documents_.erase(uri); }

Document* DocumentStore::find(const std::string& uri) {
  const auto found = documents_.find(uri);
  return found == documents_.end() ? nullptr : &found->second;
}

const Document* DocumentStore::find(const std::string& uri) const {
  const auto found = documents_.find(uri);
  return found == documents_.end() ? nullptr : &found->second;
}

const Document* DocumentStore::find_path(const fs::path& path) const {
  for (const auto& [uri, document] : documents_) {
    if (!document.path.empty() && document.path == path) return &document;
  }
  return nullptr;
}

std::vector<std::string> DocumentStore::names_in(const fs::path& folder) const {
  std::vector<std::string> names;
  for (const auto& [uri, document] : documents_) {
    if (!document.path.empty() && document.path.parent_path() == folder) {
      names.push_back(utf8_of_path(document.path.filename()));
    }
  }
  return names;
}

bool DocumentStore::change(const std::string& uri, const Json& changes, int64_t version) {
  Document* document = find(uri);
  if (document == nullptr || !changes.is_array()) return false;
  std::string text = document->text.utf8();
  for (const Json& change : changes) {
    if (!apply_change(text, change, encoding_)) return false;
  }
  document->text = EditorText(std::move(text), document->utf8_on_disk, encoding_);
  document->version = version;
  document->touched = ++clock_;
  return true;
}

std::optional<fs::path> path_of_uri(std::string_view uri) {
  constexpr std::string_view kScheme = "file://";
  if (uri.size() < kScheme.size() || uri.compare(0, kScheme.size(), kScheme) != 0) {
    return std::nullopt;
  }
  std::string_view rest = uri.substr(kScheme.size());
  const size_t slash = rest.find('/');
  if (slash == std::string_view::npos) return std::nullopt;
  const std::string_view host = rest.substr(0, slash);
  if (!host.empty() && host != "localhost") return std::nullopt;
  rest = rest.substr(slash);
  std::string path;
  for (size_t i = 0; i < rest.size(); ++i) {
    if (rest[i] == '%' && i + 2 < rest.size() && hex_value(rest[i + 1]) >= 0 &&
        hex_value(rest[i + 2]) >= 0) {
      path += static_cast<char>(hex_value(rest[i + 1]) * 16 + hex_value(rest[i + 2]));
      i += 2;
    } else {
      path += rest[i];
    }
  }
#ifdef _WIN32
  // "/c:/folder/file" names "c:/folder/file".
  if (path.size() >= 3 && path[0] == '/' && path[2] == ':') path.erase(0, 1);
#endif
  return path_from_utf8(path);
}

std::string uri_of_path(const fs::path& path) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::error_code ec;
  const std::u8string generic = fs::absolute(path, ec).generic_u8string();
  std::string text(generic.begin(), generic.end());
  if (text.empty() || text[0] != '/') text.insert(0, "/");
  std::string uri = "file://";
  for (const char c : text) {
    const auto b = static_cast<unsigned char>(c);
    const bool unreserved = (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') ||
                            (b >= '0' && b <= '9') || b == '-' || b == '.' || b == '_' ||
                            b == '~' || b == '/';
    if (unreserved) {
      uri += c;
    } else {
      uri += '%';
      uri += kHex[b >> 4];
      uri += kHex[b & 0xF];
    }
  }
  return uri;
}

Json position_json(const Position& position) {
  return {{"line", position.line}, {"character", position.character}};
}

Json range_json(const Range& range) {
  return {{"start", position_json(range.start)}, {"end", position_json(range.end)}};
}

namespace {

// A line or a character: checked before any arithmetic, so that none can overflow.
std::optional<int64_t> coordinate_of(const Json& json, const char* key) {
  const auto value = json.find(key);
  if (value == json.end()) return std::nullopt;
  if (value->is_number_unsigned()) {
    const uint64_t n = value->get<uint64_t>();
    if (n <= static_cast<uint64_t>(kLargestCoordinate)) return static_cast<int64_t>(n);
  } else if (value->is_number_integer()) {
    const int64_t n = value->get<int64_t>();
    if (n >= 0 && n <= kLargestCoordinate) return n;
  }
  return std::nullopt;
}

}  // namespace

std::optional<Position> position_from_json(const Json& json) {
  if (!json.is_object()) return std::nullopt;
  const std::optional<int64_t> line = coordinate_of(json, "line");
  const std::optional<int64_t> character = coordinate_of(json, "character");
  if (!line || !character) return std::nullopt;
  return Position{*line, *character};
}

}  // namespace scenario::lsp
