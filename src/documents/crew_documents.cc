#include "documents/crew_documents.h"

#include "base/text_encoding.h"
#include "documents/column_text.h"
#include "documents/generated_notes.h"
#include "documents/order_layout.h"
#include "documents/route_stations.h"
#include "documents/sheet_layout.h"
#include "documents/slowdown_rows.h"
#include "documents/train_sheet_rows.h"

namespace scenario {
namespace {

// The train number as the documents write it: single-byte, like the sources.
std::string train_number(const BuildContext& ctx) {
  return text_1252_from_native(ctx.treno).value_or(ctx.treno);
}

std::optional<int32_t> braked_percentage(const BuildContext& ctx) {
  const int32_t value = ctx.tabella[kEntryTrain].valore1;
  return value != 0 ? std::optional<int32_t>(value) : std::nullopt;
}

SheetHeader sheet_header(const BuildContext& ctx, const std::vector<RouteStation>& stations,
                         const DocumentDetails& details) {
  SheetHeader header;
  header.train = train_number(ctx);
  if (!stations.empty()) {
    header.origin = mixed_case(stations.front().name);
    header.destination = mixed_case(stations.back().name);
  }
  header.maximum_speed = details.maximum_speed;
  header.rank = details.rank;
  header.braked_percentage = braked_percentage(ctx);
  header.category = details.category;
  header.blocked_mass = details.blocked_mass;
  return header;
}

Righe with_end_marker(std::vector<std::string> lines) {
  lines.emplace_back(kEndMarker);
  return lines;
}

MissingValue from_details(const char* key, const std::string& what) {
  return {MissingValue::Source::details, 0,
          "the train sheet shows " + what + ": the details give no \"" + key + "\""};
}

void add_missing_times(std::vector<MissingValue>& missing, const RouteStation& station,
                       const TimeColumn& t) {
  auto note = [&](const char* which) {
    missing.push_back({MissingValue::Source::station, station.entry,
                       "station " + capitals(station.name) + " has no " + which +
                           "; the train sheet shows " + std::string(kTimePlaceholder)});
  };
  switch (t.form) {
    case TimeForm::departure:
      if (!t.first) note("time of departure");
      break;
    case TimeForm::passing:
      if (!t.first) note("passing time");
      break;
    case TimeForm::stop:
      if (!t.first) note("time of arrival");
      if (!t.second) note("time of departure");
      break;
    case TimeForm::arrival:
      if (!t.first) note("time of arrival");
      break;
    case TimeForm::none:
      break;
  }
}

// Which times a station's place in the journey takes, and the keys it refuses.
const char* refused_time_key(const StationDetails& d, StationRole role) {
  if (role == StationRole::origin) return d.arrival ? "arrival" : d.time ? "time" : nullptr;
  if (role == StationRole::terminus) return d.departure ? "departure" : d.time ? "time" : nullptr;
  return nullptr;
}

}  // namespace

CrewDocuments crew_documents(const BuildContext& ctx, const DocumentDetails& details) {
  const std::vector<RouteStation> stations = route_stations(ctx);
  const std::string train = train_number(ctx);
  CrewDocuments documents;
  documents.notes =
      with_end_marker(details.notes ? *details.notes : generated_notes(train, stations, details));
  documents.slowdown_order =
      slowdown_order_document(line_name(stations), train, slowdown_rows(ctx, stations));
  documents.train_sheet =
      train_sheet_document(sheet_header(ctx, stations, details),
                           train_sheet_rows(ctx, stations, details), details.footnotes);
  return documents;
}

std::vector<MissingValue> missing_values(const BuildContext& ctx, const DocumentDetails& details) {
  std::vector<MissingValue> missing;
  if (!details.category)
    missing.push_back(from_details("category", "xxx for the train's category"));
  if (!details.rank) missing.push_back(from_details("rank", "x for the train's rank"));
  if (!details.maximum_speed) {
    missing.push_back(from_details("maximum_speed", "Vxxx for the train's maximum speed"));
  }
  if (!details.blocked_mass) {
    missing.push_back(from_details("blocked_mass", "xxxT for the blocked mass"));
  }
  if (!braked_percentage(ctx)) {
    missing.push_back({MissingValue::Source::train_file, 0,
                       "the train sheet shows xxx% for the braked-mass percentage: the train "
                       "file gives no \"percentuale massa frenata\""});
  }
  const std::vector<RouteStation> stations = route_stations(ctx);
  if (stations.empty()) {
    missing.push_back({MissingValue::Source::train_file, 0,
                       "the documents show xxxxxx for the origin and the terminus: the train "
                       "file gives no station"});
  }
  for (size_t i = 0; i < stations.size(); ++i) {
    const StationRole role = role_of(i, stations.size());
    add_missing_times(missing, stations[i],
                      station_time(stations[i], role, details_of(details, stations[i])));
  }
  return missing;
}

std::vector<DetailsProblem> details_problems(const BuildContext& ctx,
                                             const DocumentDetails& details) {
  const std::vector<RouteStation> stations = route_stations(ctx);
  std::vector<DetailsProblem> problems;
  for (const StationDetails& d : details.stations) {
    bool found = false;
    for (size_t i = 0; i < stations.size(); ++i) {
      if (details_of(details, stations[i]) != &d) continue;
      found = true;
      const StationRole role = role_of(i, stations.size());
      if (const char* key = refused_time_key(d, role)) {
        problems.push_back({d.line, capitals(stations[i].name) + " is the " +
                                        (role == StationRole::origin ? "origin" : "terminus") +
                                        ": it takes no \"" + key + "\""});
      }
    }
    if (!found) {
      problems.push_back({d.line, "\"" + d.name + "\" is no station of the train file"});
    }
  }
  return problems;
}

}  // namespace scenario
