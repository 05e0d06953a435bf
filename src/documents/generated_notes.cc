#include "documents/generated_notes.h"

#include "base/rounding.h"
#include "documents/column_text.h"
#include "documents/train_sheet_rows.h"

namespace scenario {
namespace {

std::string time_of(const std::optional<int64_t>& seconds) {
  return seconds ? sheet_time_text(*seconds) : std::string(kTimePlaceholder);
}

// "238,5": kilometres to a tenth, with the decimal comma.
std::string kilometres_to_tenth(int64_t metres) {
  const auto tenths = static_cast<int64_t>(round_half_even(metres / 100.0));
  const int64_t magnitude = tenths < 0 ? -tenths : tenths;
  return (tenths < 0 ? "-" : "") + std::to_string(magnitude / 10) + "," +
         std::to_string(magnitude % 10);
}

// "Fermate: Pieve D'Arsena (10.54 - 10.55), ...", each stop's times one piece.
std::vector<std::string> stops_sentence(const std::vector<RouteStation>& stations,
                                        const DocumentDetails& details) {
  std::vector<std::string> pieces = {"Fermate:"};
  for (size_t i = 0; i < stations.size(); ++i) {
    const StationRole role = role_of(i, stations.size());
    if (role != StationRole::intermediate) continue;
    const TimeColumn t = station_time(stations[i], role, details_of(details, stations[i]));
    if (t.form != TimeForm::stop) continue;
    if (pieces.size() > 1) pieces.back() += ",";
    for (std::string& word : words_of(mixed_case(stations[i].name))) pieces.push_back(word);
    pieces.push_back("(" + time_of(t.first) + " - " + time_of(t.second) + ")");
  }
  if (pieces.size() == 1) return words_of("Il treno non ferma nelle stazioni intermedie.");
  pieces.back() += ".";
  return pieces;
}

}  // namespace

std::vector<std::string> words_of(const std::string& text) {
  std::vector<std::string> words;
  size_t i = 0;
  while (i < text.size()) {
    const size_t blank = text.find(' ', i);
    const size_t end = blank == std::string::npos ? text.size() : blank;
    if (end > i) words.push_back(text.substr(i, end - i));
    i = end + 1;
  }
  return words;
}

std::vector<std::string> wrapped(const std::vector<std::string>& pieces, size_t width) {
  std::vector<std::string> lines;
  std::string line;
  for (const std::string& piece : pieces) {
    if (!line.empty() && line.size() + 1 + piece.size() > width) {
      lines.push_back(line);
      line.clear();
    }
    line += (line.empty() ? "" : " ") + piece;
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

std::vector<std::string> generated_notes(const std::string& train,
                                         const std::vector<RouteStation>& stations,
                                         const DocumentDetails& details) {
  std::vector<std::vector<std::string>> paragraphs;
  const std::string category = details.category ? *details.category + " " : "";
  if (stations.empty()) {
    paragraphs.push_back(words_of("Simulazione del treno " + category + train + "."));
  } else if (stations.size() == 1) {
    const RouteStation& only = stations.front();
    const TimeColumn departure = station_time(only, StationRole::origin, details_of(details, only));
    paragraphs.push_back(words_of("Simulazione del treno " + category + train + " in partenza da " +
                                  mixed_case(only.name) + " alle " + time_of(departure.first) +
                                  "."));
  } else {
    const RouteStation& origin = stations.front();
    const RouteStation& terminus = stations.back();
    const std::string from = mixed_case(origin.name);
    const std::string to = mixed_case(terminus.name);
    std::vector<std::string> first = words_of("Simulazione del treno " + category + train +
                                              " nel tratto " + from + " - " + to + ", lungo");
    first.push_back(kilometres_to_tenth(int64_t{terminus.position} - origin.position) + " km.");
    paragraphs.push_back(std::move(first));
    const TimeColumn departure =
        station_time(origin, StationRole::origin, details_of(details, origin));
    const TimeColumn arrival =
        station_time(terminus, StationRole::terminus, details_of(details, terminus));
    paragraphs.push_back(words_of("Partenza da " + from + " alle " + time_of(departure.first) +
                                  ", arrivo a " + to + " alle " + time_of(arrival.first) + "."));
    if (stations.size() > 2) paragraphs.push_back(stops_sentence(stations, details));
  }
  std::vector<std::string> lines;
  for (const std::vector<std::string>& paragraph : paragraphs) {
    for (std::string& line : wrapped(paragraph, kNotesWidth)) lines.push_back(std::move(line));
  }
  return lines;
}

}  // namespace scenario
