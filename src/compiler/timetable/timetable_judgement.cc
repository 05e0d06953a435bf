#include "compiler/timetable/timetable_judgement.h"

namespace scenario::timetable {
namespace {

// Percent of the running time by the highest speed (km/h, upper ends).
struct MarginBand {
  double up_to_kmh;
  double percent;
};
constexpr MarginBand kMarginBands[] = {{140, 3}, {160, 4}, {200, 5}, {250, 6}};
constexpr double kMarginPercentAbove = 7;
constexpr double kMarginSecondsPer100Km = 90;  // 1.5 min per 100 km, locomotive-hauled

}  // namespace

bool cannot_be_kept(const Section& s) { return s.scheduled_s < s.minimum_s; }

double recovery_margin_percent(double highest_limit_kmh) {
  for (const MarginBand& b : kMarginBands) {
    if (highest_limit_kmh <= b.up_to_kmh) return b.percent;
  }
  return kMarginPercentAbove;
}

double recommended_recovery_margin_s(const Section& s) {
  return s.running_s * recovery_margin_percent(s.highest_limit_kmh) / 100 +
         kMarginSecondsPer100Km * s.distance_m / 100000;
}

Verdict judge(const Section& s) {
  if (cannot_be_kept(s)) return Verdict::cannot_be_kept;
  if (s.margin_s < recommended_recovery_margin_s(s)) return Verdict::short_of_recovery_margin;
  return Verdict::kept;
}

const char* verdict_name(Verdict verdict) {
  switch (verdict) {
    case Verdict::kept:
      return "kept";
    case Verdict::short_of_recovery_margin:
      return "short of recovery margin";
    case Verdict::cannot_be_kept:
      return "cannot be kept";
  }
  return "";
}

}  // namespace scenario::timetable
