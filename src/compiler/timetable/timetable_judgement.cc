#include "compiler/timetable/timetable_judgement.h"

namespace scenario::timetable {
namespace {

// Percent of the running time by the train's top speed (km/h, upper ends).
struct MarginBand {
  double up_to_kmh;
  double percent;
};
constexpr MarginBand kMarginBands[] = {{140, 3}, {160, 4}, {200, 5}, {250, 6}};
constexpr double kMarginPercentAbove = 7;
constexpr double kMarginSecondsPer100Km = 90;  // 1.5 min per 100 km, locomotive-hauled
constexpr double kShortestRunWithDistanceMargin = 30000;

}  // namespace

bool cannot_be_kept(const Section& s) { return s.scheduled_s < s.minimum_s; }

double recovery_margin_percent(double top_speed_kmh) {
  for (const MarginBand& b : kMarginBands) {
    if (top_speed_kmh <= b.up_to_kmh) return b.percent;
  }
  return kMarginPercentAbove;
}

double recommended_section_margin_s(const Section& s, double top_speed_kmh) {
  return s.running_s * recovery_margin_percent(top_speed_kmh) / 100;
}

double distance_margin_s(double distance_m) {
  if (distance_m <= kShortestRunWithDistanceMargin) return 0;
  return kMarginSecondsPer100Km * distance_m / 100000;
}

double recommended_run_margin_s(const Section& whole, double top_speed_kmh) {
  return recommended_section_margin_s(whole, top_speed_kmh) + distance_margin_s(whole.distance_m);
}

Verdict judge(const Section& s, double top_speed_kmh) {
  if (cannot_be_kept(s)) return Verdict::cannot_be_kept;
  if (s.margin_s < recommended_section_margin_s(s, top_speed_kmh)) {
    return Verdict::short_of_recovery_margin;
  }
  return Verdict::kept;
}

Verdict judge_run(const Section& whole, double top_speed_kmh) {
  if (whole.margin_s < recommended_run_margin_s(whole, top_speed_kmh)) {
    return Verdict::short_of_recovery_margin;
  }
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
