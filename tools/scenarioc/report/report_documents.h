// The report page's Documents section: the scenario's three crew documents as
// they will print (with the details file beside the train file, when there is
// one), and the faults and placeholders the author should know of.
#pragma once

#include <string>
#include <vector>

namespace scenario {

class AuthorCompile;
class HtmlWriter;

struct ShownDocument {
  std::string title;      // "Train sheet"
  std::string file_name;  // "Velmora_Dorsel_904_scheda_treno.txt"
  std::string text;       // UTF-8, one line feed a line
};

struct ShownDocuments {
  std::vector<ShownDocument> documents;
  std::string details_file;         // the details read, or empty when none
  std::vector<std::string> errors;  // "FILE:LINE: error: ..."
  std::vector<std::string> notes;   // "FILE:LINE:COL: note: ..."
  std::string unavailable;          // why no document is shown; empty when they are
};

// The documents of a compile. Never throws: a details file that cannot be
// read is one of the errors.
ShownDocuments shown_documents(const AuthorCompile& compiled);

void append_documents_section(HtmlWriter& w, const ShownDocuments& documents);

}  // namespace scenario
