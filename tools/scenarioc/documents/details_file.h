// The details file of a scenario's crew documents, NAME_NUMBER_details.json
// beside the train file: JSON with the train's category, rank, maximum speed
// and blocked mass, the timetable's values of the stations, the footnotes and
// the notes' text (docs/documents.md). Read into the plain values the
// documents take, every fault with its line.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "documents/document_details.h"

namespace scenario {

// "Velmora_Dorsel_904_details.json".
std::string details_file_name(const std::string& nome, const std::string& treno);

struct DetailsFault {
  int64_t line = 0;
  std::string message;  // UTF-8
};

struct DetailsRead {
  DocumentDetails details;
  std::vector<DetailsFault> faults;  // empty when the file is sound
};

// The details from the file's text; every value that cannot be taken is a
// fault, and the details then hold only the values that could.
DetailsRead read_details_text(std::string_view text);

// The same from a file. Throws RunTimeFailure when it cannot be read.
DetailsRead read_details_file(const std::filesystem::path& path);

}  // namespace scenario
