#include "documents/slowdown_rows.h"

#include <algorithm>

namespace scenario {
namespace {

constexpr int64_t kKilometre = 1000;
constexpr const char* kNoStation = "xxxxxx";

struct Stretch {
  int64_t from = 0;
  int64_t to = 0;
};

bool inside(const Stretch& s, const RouteStation& station) {
  return s.from >= station.zone_from && s.to <= station.zone_to;
}

bool overlaps(const Stretch& s, const RouteStation& station) {
  return s.from < station.zone_to && station.zone_from < s.to;
}

// The station whose zone holds the whole stretch; null when none.
const RouteStation* station_holding(const Stretch& s, const std::vector<RouteStation>& stations) {
  for (const RouteStation& station : stations) {
    if (inside(s, station)) return &station;
  }
  return nullptr;
}

// "A - B": the last station at or before the start and the first at or after
// the end; a stretch before the first station or beyond the last names the
// one it lies next to.
std::string enclosing_stations(const Stretch& s, const std::vector<RouteStation>& stations) {
  if (stations.empty()) return std::string(kNoStation) + " - " + kNoStation;
  const RouteStation* before = &stations.front();
  const RouteStation* after = &stations.back();
  for (const RouteStation& station : stations) {
    if (station.position <= s.from) before = &station;
  }
  for (auto it = stations.rbegin(); it != stations.rend(); ++it) {
    if (it->position >= s.to) after = &*it;
  }
  if (before == after) return capitals(before->name);
  return capitals(before->name) + " - " + capitals(after->name);
}

bool covers_station(const Stretch& s, const std::vector<RouteStation>& stations) {
  return std::any_of(stations.begin(), stations.end(),
                     [&s](const RouteStation& station) { return overlaps(s, station); });
}

int64_t floor_km(int64_t metres) {
  const int64_t q = metres / kKilometre;
  return (metres % kKilometre != 0 && metres < 0) ? q - 1 : q;
}

}  // namespace

int64_t kilometre_post_before(const Chainage& chainage, int32_t metres) {
  const std::vector<KilometrePost> posts = chainage.kilometre_posts(std::min(0, metres), metres);
  if (!posts.empty()) return posts.back().kilometre;
  // No post between the route's start and here: the one behind the start.
  const ChainageReference* reference = &chainage.references().front();
  for (const ChainageReference& r : chainage.references()) {
    if (r.from <= metres) reference = &r;
  }
  const int64_t at = chainage.at(metres);
  return reference->decreasing ? -floor_km(-at) : floor_km(at);
}

std::vector<OrderRow> slowdown_rows(const BuildContext& ctx,
                                    const std::vector<RouteStation>& stations) {
  std::vector<SlowdownRecord> slowdowns = ctx.trail.rallentamenti;
  std::stable_sort(slowdowns.begin(), slowdowns.end(),
                   [](const SlowdownRecord& a, const SlowdownRecord& b) { return a.x < b.x; });
  std::vector<Stretch> stretches;
  for (const SlowdownRecord& r : slowdowns)
    stretches.push_back({r.x, int64_t{r.x} + std::max(0, r.l)});
  const Chainage chainage(ctx.tabella);
  std::vector<OrderRow> rows;
  for (size_t i = 0; i < slowdowns.size(); ++i) {
    const SlowdownRecord& r = slowdowns[i];
    const Stretch& s = stretches[i];
    OrderRow row;
    row.number = static_cast<int32_t>(i + 1);
    row.kilometre = kilometre_post_before(chainage, r.x);
    row.speed = r.v;
    row.length = r.l;
    const RouteStation* holding = station_holding(s, stations);
    row.between = holding ? capitals(holding->name) : enclosing_stations(s, stations);
    std::vector<std::string> codes;
    if (r.f_tt != 0) codes.emplace_back("A");
    if (!holding && covers_station(s, stations)) codes.emplace_back("B");
    const bool after_previous = i > 0 && s.from - stretches[i - 1].to <= kContiguousGap;
    const bool before_next =
        i + 1 < stretches.size() && stretches[i + 1].from - s.to <= kContiguousGap;
    if (after_previous || before_next) codes.emplace_back("D");
    for (const std::string& code : codes) {
      row.prescriptions += (row.prescriptions.empty() ? "" : " ") + code;
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

std::string line_name(const std::vector<RouteStation>& stations) {
  if (stations.empty()) return std::string(kNoStation) + " - " + kNoStation;
  return capitals(stations.front().name) + " - " + capitals(stations.back().name);
}

}  // namespace scenario
