#include "documents/train_sheet_rows.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <optional>

#include "base/rounding.h"
#include "compiler/chainage.h"
#include "documents/column_text.h"

namespace scenario {
namespace {

// Something standing along the route that can name a row.
struct Place {
  int32_t position = 0;
  std::string text;
  int64_t chainage = 0;
  bool used = false;
};

// A row and where along the route it stands, for the travel order.
struct PlacedRow {
  int64_t position = 0;
  SheetRow row;
};

// Where the object of cell `c` stands: its record's position, else the cell's.
int32_t object_position(const BuildContext& ctx, int32_t c) {
  const Placement* p = ctx.trail.placement_in(c);
  return p ? p->position : (c - 1) * kCellMetres;
}

std::vector<Place> indication_boards(const BuildContext& ctx, const Chainage& chainage) {
  std::vector<Place> boards;
  for (int32_t c = 0; c <= ctx.last_cell(); ++c) {
    const cella& cell = ctx.percorso[c];
    if (cell.oggetto != kIndicationBoard || cell.dato1 < 0 || cell.dato1 >= kTableEntries) continue;
    const int32_t position = object_position(ctx, c);
    const BoardName name = board_name(ctx.tabella[cell.dato1].testo, chainage.at(position));
    boards.push_back({position, name.text, name.chainage});
  }
  return boards;
}

// The signal each station's zone is entered past: the last one before the
// zone and after the previous station's zone.
std::vector<Place> protection_signals(const BuildContext& ctx,
                                      const std::vector<RouteStation>& stations,
                                      const Chainage& chainage) {
  std::vector<int32_t> signals;
  for (int32_t c = 0; c <= ctx.last_cell(); ++c) {
    if (ctx.percorso[c].oggetto == kSignal) signals.push_back(object_position(ctx, c));
  }
  std::vector<Place> places;
  for (size_t i = 0; i < stations.size(); ++i) {
    const int64_t after = i > 0 ? stations[i - 1].zone_to : std::numeric_limits<int64_t>::min();
    std::optional<int32_t> found;
    for (int32_t s : signals) {
      if (s > after && s < stations[i].zone_from) found = s;
    }
    if (found) {
      places.push_back({*found, "Segn.Prot. " + mixed_case(stations[i].name), chainage.at(*found)});
    }
  }
  return places;
}

// The unused place nearest to `position` within `distance`; null when none.
Place* nearest(std::vector<Place>& places, int64_t position, int64_t distance) {
  Place* best = nullptr;
  for (Place& p : places) {
    const int64_t d = std::llabs(p.position - position);
    if (!p.used && d <= distance && (!best || d < std::llabs(best->position - position))) best = &p;
  }
  return best;
}

// The kilometre post nearest to `position` within kSameRowDistance, as a place.
std::optional<Place> kilometre_post_near(const Chainage& chainage, int32_t position) {
  const int64_t first = int64_t{position} - kSameRowDistance;
  const int64_t last = int64_t{position} + kSameRowDistance;
  if (first < std::numeric_limits<int32_t>::min() || last > std::numeric_limits<int32_t>::max()) {
    return std::nullopt;
  }
  std::optional<Place> best;
  for (const KilometrePost& post :
       chainage.kilometre_posts(static_cast<int32_t>(first), static_cast<int32_t>(last))) {
    if (!best || std::llabs(post.metres - position) < std::llabs(best->position - position)) {
      const int64_t metres = post.kilometre * 1000;
      best = Place{post.metres, "Cippo Km " + kilometres_text(metres), metres};
    }
  }
  return best;
}

// The speed-limit changes between the first and the last station: a cell's
// limit holds from route position 50 × its index.
struct LimitChange {
  int32_t position = 0;
  int32_t limit = 0;
};
std::vector<LimitChange> limit_changes(const BuildContext& ctx, int32_t from, int32_t to) {
  std::vector<LimitChange> changes;
  if (!ctx.has_cell_row()) return changes;
  auto cell_at = [&ctx](int32_t metres) {
    const int64_t k = static_cast<int64_t>(round_half_even(metres / double{kCellMetres}));
    return static_cast<int32_t>(std::clamp<int64_t>(k, 0, ctx.last_cell()));
  };
  const int32_t first = cell_at(from);
  const int32_t last = cell_at(to);
  changes.push_back({from, ctx.percorso[first].velocita * 5});
  for (int32_t k = first + 1; k <= last; ++k) {
    if (ctx.percorso[k].velocita != ctx.percorso[k - 1].velocita) {
      changes.push_back({k * kCellMetres, ctx.percorso[k].velocita * 5});
    }
  }
  return changes;
}

bool is_blank(char c) { return c == ' '; }

// The parenthesised groups of a text made of nothing else; none otherwise.
std::optional<std::vector<std::string>> groups_of(std::string_view text) {
  std::vector<std::string> groups;
  size_t i = 0;
  while (true) {
    while (i < text.size() && is_blank(text[i])) ++i;
    if (i == text.size()) break;
    if (text[i] != '(') return std::nullopt;
    const size_t close = text.find(')', i);
    if (close == std::string_view::npos) return std::nullopt;
    groups.emplace_back(text.substr(i + 1, close - i - 1));
    i = close + 1;
  }
  if (groups.empty()) return std::nullopt;
  return groups;
}

// "Km 345+557" (any case, blanks around the parts) as metres; none otherwise.
std::optional<int64_t> chainage_group(std::string_view group) {
  size_t i = 0;
  auto skip_blanks = [&] {
    while (i < group.size() && is_blank(group[i])) ++i;
  };
  auto digits = [&](size_t most) -> std::optional<int64_t> {
    const size_t start = i;
    int64_t value = 0;
    while (i < group.size() && i - start < most && group[i] >= '0' && group[i] <= '9') {
      value = value * 10 + (group[i++] - '0');
    }
    if (i == start) return std::nullopt;
    return value;
  };
  skip_blanks();
  if (group.substr(i, 2).size() < 2 || (group[i] | 0x20) != 'k' || (group[i + 1] | 0x20) != 'm') {
    return std::nullopt;
  }
  i += 2;
  skip_blanks();
  const std::optional<int64_t> km = digits(9);
  skip_blanks();
  if (!km || i == group.size() || group[i] != '+') return std::nullopt;
  ++i;
  skip_blanks();
  const size_t start = i;
  const std::optional<int64_t> metres = digits(3);
  if (!metres || i - start != 3) return std::nullopt;
  skip_blanks();
  if (i != group.size()) return std::nullopt;
  return *km * 1000 + *metres;
}

std::optional<int64_t> given_or(const std::optional<int32_t>& given,
                                const std::optional<int64_t>& otherwise) {
  return given ? std::optional<int64_t>(*given) : otherwise;
}

std::string trimmed(std::string_view text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return "";
  return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

}  // namespace

StationRole role_of(size_t index, size_t count) {
  if (index == 0) return StationRole::origin;
  return index + 1 == count ? StationRole::terminus : StationRole::intermediate;
}

const StationDetails* details_of(const DocumentDetails& details, const RouteStation& station) {
  const std::string name = capitals(station.name);
  for (const StationDetails& d : details.stations) {
    if (capitals(trimmed(d.name)) == name) return &d;
  }
  return nullptr;
}

TimeColumn station_time(const RouteStation& station, StationRole role, const StationDetails* d) {
  const StationDetails none;
  if (!d) d = &none;
  const std::optional<int64_t> scheduled =
      station.time > 0 ? std::optional<int64_t>(station.time) : std::nullopt;
  TimeColumn column;
  column.mark = d->mark;
  if (role == StationRole::origin) {
    column.form = TimeForm::departure;
    column.first = given_or(d->departure, scheduled);
  } else if (role == StationRole::terminus) {
    column.form = TimeForm::arrival;
    column.first = given_or(d->arrival, scheduled);
  } else if (d->time) {
    column.form = TimeForm::passing;
    column.first = d->time;
  } else if (d->arrival || d->departure || station.dwell > 0) {
    column.form = TimeForm::stop;
    column.second = given_or(d->departure, scheduled);
    if (d->arrival) {
      column.first = d->arrival;
    } else if (column.second && station.dwell > 0) {
      column.first = *column.second - station.dwell;
    }
  } else {
    column.form = TimeForm::passing;
    column.first = scheduled;
  }
  return column;
}

BoardName board_name(std::string_view text, int64_t chainage) {
  const std::optional<std::vector<std::string>> groups = groups_of(text);
  if (!groups) return {trimmed(text), chainage};
  std::string words;
  for (const std::string& group : *groups) {
    if (const std::optional<int64_t> metres = chainage_group(group)) {
      chainage = *metres;
      continue;
    }
    const std::string word = trimmed(group);
    if (!word.empty()) words += (words.empty() ? "" : " ") + word;
  }
  return {words.empty() ? "Km " + kilometres_text(chainage) : words, chainage};
}

std::vector<SheetRow> train_sheet_rows(const BuildContext& ctx,
                                       const std::vector<RouteStation>& stations,
                                       const DocumentDetails& details) {
  const Chainage chainage(ctx.tabella);
  std::vector<PlacedRow> rows;
  for (size_t i = 0; i < stations.size(); ++i) {
    const RouteStation& s = stations[i];
    const StationDetails* d = details_of(details, s);
    SheetRow row;
    row.chainage = chainage.at(s.position);
    row.place = capitals(s.name);
    row.time = station_time(s, role_of(i, stations.size()), d);
    row.recovery = d ? d->recovery : 0;
    rows.push_back({s.position, std::move(row)});
  }
  if (stations.empty()) return {};
  std::vector<Place> boards = indication_boards(ctx, chainage);
  std::vector<Place> signals = protection_signals(ctx, stations, chainage);
  for (const LimitChange& change :
       limit_changes(ctx, stations.front().position, stations.back().position)) {
    PlacedRow* station_row = nullptr;
    for (size_t i = 0; i < stations.size(); ++i) {
      const int64_t d = std::llabs(int64_t{stations[i].position} - change.position);
      if (d <= kSameRowDistance && rows[i].row.limit == 0 &&
          (!station_row || d < std::llabs(station_row->position - change.position))) {
        station_row = &rows[i];
      }
    }
    if (station_row) {
      station_row->row.limit = change.limit;
      continue;
    }
    Place* place = nearest(boards, change.position, kBoardDistance);
    if (!place) place = nearest(signals, change.position, kSameRowDistance);
    std::optional<Place> post;
    if (!place && (post = kilometre_post_near(chainage, change.position))) place = &*post;
    Place at_change{change.position, "", chainage.at(change.position)};
    if (!place) {
      at_change.text = "Km " + kilometres_text(at_change.chainage);
      place = &at_change;
    }
    place->used = true;
    SheetRow row;
    row.limit = change.limit;
    row.chainage = place->chainage;
    row.place = place->text;
    rows.push_back({place->position, std::move(row)});
  }
  std::stable_sort(rows.begin(), rows.end(),
                   [](const PlacedRow& a, const PlacedRow& b) { return a.position < b.position; });
  std::vector<SheetRow> sheet;
  for (PlacedRow& r : rows) sheet.push_back(std::move(r.row));
  return sheet;
}

}  // namespace scenario
