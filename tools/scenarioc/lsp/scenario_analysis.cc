#include "scenarioc/lsp/scenario_analysis.h"

#include "base/run_time_failure.h"
#include "base/text_encoding.h"
#include "scenarioc/scenario_inputs.h"
#include "scenarioc/timetable/train_model_files.h"
#include "source/byte_source.h"

namespace scenario::lsp {
namespace {

namespace fs = std::filesystem;

bool has_non_ascii(std::string_view text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return true;
  }
  return false;
}

// The file's bytes as an editor would show them: UTF-8 when they are, else
// Windows-1252; the compiler reads the same bytes back.
EditorText text_on_disk(const std::string& bytes, PositionEncoding encoding) {
  if (is_utf8(bytes)) return EditorText(bytes, has_non_ascii(bytes), encoding);
  return EditorText(utf8_from_1252(bytes), false, encoding);
}

// The side of `path`: the open document's text, else the file's on disk,
// taken from `earlier` when the file has kept its stamp since.
SourceSide side_for(const fs::path& path, const DocumentStore& documents,
                    const SourceSide* earlier) {
  SourceSide side;
  side.path = path;
  if (const Document* document = documents.find_path(path)) {
    side.uri = document->uri;
    side.open = true;
    side.text = document->text;
    return side;
  }
  if (earlier && !earlier->open && earlier->path == path && earlier->stamp &&
      earlier->stamp == stamp_of(path)) {
    return *earlier;
  }
  side.uri = uri_of_path(path);
  DiskSource source = read_disk_source(path);
  side.readable = source.present && source.failure.empty();
  side.stamp = source.stamp;
  side.failure = std::move(source.failure);
  side.text = text_on_disk(source.bytes, documents.encoding());
  return side;
}

// The scenario's train model; the defaults when its file cannot be read, so
// that an editor still sees the timetable's warnings while it is being fixed.
timetable::TrainModel model_or_defaults(const ScenarioFiles& files) {
  try {
    return train_model_of(files);
  } catch (const RunTimeFailure&) {
    return {};
  }
}

const SourceSide* side_in(const ScenarioAnalysis* analysis, SourceFile which) {
  return analysis ? &analysis->side(which) : nullptr;
}

}  // namespace

std::unique_ptr<ByteSource> EditorSources::open_if_present(SourceFile which) {
  if (!exists(which)) return nullptr;
  return std::make_unique<MemoryByteSource>(side(which).text.bytes());
}

std::unique_ptr<ByteSource> EditorSources::open(SourceFile which) {
  if (!exists(which))
    throw RunTimeFailure("cannot open '" + display_name(which) + "': no such file");
  return open_if_present(which);
}

std::string EditorSources::display_name(SourceFile which) const {
  return utf8_of_path(side(which).path);
}

ScenarioAnalysis::ScenarioAnalysis(const ScenarioFiles& files, const DocumentStore& documents,
                                   const ScenarioAnalysis* earlier)
    : line_(side_for(files.line_file, documents, side_in(earlier, SourceFile::line))),
      train_(side_for(files.train_file, documents, side_in(earlier, SourceFile::train))),
      compiled_(files, std::make_unique<EditorSources>(line_, train_),
                {.read_past_errors = true, .timetable = model_or_defaults(files)}) {
  if (!failure().empty()) return;
  try {
    compiled_.compile();
  } catch (const RunTimeFailure&) {
    // The sources are in memory: nothing is left that could fail to be read,
    // and the compile keeps what it recorded.
  }
}

std::optional<SourceFile> ScenarioAnalysis::side_of(const Document& document) const {
  for (const SourceFile which : {SourceFile::line, SourceFile::train}) {
    const SourceSide& s = side(which);
    if (s.uri == document.uri || (!document.path.empty() && s.path == document.path)) return which;
  }
  return std::nullopt;
}

const ReportModel& ScenarioAnalysis::model() {
  if (!model_) {
    model_ = std::make_unique<ReportModel>(build_report_model(compiled_.compilation(), sources()));
  }
  return *model_;
}

}  // namespace scenario::lsp
