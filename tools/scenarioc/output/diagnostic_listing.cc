#include "scenarioc/output/diagnostic_listing.h"

#include <limits>
#include <string_view>
#include <tuple>

#include "base/text_encoding.h"
#include "compiler/diagnostics/diagnostics.h"

namespace scenario {
namespace {

// Where a diagnostic lies in the sources: the line file before the train file,
// a diagnostic that names no line after every one that does.
std::tuple<int, int32_t, int32_t> source_order(const SourceLocation& where) {
  constexpr int32_t kLast = std::numeric_limits<int32_t>::max();
  const int file = where.file == SourceFile::line ? 0 : where.file == SourceFile::train ? 1 : 2;
  if (where.line <= 0) return {file, kLast, kLast};
  return {file, where.line, where.column};
}

// "FILE:LINE:COL:", "FILE:" or nothing, as the compiler's diagnostics start.
std::string locus(const SourceLocation& where, const SourceFiles& sources) {
  if (where.file == SourceFile::none) return "";
  std::string text = sources.display_name(where.file) + ":";
  if (where.line > 0) {
    text += std::to_string(where.line) + ":" + std::to_string(where.column) + ":";
  }
  return text;
}

// Texts quoted from the sources are Windows-1252; file names are kept when
// they are UTF-8.
std::string printable(std::string_view text) { return printable_from_native(text); }

std::string with_space(const std::string& text) { return text.empty() ? text : text + " "; }

std::string_view label_of_warning(bool as_error) { return as_error ? "error:" : "warning:"; }

std::string option_of_warning(const Warning& warning, bool as_error) {
  return std::string(as_error ? "-Werror=" : "-W") + std::string(warning_name(warning.kind));
}

}  // namespace

std::vector<ListedDiagnostic> diagnostics_in_order(const ExplanationTrail& trail,
                                                   const WarningSettings& settings) {
  std::vector<ListedDiagnostic> listed;
  auto error = trail.recordings.begin();
  for (const Warning& warning : trail.warnings) {
    if (!settings.shows(warning.kind)) continue;
    while (error != trail.recordings.end() &&
           source_order(error->where) < source_order(warning.where)) {
      listed.push_back({&*error++, nullptr});
    }
    listed.push_back({nullptr, &warning});
  }
  for (; error != trail.recordings.end(); ++error) listed.push_back({&*error, nullptr});
  return listed;
}

size_t shown_warnings(const ExplanationTrail& trail, const WarningSettings& settings) {
  size_t n = 0;
  for (const Warning& warning : trail.warnings) n += settings.shows(warning.kind) ? 1 : 0;
  return n;
}

std::string headline(const Recording& recording, const SourceFiles& sources) {
  std::string text = format_diagnostic(recording, sources);
  if (recording.after_stop) text += kAfterStopMark;
  return text;
}

std::string headline(const Warning& warning, bool as_error, const SourceFiles& sources) {
  return with_space(locus(warning.where, sources)) + std::string(label_of_warning(as_error)) + " " +
         warning.message + " [" + option_of_warning(warning, as_error) + "]";
}

std::string headline(const Note& note, const SourceFiles& sources) {
  return with_space(locus(note.where, sources)) + "note: " + note.message;
}

std::string DiagnosticPrinter::print(const ListedDiagnostic& diagnostic) {
  return diagnostic.error ? print_error(*diagnostic.error) : print_warning(*diagnostic.warning);
}

std::string DiagnosticPrinter::painted_locus(const SourceLocation& where) {
  return with_space(painter_.paint(Style::locus, printable(locus(where, sources_))));
}

std::string DiagnosticPrinter::print_error_line(const std::string& plain,
                                                const SourceLocation& where) {
  const std::string prefix = with_space(locus(where, sources_));
  const size_t label_end = plain.find(':', prefix.size());
  std::string text;
  if (plain.compare(0, prefix.size(), prefix) == 0 &&
      plain.compare(prefix.size(), 6, "error ") == 0 && label_end != std::string::npos) {
    const std::string_view label =
        std::string_view(plain).substr(prefix.size(), label_end + 1 - prefix.size());
    text = painted_locus(where) + painter_.paint(Style::error, label) +
           printable(std::string_view(plain).substr(label_end + 1));
  } else {
    text = printable(plain);
  }
  return text + "\n" + excerpt(where);
}

std::string DiagnosticPrinter::print_error(const Recording& recording) {
  std::string text = print_error_line(headline(recording, sources_), recording.where);
  for (const Note& note : recording.notes) text += print_note(note);
  return text;
}

std::string DiagnosticPrinter::print_warning(const Warning& warning) {
  const Style style = as_errors_ ? Style::error : Style::warning;
  std::string text = painted_locus(warning.where) +
                     painter_.paint(style, label_of_warning(as_errors_)) + " " +
                     printable(warning.message) + " [" +
                     painter_.paint(style, option_of_warning(warning, as_errors_)) + "]\n";
  text += excerpt(warning.where);
  for (const Note& note : warning.notes) text += print_note(note);
  return text;
}

std::string DiagnosticPrinter::print_note(const Note& note) {
  return painted_locus(note.where) + painter_.paint(Style::note, "note:") + " " +
         printable(note.message) + "\n" + excerpt(note.where);
}

std::string DiagnosticPrinter::excerpt(const SourceLocation& where) {
  const std::optional<std::string_view> line = lines_.line(where.file, where.line);
  if (!line) return "";
  return render_excerpt(*line, where.line, where.column, painter_);
}

}  // namespace scenario
