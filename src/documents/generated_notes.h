// The notes of a scenario whose author gives no text of their own: a few
// factual lines on the train, the stretch it runs, its length, its stops and
// its times of departure and arrival.
#pragma once

#include <string>
#include <vector>

#include "documents/document_details.h"
#include "documents/route_stations.h"

namespace scenario {

// The notes' lines no longer than this, broken at blanks.
constexpr size_t kNotesWidth = 78;

// Single-byte lines (Windows-1252), without the end marker. `train` is the
// train number.
std::vector<std::string> generated_notes(const std::string& train,
                                         const std::vector<RouteStation>& stations,
                                         const DocumentDetails& details);

// Pieces of text joined by blanks into lines of at most `width` characters;
// a piece is never broken, and one longer than that stands alone on its line.
std::vector<std::string> wrapped(const std::vector<std::string>& pieces, size_t width);

// The words of a text, for `wrapped`.
std::vector<std::string> words_of(const std::string& text);

}  // namespace scenario
