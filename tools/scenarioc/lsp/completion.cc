#include "scenarioc/lsp/completion.h"

#include <string>

#include "compiler/parse/record_kinds.h"

namespace scenario::lsp {
namespace {

constexpr int kKeywordItem = 14;
constexpr int kSnippetFormat = 2;

// "segnale, ${1:posizione}, ${2:sx}, ...": a placeholder per value.
std::string snippet_of(std::string_view keyword, const RecordKind& kind) {
  std::string text(keyword);
  for (size_t i = 0; i < kind.values.size(); ++i) {
    std::string name(kind.values[i]);
    for (char& c : name) {
      if (c == '}' || c == '$' || c == '\\' || c == ',') c = ' ';
    }
    text += ", ${" + std::to_string(i + 1) + ":" + name + "}";
  }
  return text;
}

std::string values_text(const RecordKind& kind) {
  std::string text;
  for (std::string_view value : kind.values)
    text += (text.empty() ? "" : ", ") + std::string(value);
  return text;
}

}  // namespace

Json completion_items(bool train_file, std::string_view before) {
  Json items = Json::array();
  if (before.find(',') != std::string_view::npos) return items;
  for (const RecordKind& kind : record_kinds()) {
    if ((kind.part == RecordPart::train) != train_file) continue;
    for (std::string_view keyword : kind.spellings) {
      Json item = Json::object();
      item["label"] = std::string(keyword);
      item["kind"] = kKeywordItem;
      item["detail"] = std::string(kind.words) + " (" + std::string(part_name(kind.part)) + ")";
      item["documentation"] = "Values: " + values_text(kind);
      item["insertText"] = snippet_of(keyword, kind);
      item["insertTextFormat"] = kSnippetFormat;
      items.push_back(std::move(item));
    }
  }
  return items;
}

}  // namespace scenario::lsp
