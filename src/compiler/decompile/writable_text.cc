#include "compiler/decompile/writable_text.h"

#include "compiler/decompile/recovery.h"
#include "source/field_reader.h"

namespace scenario {
namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::string unwritable_text_reason(std::string_view text) {
  if (text.size() > FieldReader::kMaxFieldLength) {
    return "it is longer than the " + std::to_string(FieldReader::kMaxFieldLength) +
           " characters a field may hold";
  }
  for (char c : text) {
    if (c == ',') return "it holds a comma, which ends a field";
    if (c == '\r' || c == '\n') return "it holds a line end";
  }
  if (!text.empty() && (is_blank(text.front()) || is_blank(text.back()))) {
    return "it starts or ends with a blank, which the reader drops";
  }
  return "";
}

void require_writable_text(const Recovery& r, int entry, std::string_view text, const char* what) {
  const std::string why = unwritable_text_reason(text);
  if (!why.empty()) {
    r.fail_at_entry(entry, std::string("the ") + what + " cannot stand in a source: " + why);
  }
}

}  // namespace scenario
