#include "scenarioc/report/report_documents.h"

#include <optional>

#include "base/file_naming.h"
#include "base/run_time_failure.h"
#include "base/text_encoding.h"
#include "documents/crew_documents.h"
#include "scenarioc/author_compile.h"
#include "scenarioc/documents/document_files.h"
#include "scenarioc/output/html_writer.h"
#include "scenarioc/report/report_names.h"
#include "scenarioc/scenario_inputs.h"
#include "source/text_writer.h"

namespace scenario {
namespace {

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

void append_lines(HtmlWriter& w, const std::vector<std::string>& lines,
                  std::string_view css_class) {
  for (const std::string& line : lines) {
    w.open("li").attribute("class", css_class).text(line).close();
  }
}

}  // namespace

ShownDocuments shown_documents(const AuthorCompile& compiled) {
  const Compilation& c = compiled.compilation();
  ShownDocuments shown;
  if (c.result.cell_row_missing || c.result.fatal_error != 0) {
    shown.unavailable = "The compile left no cell row, so there are no documents to show.";
    return shown;
  }
  DetailsSource details;
  try {
    details = details_for(std::nullopt, compiled.scenario().train_file, c.nome, c.treno);
  } catch (const RunTimeFailure& failure) {
    shown.errors.push_back(failure.what());
  }
  if (details.present) shown.details_file = utf8_of_path(details.path);
  const DocumentsOutcome outcome = check_documents(c, compiled.sources(), details);
  for (const DocumentMessage& m : outcome.errors) shown.errors.push_back(m.text("error"));
  for (const DocumentMessage& m : outcome.notes) shown.notes.push_back(m.text("note"));
  const CrewDocuments documents = crew_documents(c, details.details);
  shown.documents = {
      {"Notes", notes_name(c.nome, c.treno), page_text(documents.notes)},
      {"Slowdown order", slowdown_order_name(c.nome, c.treno), page_text(documents.slowdown_order)},
      {"Train sheet", train_sheet_name(c.nome, c.treno), page_text(documents.train_sheet)},
  };
  return shown;
}

void append_documents_section(HtmlWriter& w, const ShownDocuments& shown) {
  w.open("section").attribute("id", page::kDocuments);
  w.open("h2").text("Documents ");
  w.open("span")
      .attribute("class", page::kHint)
      .text(shown.details_file.empty()
                ? "as scenarioc documents writes them, from the sources alone"
                : "as scenarioc documents writes them, with " + shown.details_file)
      .close();
  w.close();
  if (!shown.unavailable.empty()) {
    w.open("p").attribute("class", page::kNone).text(shown.unavailable).close();
    w.close().text("\n");
    return;
  }
  if (!shown.errors.empty() || !shown.notes.empty()) {
    w.open("ul");
    append_lines(w, shown.errors, page::kError);
    append_lines(w, shown.notes, page::kNote);
    w.close();
  }
  for (const ShownDocument& document : shown.documents) {
    w.open("h3").text(document.title + " \u00b7 " + document.file_name).close();
    w.open("pre").text(document.text).close();
  }
  w.close().text("\n");
}

}  // namespace scenario
