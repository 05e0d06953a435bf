// The general records of both files from the header entries 81 to 86 of the
// station table: route length, chainage references, backgrounds, signal
// repetition, consist, clock and sand.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "compiler/decompile/recovery.h"
#include "compiler/decompile/table_fields.h"

namespace scenario {
namespace {

ReferenceRecord reference_of(const voce& e, bool sorted) {
  // The sort added 100 to the chainage of every reference whose flag is 1.
  const int64_t chainage = sorted && e.valore3 == 1 ? int64_t{e.valore2} - 100 : e.valore2;
  return {e.valore1, static_cast<int32_t>(chainage), e.valore3};
}

bool is_zero(const ReferenceRecord& r) { return r.position == 0 && r.chainage == 0 && r.flag == 0; }

// The sort leaves the references by position, the largest first and alone in
// first place, or (positions summing to 0) the first with a chainage above 0;
// or all three at 0.
void require_sorted(const Recovery& r, const ReferenceRecord& a, const ReferenceRecord& b,
                    const ReferenceRecord& c) {
  if (is_zero(a) && is_zero(b) && is_zero(c)) return;
  const int64_t sum = int64_t{a.position} + b.position + c.position;
  if (sum != 0) {
    if (a.position > b.position && a.position > c.position && b.position >= c.position) return;
    r.fail_at_entry(kEntryRefTre,
                    "the kilometric references at " + std::to_string(a.position) + ", " +
                        std::to_string(b.position) + " and " + std::to_string(c.position) +
                        " m are not in the order the compile sorts them in, the largest "
                        "position first (records 81 to 83)");
  }
  if (a.chainage <= 0) {
    r.fail_at_entry(kEntryRefTre,
                    "the references' positions sum to 0, so the compile puts first one whose "
                    "chainage is above 0, and record 81's is " +
                        std::to_string(a.chainage));
  }
}

void recover_references(Recovery& r) {
  const Tabella& t = r.set.tabella;
  RecoveredLine& line = r.scenario.line;
  // A parse that stopped in the general part (no track plan traced) never
  // sorted the references: entries 83, 82 and 81 hold "uno", "due" and "tre" as read.
  if (!r.set.plan.traced()) {
    line.uno = reference_of(t[kEntryRefUno], false);
    line.due = reference_of(t[kEntryRefDue], false);
    line.tre = reference_of(t[kEntryRefTre], false);
    return;
  }
  const ReferenceRecord a = reference_of(t[kEntryRefTre], true);
  const ReferenceRecord b = reference_of(t[kEntryRefDue], true);
  const ReferenceRecord c = reference_of(t[kEntryRefUno], true);
  require_sorted(r, a, b, c);
  // Written as "uno", "due", "tre", the sort gives them back in this order.
  line.uno = a;
  line.due = b;
  line.tre = c;
}

}  // namespace

void recover_general(Recovery& r) {
  const Tabella& t = r.set.tabella;
  for (int entry = kEntryRefTre; entry <= kEntryTrain; ++entry) {
    require_only_fields(r, entry, {"valore1", "valore2", "valore3"});
  }
  require_only_fields(r, kEntryScenario,
                      {"valore1", "valore2", "valore3", "testo", "colonna7", "orario"});
  require_only_fields(r, kEntrySignals,
                      {"valore1", "valore2", "valore3", "testo", "colonna7", "colonna10",
                       "colonna11", "colonna12"});

  RecoveredLine& line = r.scenario.line;
  line.lunghezza = t[kEntryTrain].valore2;
  recover_references(r);
  line.sfondo_uno = t[kEntryScenario].valore1;
  line.sfondo_due = t[kEntryScenario].valore3;
  line.sfondo_tre = t[kEntryScenario].valore2;
  const voce& repetition = t[kEntrySignals];
  line.repetition_start = repetition.valore1;
  line.repetition_end = repetition.valore2;
  line.repetition_codes = repetition.valore3;
  line.stops_in_general_part = !r.set.plan.traced();
  if (repetition.valore3 != 0 && repetition.valore3 != 4 && repetition.valore3 != 9) {
    r.fail_at_entry(kEntrySignals, "valore3, the number of codes of the signal repetition, is " +
                                       std::to_string(repetition.valore3) +
                                       ", where a compile stores 4, 9 or 0");
  }
  if (repetition.valore3 != 0 && repetition.valore2 == 0) {
    r.fail_at_entry(kEntrySignals, "a signal repetition of " + std::to_string(repetition.valore3) +
                                       " codes that ends at 0, where a compile stores 0 codes");
  }

  RecoveredTrain& train = r.scenario.train;
  train.massa_frenata = t[kEntryTrain].valore1;
  train.numero_vetture = t[kEntryTrain].valore3;
  train.sabbia = t[kEntrySignals].colonna7;
  train.clock[0] = t[kEntrySignals].colonna10;
  train.clock[1] = t[kEntrySignals].colonna11;
  train.clock[2] = t[kEntrySignals].colonna12;
}

}  // namespace scenario
