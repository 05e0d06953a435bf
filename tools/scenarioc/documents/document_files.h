// The crew documents as files of an author's scenario: which details file a
// run reads, the three documents written as one set beside the compiled
// files, and the lines that tell the author of a fault in the details or of
// a value a document shows as a placeholder.
#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "compiler/scenario_records.h"
#include "compiler/source_files.h"
#include "documents/crew_documents.h"
#include "documents/document_details.h"
#include "scenarioc/output/json_text.h"

namespace scenario {

// A line for the author about the documents, at a place in a file.
struct DocumentMessage {
  std::string file;     // as given, UTF-8
  int64_t line = 0;     // 0: the file as a whole
  int32_t column = 0;   // 0: the line as a whole
  std::string message;  // UTF-8
  // "FILE:LINE:COL: LABEL: MESSAGE".
  std::string text(const char* label) const;
};

// The details of one run and where they come from.
struct DetailsSource {
  std::filesystem::path path;  // the file read, or where it would stand beside the train file
  bool present = false;        // the file exists and was read
  DocumentDetails details;
  std::vector<DocumentMessage> faults;
};

// The file --details names, else NAME_NUMBER_details.json beside the train file.
std::filesystem::path details_path(const std::optional<std::string>& given,
                                   const std::filesystem::path& train_file, const std::string& nome,
                                   const std::string& treno);

// `given` (--details) must exist; without it the file NAME_NUMBER_details.json
// beside the train file is read when there is one. Throws RunTimeFailure
// when a file that is there cannot be read.
DetailsSource details_for(const std::optional<std::string>& given,
                          const std::filesystem::path& train_file, const std::string& nome,
                          const std::string& treno);

// What the documents of one compile came to.
struct DocumentsOutcome {
  std::vector<DocumentMessage> errors;  // details that do not fit the scenario: nothing written
  std::vector<DocumentMessage> notes;   // values shown as placeholders
  std::vector<std::filesystem::path> written;
  std::string failure;  // why they could not be written, when a file failed
};

// The errors and notes of the documents of a compiled scenario, without
// writing anything; details with faults give those faults alone.
DocumentsOutcome check_documents(const BuildContext& ctx, const SourceFiles& sources,
                                 const DetailsSource& details);

// The same, and unless there is an error, the three documents written to
// `folder` as one set under the folder's lock, none of them over a file of
// `keep` (the sources and the details). Throws RunTimeFailure when a file
// cannot be written.
DocumentsOutcome write_documents(const BuildContext& ctx, const SourceFiles& sources,
                                 const DetailsSource& details, const std::filesystem::path& folder,
                                 const std::vector<std::filesystem::path>& keep, std::ostream& err);

// "wrote PATH" lines on `out`, the errors, notes and failure on `err`.
void print_documents_outcome(const DocumentsOutcome& outcome, std::ostream& out, std::ostream& err);

// {"details_file", "files_written", "errors", "notes", "failure"} for the tool's JSON.
Json documents_json(const DetailsSource& details, const DocumentsOutcome& outcome);

}  // namespace scenario
