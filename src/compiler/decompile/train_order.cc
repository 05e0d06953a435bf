// The order of the train file's object records. Only the approach marks
// depend on it: a signal marks the cells 2, 4, 6 and 8 before its own, a
// station below type 25 (but 5 and 6) the four before its stop mark, and where
// marks of different values fall on one cell the record written last wins.
// Records are written stations first, in the order of their entries, then the
// slowdowns, the signals by position and the abbattimento records; a record
// whose marks must give way to another's moves before it.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <queue>
#include <string>
#include <vector>

#include "base/rounding.h"
#include "compiler/cells.h"
#include "compiler/decompile/recovery.h"

namespace scenario {
namespace {

constexpr int32_t kMarkedStationKinds = 25;

struct Mark {
  int32_t cell;
  int32_t writer;  // stations first, then signals
  uint8_t value;
};

void station_marks(const Recovery& r, std::vector<Mark>& marks) {
  const auto& stations = r.scenario.train.stations;
  for (size_t i = 0; i < stations.size(); ++i) {
    const voce& e = r.set.tabella[i + 1];
    if (e.genere >= kMarkedStationKinds || e.genere == 5 || e.genere == 6) continue;
    const double mark = in_cells(e.valore2) - 1;  // cell_two_before the zone's end, unrounded
    for (int k = 1; k <= 4; ++k) {
      if (mark - k <= 1) continue;
      const auto c = static_cast<int64_t>(round_half_even(mark - k));
      if (r.in_row(c))
        marks.push_back(
            {static_cast<int32_t>(c), static_cast<int32_t>(i), static_cast<uint8_t>(80 + k)});
    }
  }
}

void signal_marks(const Recovery& r, std::vector<Mark>& marks) {
  const auto& signals = r.scenario.train.signals;
  const auto first = static_cast<int32_t>(r.scenario.train.stations.size());
  for (size_t i = 0; i < signals.size(); ++i) {
    const SignalValues& s = signals[i];
    const int64_t c = cell_of(s.posizione);
    const int64_t base = (int64_t{s.sx} * 3 + s.dx) * 10;
    for (int b = 1; b <= 4; ++b) {
      if (r.in_row(c - 2 * b)) {
        marks.push_back(
            {static_cast<int32_t>(c - 2 * b), first + static_cast<int32_t>(i), low8(base + b)});
      }
    }
  }
}

// Writers in an order where every one comes after those it must overwrite,
// the canonical order kept wherever the marks allow; empty when none exists.
std::vector<int32_t> writers_in_order(const Recovery& r, const std::vector<Mark>& marks,
                                      int32_t writers) {
  const auto stations = static_cast<int32_t>(r.scenario.train.stations.size());
  std::vector<std::vector<int32_t>> after(static_cast<size_t>(writers));
  auto edge = [&](int32_t from, int32_t to) { after[from].push_back(to); };
  for (int32_t i = 0; i + 1 < stations; ++i) edge(i, i + 1);
  if (r.scenario.train.last_station_stops && stations > 0) {
    for (int32_t w = stations; w < writers; ++w) edge(w, stations - 1);
  }
  // `marks` is ordered by cell: each cell's writers stand together.
  for (size_t i = 0; i < marks.size();) {
    size_t end = i;
    while (end < marks.size() && marks[end].cell == marks[i].cell) ++end;
    const uint8_t want = r.cell(marks[i].cell).preavviso;
    for (size_t a = i; a < end; ++a) {
      if (marks[a].value == want) continue;
      for (size_t b = i; b < end; ++b) {
        if (marks[b].value == want) edge(marks[a].writer, marks[b].writer);
      }
    }
    i = end;
  }
  // Built from the end: of the writers nothing need follow any more, the one
  // latest in the usual order goes last, so that a record moves before the
  // usual place only as far as the marks ask.
  std::vector<std::vector<int32_t>> before(static_cast<size_t>(writers));
  std::vector<int32_t> after_count(static_cast<size_t>(writers), 0);
  for (int32_t w = 0; w < writers; ++w) {
    after_count[w] = static_cast<int32_t>(after[w].size());
    for (int32_t next : after[w]) before[next].push_back(w);
  }
  std::priority_queue<int32_t> ready;
  for (int32_t w = 0; w < writers; ++w) {
    if (after_count[w] == 0) ready.push(w);
  }
  std::vector<int32_t> order;
  while (!ready.empty()) {
    const int32_t w = ready.top();
    ready.pop();
    order.push_back(w);
    for (int32_t earlier : before[w]) {
      if (--after_count[earlier] == 0) ready.push(earlier);
    }
  }
  std::reverse(order.begin(), order.end());
  if (static_cast<int32_t>(order.size()) != writers) order.clear();
  return order;
}

// Every cell's mark is the value one of its writers gives, and a cell no
// record marks holds none.
void require_marks_explained(const Recovery& r, const std::vector<Mark>& marks) {
  size_t i = 0;
  for (int32_t c = 0; c <= r.n(); ++c) {
    const uint8_t want = r.cell(c).preavviso;
    bool written = false;
    bool given = false;
    for (; i < marks.size() && marks[i].cell == c; ++i) {
      written = true;
      if (marks[i].value == want) given = true;
    }
    if (written ? !given : want != 0) {
      r.fail_at_cell(c, "the approach mark " + std::to_string(want) +
                            ", which no signal and no station's stop gives to this cell");
    }
  }
}

}  // namespace

void order_train_records(Recovery& r) {
  RecoveredTrain& train = r.scenario.train;
  std::vector<Mark> marks;
  station_marks(r, marks);
  signal_marks(r, marks);
  std::stable_sort(marks.begin(), marks.end(),
                   [](const Mark& a, const Mark& b) { return a.cell < b.cell; });
  require_marks_explained(r, marks);
  const auto stations = static_cast<int32_t>(train.stations.size());
  const auto writers = static_cast<int32_t>(stations + train.signals.size());
  std::vector<int32_t> order = writers_in_order(r, marks, writers);
  if (order.empty()) {
    r.notes.push_back("the approach marks of " + r.set.files.route_cells_name +
                      " need the signals and stations in an order that no order of their "
                      "records gives");
    for (int32_t w = 0; w < writers; ++w) order.push_back(w);
  }
  train.order.clear();
  // A station the compile stopped on comes after every other record.
  const bool last_stops = train.last_station_stops && stations > 0;
  int32_t stations_left = stations - (last_stops ? 1 : 0);
  auto add_slowdowns = [&] {
    for (size_t i = 0; i < train.slowdowns.size(); ++i) {
      train.order.push_back({TrainRecordKind::slowdown, i});
    }
  };
  if (stations_left == 0) add_slowdowns();
  for (int32_t w : order) {
    if (last_stops && w == stations - 1) continue;
    if (w < stations) {
      train.order.push_back({TrainRecordKind::station, static_cast<size_t>(w)});
      if (--stations_left == 0) add_slowdowns();
    } else {
      train.order.push_back({TrainRecordKind::signal, static_cast<size_t>(w - stations)});
    }
  }
  for (size_t i = 0; i < train.abbattimenti.size(); ++i) {
    train.order.push_back({TrainRecordKind::abbattimento, i});
  }
  if (last_stops)
    train.order.push_back({TrainRecordKind::station, static_cast<size_t>(stations - 1)});
}

}  // namespace scenario
