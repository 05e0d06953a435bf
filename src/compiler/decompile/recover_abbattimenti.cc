// The abbattimento records among the abbattimento markers of the cells. The
// post-processing pass places markers of value 180 by itself, and an
// abbattimento record in a cell the pass would have used moves its marker on;
// so the records are the markers the pass, run on the other objects and the
// records, does not place. A marker without a value or with another value
// than 180 is always a record; among those of 180 the fewest records are
// looked for, running the pass again after each change: a cell the pass
// leaves empty that holds a marker becomes a record, and a marker the pass
// places where the set holds none shows that a marker before it, taken for
// the pass's, was a record that moved the pass on.
#include <cstdint>
#include <string>
#include <vector>

#include "compiler/cells.h"
#include "compiler/decompile/recovery.h"
#include "compiler/post_processing.h"

namespace scenario {
namespace {

constexpr int16_t kPassValue = 180;
constexpr int kMaxPasses = 64;  // a bound on the search, whatever the input

bool is_marker(uint8_t kind) { return kind == kAbbattimento || kind == kAbbattimentoNoValue; }

// The cells as the parser leaves them with the records of `records`: no
// marker but those, the header not yet written.
std::vector<cella> before_the_pass(const Recovery& r, const std::vector<bool>& records) {
  std::vector<cella> row = r.set.percorso;
  row[1].dato1 = 0;
  row[1].dato2 = 0;
  for (size_t c = 0; c < row.size(); ++c) {
    if (is_marker(row[c].oggetto) && !records[c]) {
      row[c].oggetto = kNoObject;
      row[c].dato1 = 0;
    }
  }
  return row;
}

std::vector<cella> after_the_pass(const Recovery& r, const std::vector<bool>& records) {
  BuildContext ctx;
  ctx.percorso = before_the_pass(r, records);
  run_post_processing(ctx);
  return std::move(ctx.percorso);
}

bool same_marker(const cella& want, const cella& got) {
  return want.oggetto == got.oggetto && (want.oggetto != kAbbattimento || want.dato1 == got.dato1);
}

// One change to `records` that brings the pass closer to the set; false when
// there is nothing left to change.
bool change_records(const Recovery& r, const std::vector<cella>& got, std::vector<bool>& records) {
  const int32_t n = r.n();
  // A marker the pass places where the set holds none: the nearest marker
  // before it that the pass placed was a record.
  for (int32_t c = 0; c <= n; ++c) {
    if (got[c].oggetto != kAbbattimento || is_marker(r.cell(c).oggetto)) continue;
    for (int32_t b = c - 1; b >= 0; --b) {
      if (!records[b] && is_marker(r.cell(b).oggetto) && got[b].oggetto == kAbbattimento) {
        records[b] = true;
        return true;
      }
    }
    return false;
  }
  for (int32_t c = 0; c <= n; ++c) {
    if (is_marker(r.cell(c).oggetto) && !records[c] && !same_marker(r.cell(c), got[c])) {
      records[c] = true;
      return true;
    }
  }
  return false;
}

bool pass_matches(const Recovery& r, const std::vector<cella>& got) {
  for (int32_t c = 0; c <= r.n(); ++c) {
    const bool marker = is_marker(r.cell(c).oggetto) || is_marker(got[c].oggetto);
    if (marker && !same_marker(r.cell(c), got[c])) return false;
  }
  return true;
}

}  // namespace

void recover_abbattimenti(Recovery& r) {
  std::vector<bool> records(r.set.percorso.size(), false);
  bool any = false;
  for (int32_t c = 0; c <= r.n(); ++c) {
    const cella& cell = r.cell(c);
    if (!is_marker(cell.oggetto)) continue;
    any = true;
    records[c] = cell.oggetto == kAbbattimentoNoValue || cell.dato1 != kPassValue;
  }
  bool matched = !any;
  for (int pass = 0; !matched && pass < kMaxPasses; ++pass) {
    const std::vector<cella> got = after_the_pass(r, records);
    matched = pass_matches(r, got);
    if (!matched && !change_records(r, got, records)) break;
  }
  if (!matched) {
    r.notes.push_back("the abbattimento markers of " + r.set.files.route_cells_name +
                      " are not those the post-processing pass places around the slowdowns "
                      "with any choice of abbattimento records; the markers it does not place "
                      "are written as records");
  }
  for (int32_t c = 0; c <= r.n(); ++c) {
    if (!is_marker(r.cell(c).oggetto)) continue;
    r.explain(c);
    if (!records[c]) continue;
    // A record at p goes to cell_before(p), and p may not pass last_record_position(n).
    if (c > r.n() - 2) {
      r.fail_at_cell(c,
                     "an abbattimento marker that the post-processing pass does not place, "
                     "beyond the last cell an abbattimento record may take (" +
                         std::to_string(r.n() - 2) + ")");
    }
    const int16_t value = r.cell(c).oggetto == kAbbattimentoNoValue ? 0 : r.cell(c).dato1;
    // A record's value above 0 is kept in its low 16 bits.
    const int32_t written =
        value > 0 || r.cell(c).oggetto == kAbbattimentoNoValue ? value : int32_t{value} + 65536;
    r.scenario.train.abbattimenti.push_back({static_cast<int32_t>(cell_end(c)), written});
  }
}

}  // namespace scenario
