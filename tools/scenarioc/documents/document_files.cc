#include "scenarioc/documents/document_files.h"

#include "base/file_naming.h"
#include "base/folder_lock.h"
#include "base/replace_file.h"
#include "base/run_time_failure.h"
#include "base/temporary_files.h"
#include "base/text_encoding.h"
#include "scenarioc/documents/details_file.h"
#include "scenarioc/scenario_inputs.h"
#include "source/text_writer.h"

namespace scenario {
namespace {

DocumentMessage missing_message(const MissingValue& m, const BuildContext& ctx,
                                const SourceFiles& sources, const DetailsSource& details) {
  DocumentMessage message;
  message.message = printable_from_1252(m.message);
  switch (m.source) {
    case MissingValue::Source::details:
      message.file = utf8_of_path(details.path);
      break;
    case MissingValue::Source::train_file:
      message.file = sources.display_name(SourceFile::train);
      break;
    case MissingValue::Source::station: {
      const SourceLocation& where = ctx.trail.entry_sources[m.entry];
      message.file = sources.display_name(SourceFile::train);
      message.line = where.line;
      message.column = where.column;
      break;
    }
  }
  return message;
}

Json messages_json(const std::vector<DocumentMessage>& messages) {
  Json list = Json::array();
  for (const DocumentMessage& m : messages) {
    Json item = Json::object();
    item["file"] = json_native(m.file);
    item["line"] = json_number(m.line > 0 ? std::optional<int64_t>(m.line) : std::nullopt);
    item["column"] = json_number(m.column > 0 ? std::optional<int64_t>(m.column) : std::nullopt);
    item["message"] = json_native(m.message);
    list.push_back(std::move(item));
  }
  return list;
}

}  // namespace

std::string DocumentMessage::text(const char* label) const {
  std::string locus = file + ":";
  if (line > 0) locus += std::to_string(line) + ":";
  if (line > 0 && column > 0) locus += std::to_string(column) + ":";
  return locus + " " + label + ": " + message;
}

std::filesystem::path details_path(const std::optional<std::string>& given,
                                   const std::filesystem::path& train_file, const std::string& nome,
                                   const std::string& treno) {
  if (given) return path_from_utf8(*given);
  const std::filesystem::path folder = train_file.parent_path();
  const std::string name = details_file_name(nome, treno);
  return folder.empty() ? path_from_utf8(name) : file_in(folder, name);
}

DetailsSource details_for(const std::optional<std::string>& given,
                          const std::filesystem::path& train_file, const std::string& nome,
                          const std::string& treno) {
  DetailsSource source;
  source.path = details_path(given, train_file, nome, treno);
  if (!given && !file_exists(source.path)) return source;
  source.present = true;
  DetailsRead read = read_details_file(source.path);
  source.details = std::move(read.details);
  for (const DetailsFault& fault : read.faults) {
    source.faults.push_back(
        {utf8_of_path(source.path), fault.line, 0, escape_controls(fault.message)});
  }
  return source;
}

DocumentsOutcome check_documents(const BuildContext& ctx, const SourceFiles& sources,
                                 const DetailsSource& details) {
  DocumentsOutcome outcome;
  outcome.errors = details.faults;
  // Details read only in part tell nothing sure of what they lack.
  if (!details.faults.empty()) return outcome;
  for (const DetailsProblem& problem : details_problems(ctx, details.details)) {
    outcome.errors.push_back(
        {utf8_of_path(details.path), problem.line, 0, printable_from_1252(problem.message)});
  }
  for (const MissingValue& missing : missing_values(ctx, details.details)) {
    outcome.notes.push_back(missing_message(missing, ctx, sources, details));
  }
  return outcome;
}

DocumentsOutcome write_documents(const BuildContext& ctx, const SourceFiles& sources,
                                 const DetailsSource& details, const std::filesystem::path& folder,
                                 const std::vector<std::filesystem::path>& keep,
                                 std::ostream& err) {
  DocumentsOutcome outcome = check_documents(ctx, sources, details);
  if (!outcome.errors.empty()) return outcome;
  const CrewDocuments documents = crew_documents(ctx, details.details);
  const std::pair<std::string, const Righe*> files[] = {
      {notes_name(ctx.nome, ctx.treno), &documents.notes},
      {slowdown_order_name(ctx.nome, ctx.treno), &documents.slowdown_order},
      {train_sheet_name(ctx.nome, ctx.treno), &documents.train_sheet},
  };
  for (const auto& [name, righe] : files) {
    for (const std::filesystem::path& kept : keep) {
      if (same_file(file_in(folder, name), kept)) {
        throw RunTimeFailure("the document '" + file_in(folder, name).string() +
                             "' would replace '" + kept.string() + "'");
      }
    }
  }
  FileSet set(folder);
  for (const auto& [name, righe] : files) {
    const std::string bytes = text_file_bytes(*righe);
    set.stage(name, [&bytes](const BlockSink& put) { put(bytes); });
  }
  // The build and every compile into the folder take its lock for their renames.
  const FolderLock lock(folder, [&] {
    err << "scenarioc: waiting for another build in " << folder.string() << '\n' << std::flush;
  });
  remove_stale_temporaries(folder);
  set.commit();
  for (const auto& [name, righe] : files) outcome.written.push_back(file_in(folder, name));
  return outcome;
}

void print_documents_outcome(const DocumentsOutcome& outcome, std::ostream& out,
                             std::ostream& err) {
  for (const DocumentMessage& m : outcome.errors) err << m.text("error") << '\n';
  for (const DocumentMessage& m : outcome.notes) err << m.text("note") << '\n';
  for (const std::filesystem::path& path : outcome.written) {
    out << "wrote " << utf8_of_path(path) << '\n';
  }
  if (!outcome.errors.empty()) {
    const size_t n = outcome.errors.size();
    err << "scenarioc: " << n << (n == 1 ? " error" : " errors")
        << " in the details; no document written\n";
  }
  if (!outcome.failure.empty()) err << "scenarioc: " << outcome.failure << '\n';
}

Json documents_json(const DetailsSource& details, const DocumentsOutcome& outcome) {
  Json json = Json::object();
  json["details_file"] = details.present ? json_native(utf8_of_path(details.path)) : Json(nullptr);
  Json& written = json["files_written"] = Json::array();
  for (const std::filesystem::path& path : outcome.written) {
    written.push_back(json_native(utf8_of_path(path)));
  }
  json["errors"] = messages_json(outcome.errors);
  json["notes"] = messages_json(outcome.notes);
  json["failure"] = outcome.failure.empty() ? Json(nullptr) : json_native(outcome.failure);
  return json;
}

}  // namespace scenario
