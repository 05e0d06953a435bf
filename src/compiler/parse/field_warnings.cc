// The warnings about how fields fall into records: a keyword that names no
// record kind or more than one, a record short of values on its line or with
// fields left over, and comment lines that are read as data.
#include <bit>
#include <string>

#include "compiler/diagnostics/diagnostics.h"
#include "compiler/parse/keyword_suggestion.h"
#include "compiler/parse/parse_session.h"

namespace scenario {
namespace {

std::string keyword_of(std::string_view spelling) { return "'" + std::string(spelling) + "'"; }

std::string separator_hint(const std::string& riga) {
  if (riga.find(';') != std::string::npos) {
    return "; its fields are separated by semicolons, but only commas separate fields";
  }
  if (riga.find('\t') != std::string::npos) {
    return "; its fields are separated by tabs, but only commas separate fields";
  }
  return "";
}

bool all_digits(const std::string& text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

// The kinds named by `kinds`, as "a gradient and a curve".
std::string kinds_in_words(uint32_t kinds) {
  std::string words;
  const int total = std::popcount(kinds);
  int seen = 0;
  for (const RecordKind& kind : record_kinds()) {
    if ((kinds & (1u << static_cast<unsigned>(kind.id))) == 0) continue;
    ++seen;
    if (seen > 1) words += seen == total ? " and " : ", ";
    words += with_article(std::string(kind.words));
  }
  return words;
}

// "did you mean 'segnale'?" and its kin; empty when no keyword is near.
std::string suggestion_for(const std::string& field, RecordPart part) {
  const Suggestion near = nearest_keyword(field);
  if (near.kind == nullptr) return "";
  const std::string keyword = keyword_of(near.spelling);
  if (near.kind->part != part) {
    const std::string where = std::string(part_name(near.kind->part));
    return near.distance == 0 ? "; " + keyword + " is a record of " + where
                              : "; did you mean " + keyword + ", a record of " + where + "?";
  }
  if (near.distance == 0) {
    return "; write it in lower case, " + keyword +
           ": 'progressiva', 'uno', 'due', 'tre', 'sfondo', 'ripetizione' and 'segnali' are "
           "matched with their letter case";
  }
  return "; did you mean " + keyword + "?";
}

}  // namespace

void ParseSession::check_keyword(uint32_t kinds, RecordPart part) {
  if (extra_after_ != nullptr) warn_extra_fields(kinds);
  if (has("-")) {
    // Only a comment line past the last one passed over gets here.
    if (kinds != 0) {
      warn(WarningClass::comment_as_data, record_,
           "only " + std::to_string(comment_run_) + " comment lines in a row are passed over " +
               (part == RecordPart::general ? "in the general part" : "here") +
               ", so this one is read as a keyword field, and it names " + kinds_in_words(kinds) +
               ": keep fewer comment lines together, or part them with an empty line");
    }
    return;
  }
  if (std::popcount(kinds) > 1) {
    warn(WarningClass::ambiguous_keyword, record_,
         quote_text(riga) + " names " + kinds_in_words(kinds) +
             ": each of them is read in turn and takes its own values, so this line is read "
             "as more records than it holds; write one keyword per line");
    return;
  }
  // Without a track plan to build, curves are passed over on purpose.
  const bool curve_unread = part == RecordPart::object && !scrivi_linea && has("curva");
  if (kinds == 0 && keyword_starts_line_ && keyword_end_ == FieldEnd::comma && !riga.empty() &&
      !curve_unread) {
    warn(WarningClass::unknown_keyword, record_,
         quote_text(riga) + " names no record kind, so the values after it on this line are " +
             "passed over" + suggestion_for(riga, part));
  }
}

void ParseSession::check_comment(uint32_t kinds) {
  if (extra_after_ != nullptr) {
    warn_extra_fields(kinds);
    return;
  }
  const bool comma = keyword_starts_line_ && keyword_end_ == FieldEnd::comma;
  // A dash inside a line that does not start with one: a record or a header the
  // author did not mean as a comment.
  const bool inner_dash = riga[0] != '-';
  const bool header = has("[") && has("]");
  const std::string separators = separator_hint(riga);
  std::string message;
  if (inner_dash && (kinds != 0 || header || !separators.empty())) {
    message = quote_text(riga) + " holds a dash, so it is passed over as a comment line";
    if (kinds != 0) message += "; it names " + kinds_in_words(kinds) + ", which is not read";
    if (header) message += "; a section header may not hold a dash";
    message += separators;
    if (comma) message += "; the fields after its comma are read as keyword fields";
    const Suggestion near = nearest_keyword(riga);
    if (near.kind != nullptr && near.distance > 0) {
      message += "; did you mean " + keyword_of(near.spelling) + "?";
    }
  } else if (comma) {
    message =
        "this comment line holds a comma, so the text after the comma is read as keyword "
        "fields; a comment line has a dash and no comma";
  } else {
    return;
  }
  warn(WarningClass::comment_as_data, record_, std::move(message));
}

void ParseSession::warn_missing_value() {
  const size_t count = kind_->values.size();
  const std::string held =
      missing_index_ == 0 ? std::string("none of them") : std::to_string(missing_index_);
  const SourceLocation& taken = value_where_[static_cast<size_t>(missing_index_)];
  warn(WarningClass::missing_value, record_,
       the(*kind_) + " takes " + std::to_string(count) + " values, but its line holds " + held +
           ": its " + ordinal(missing_index_ + 1) + " value, " +
           std::string(kind_->values[static_cast<size_t>(missing_index_)]) +
           ", was taken from line " + std::to_string(taken.line) + " (" + missing_found_ +
           "), and the fields after it are read out of place" + separator_hint(riga));
}

void ParseSession::warn_extra_fields(uint32_t kinds) {
  const RecordKind& kind = *extra_after_;
  extra_after_ = nullptr;
  if (riga.empty()) return;  // a comma at the end of the line changes nothing
  std::string message = the(kind) + " takes " + std::to_string(kind.values.size()) +
                        " values, but its line goes on after them: " + quote_text(riga) +
                        " is read as the next keyword field";
  if (kinds != 0 && !has("-")) message += ", which names " + kinds_in_words(kinds);
  if (!extra_after_text_ && all_digits(riga)) {
    const std::string number = std::to_string(extra_after_number_);
    message += "; a decimal comma? " + number + "," + riga + " reads as " + number +
               ", and the files hold whole numbers only";
  } else if (has("-")) {
    message += ", a comment; a comment stands on a line of its own";
  } else if (extra_after_text_) {
    message += "; a text value ends at the first comma and cannot hold one";
  } else if (riga.find(';') != std::string::npos) {
    message += "; only commas separate fields";
  }
  warn(WarningClass::extra_fields, record_, std::move(message));
}

}  // namespace scenario
