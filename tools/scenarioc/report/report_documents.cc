#include "scenarioc/report/report_documents.h"

#include "base/file_naming.h"
#include "base/run_time_failure.h"
#include "base/text_encoding.h"
#include "documents/crew_documents.h"
#include "scenarioc/documents/document_files.h"
#include "scenarioc/output/html_text.h"
#include "scenarioc/scenario_inputs.h"

namespace scenario {
namespace {

constexpr const char* kDocumentStyle =
    "font: 12px/1.3 ui-monospace, SFMono-Regular, Menlo, Consolas, monospace; "
    "overflow-x: auto; margin: 4px 0 14px; padding: 8px; border: 1px solid var(--line)";

// A document's bytes as the page shows them: UTF-8, a line feed a line.
std::string page_text(const Righe& righe) {
  std::string bytes = text_file_bytes(righe);
  std::string text;
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
    text += bytes[i];
  }
  return utf8_from_1252(text);
}

void append_lines(std::string& out, const std::vector<std::string>& lines, const char* css_class) {
  for (const std::string& line : lines) {
    out += "<li class=\"";
    out += css_class;
    out += "\">";
    append_escaped(out, line);
    out += "</li>";
  }
}

}  // namespace

ShownDocuments shown_documents(const BuildContext& ctx, const CompileResult& result,
                               const SourceFiles& sources,
                               const std::filesystem::path& train_file) {
  ShownDocuments shown;
  if (result.cell_row_missing || result.fatal_error != 0) {
    shown.unavailable = "The compile left no cell row, so there are no documents to show.";
    return shown;
  }
  DetailsSource details;
  try {
    details = details_for(std::nullopt, train_file, ctx.nome, ctx.treno);
  } catch (const RunTimeFailure& failure) {
    shown.errors.push_back(failure.what());
  }
  if (details.present) shown.details_file = utf8_of_path(details.path);
  const DocumentsOutcome outcome = check_documents(ctx, sources, details);
  for (const DocumentMessage& m : outcome.errors) shown.errors.push_back(m.text("error"));
  for (const DocumentMessage& m : outcome.notes) shown.notes.push_back(m.text("note"));
  const CrewDocuments documents = crew_documents(ctx, details.details);
  shown.documents = {
      {"Notes", notes_name(ctx.nome, ctx.treno), page_text(documents.notes)},
      {"Slowdown order", slowdown_order_name(ctx.nome, ctx.treno),
       page_text(documents.slowdown_order)},
      {"Train sheet", train_sheet_name(ctx.nome, ctx.treno), page_text(documents.train_sheet)},
  };
  return shown;
}

void append_documents_section(std::string& out, const ShownDocuments& shown) {
  out += "<section id=\"documents\"><h2>Documents <span class=\"hint\">";
  append_escaped(out, shown.details_file.empty()
                          ? "as scenarioc documents writes them, from the sources alone"
                          : "as scenarioc documents writes them, with " + shown.details_file);
  out += "</span></h2>";
  if (!shown.unavailable.empty()) {
    out += "<p class=\"none\">";
    append_escaped(out, shown.unavailable);
    out += "</p></section>\n";
    return;
  }
  if (!shown.errors.empty() || !shown.notes.empty()) {
    out += "<ul>";
    append_lines(out, shown.errors, "error");
    append_lines(out, shown.notes, "note");
    out += "</ul>";
  }
  for (const ShownDocument& document : shown.documents) {
    out += "<h3>";
    append_escaped(out, document.title + " \u00b7 " + document.file_name);
    out += "</h3><pre style=\"";
    out += kDocumentStyle;
    out += "\">";
    append_escaped(out, document.text);
    out += "</pre>";
  }
  out += "</section>\n";
}

}  // namespace scenario
