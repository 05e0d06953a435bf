// The three crew documents of a compiled scenario, computed from its records
// and the author's details: the notes, the slowdown order and the train
// sheet, in the layouts of the built-in documents. Also what they show as a
// placeholder for want of a value, and what in the details does not fit the
// scenario.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "compiler/scenario_records.h"
#include "documents/document_details.h"
#include "source/text_writer.h"

namespace scenario {

// Each a line list ended by the end marker, for `salva_testo` or `text_file_bytes`.
struct CrewDocuments {
  Righe notes;
  Righe slowdown_order;
  Righe train_sheet;
};

CrewDocuments crew_documents(const BuildContext& ctx, const DocumentDetails& details);

// A value a document shows as a placeholder, and where it would come from.
struct MissingValue {
  enum class Source { details, train_file, station };
  Source source = Source::details;
  int entry = 0;  // Source::station: the station's entry of `tabella`
  std::string message;
};
std::vector<MissingValue> missing_values(const BuildContext& ctx, const DocumentDetails& details);

// A station entry of the details that names no station of the train file, or
// gives a time its station's place in the journey does not take.
struct DetailsProblem {
  int64_t line = 0;
  std::string message;
};
std::vector<DetailsProblem> details_problems(const BuildContext& ctx,
                                             const DocumentDetails& details);

}  // namespace scenario
