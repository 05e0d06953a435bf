// The warnings about how fields fall into records: a keyword that names no
// record kind or more than one, a record short of values on its line or with
// fields left over, a number written in groups of digits, a section header
// read as a record, a record after "[fine]", and comment lines that are read
// as data.
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

// The section a record is written under: "[pendenze]" for a gradient.
std::string_view header_of(RecordId id) {
  switch (id) {
    case RecordId::gradient:
      return "[pendenze]";
    case RecordId::curve:
      return "[curve]";
    case RecordId::mountain:
      return "[montagne]";
    case RecordId::speed_board:
      return "[cartelli]";
    case RecordId::indication_board:
      return "[indicazioni]";
    case RecordId::speed:
      return "[vel_limite]";
    case RecordId::adhesion:
      return "[aderenze]";
    case RecordId::station:
      return "[stazioni]";
    case RecordId::slowdown:
      return "[rallentamenti]";
    case RecordId::signal:
      return "[segnali]";
    default:
      return "[generale]";
  }
}

// A number as written with `digits` digits, leading zeros included.
std::string digits_as_written(int64_t value, size_t digits) {
  std::string text = std::to_string(value < 0 ? -value : value);
  if (text.size() < digits) text.insert(0, digits - text.size(), '0');
  return (value < 0 ? "-" : "") + text;
}

bool is_digit_group(int64_t first, size_t first_digits, int64_t second, size_t second_digits) {
  return first >= 0 && first_digits >= 1 && first_digits <= 3 && second >= 0 && second_digits == 3;
}

}  // namespace

// A value read right after another on the same field, past a blank: "25 000"
// reads as 25 and 0. Only the clock is written with blanks between its values.
void ParseSession::note_digit_group(int64_t v) {
  if (kind_ == nullptr || kind_->id == RecordId::clock || last_was_text_ || digit_group_) return;
  if (!is_digit_group(last_number_, last_digits_, v, reader_->field_digits())) return;
  digit_group_ = DigitGroup{value_index_ - 1, last_number_, last_digits_, v};
}

void ParseSession::warn_digit_group(const RecordKind& kind, const DigitGroup& group,
                                    SourceLocation where, const std::string& taken_as) {
  const std::string first = digits_as_written(group.first, group.first_digits);
  const std::string second = digits_as_written(group.second, 3);
  const std::string subject =
      kind.values.size() == 1
          ? the(kind)
          : the(kind) + "'s " + std::string(kind.values[static_cast<size_t>(group.index)]);
  warn(WarningClass::digit_group, where,
       subject + " is written as \"" + first + "\" and \"" + second +
           "\" with a blank between: a number ends at the first blank, so it reads as " + first +
           ", and \"" + second + "\" " + taken_as + "; write " +
           std::to_string(group.first * 1000 + group.second) + ", without the blank");
}

void ParseSession::note_generale_near() {
  constexpr size_t kLongestCompared = 24;
  if (generale_near || riga.size() > kLongestCompared || has("[generale]")) return;
  if (!has("[") && !has("general")) return;
  const int kTolerance = 3;
  if (edit_distance(riga, "[generale]") <= kTolerance) generale_near = FieldSeen{riga, record_};
}

// A keyword field that is a section header and names a record kind: the
// header is read as a record.
void ParseSession::note_header(uint32_t kinds) {
  for (const RecordKind& kind : record_kinds()) {
    if ((kinds & kind_bit(kind.id)) == 0) continue;
    warn(WarningClass::misspelt_header, record_,
         quote_text(riga) + " is read as " + with_article(std::string(kind.words)) +
             " record, not as a section header, because it holds the keyword '" +
             std::string(kind.spellings[0]) +
             "', and takes its values from the lines below; a header holds no record's "
             "keyword: write \"" +
             std::string(header_of(kind.id)) + "\"");
    return;
  }
}

void ParseSession::check_keyword(uint32_t kinds, RecordPart part) {
  if (kinds == 0) {
    // "[fine]" ends a file; a record after it is read all the same.
    if (end_marker_.line == 0 && has("[fine]")) end_marker_ = record_;
  } else if (end_marker_.line > 0 && !after_end_told_) {
    after_end_told_ = true;
    warn(WarningClass::after_end, record_,
         "this " + std::string(record_kind(static_cast<RecordId>(std::countr_zero(kinds))).words) +
             " comes after \"[fine]\" on line " + std::to_string(end_marker_.line) +
             ", which marks the end of the file, and is read all the same, as is every record "
             "after it; move it above \"[fine]\", or delete it",
         {{end_marker_, "the end marker is here"}});
  }
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
  if (kinds != 0 && has("[") && has("]")) {
    note_header(kinds);
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
  const std::string number = digits_as_written(extra_after_number_, extra_after_digits_);
  if (!extra_after_text_ && extra_after_end_ == FieldEnd::blank && all_digits(riga) &&
      is_digit_group(extra_after_number_, extra_after_digits_, 0, riga.size())) {
    const DigitGroup group{static_cast<int>(kind.values.size()) - 1, extra_after_number_,
                           extra_after_digits_, std::stoll(riga)};
    warn_digit_group(kind, group, extra_after_where_, "is read as the next keyword field");
    return;
  }
  // A decimal comma joins two numbers with nothing between them.
  const bool joined =
      extra_after_end_ == FieldEnd::comma && record_.line == extra_after_where_.line &&
      record_.column == extra_after_where_.column + static_cast<int32_t>(number.size()) + 1;
  if (!extra_after_text_ && joined && all_digits(riga)) {
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
