#include "compiler/timetable/train_model.h"

#include <cmath>

#include "base/run_time_failure.h"

namespace scenario::timetable {
namespace {

// The ETCS conversion model is defined for braked-weight percentages 30 to 250.
constexpr int32_t kLowestBrakedWeight = 30;
constexpr int32_t kHighestBrakedWeight = 250;

struct Range {
  const char* name;
  double value;
  double lowest;
  double highest;
  bool lowest_allowed;  // false: the value must lie above `lowest`
};

// A value as a reader writes it: 87, 0.15, never 87.000000.
std::string number(double x) {
  std::string text = std::to_string(x);
  if (text.find('.') == std::string::npos) return text;
  text.erase(text.find_last_not_of('0') + 1);
  if (text.back() == '.') text.pop_back();
  return text;
}

std::string range_text(const Range& r) {
  return std::string(r.lowest_allowed ? "from " : "above ") + number(r.lowest) + " to " +
         number(r.highest);
}

}  // namespace

std::vector<std::string> check_train_model(const TrainModel& m) {
  const Range ranges[] = {
      {"locomotive_mass_t", m.locomotive_mass_t, 0, 1000, false},
      {"locomotive_length_m", m.locomotive_length_m, 0, 200, false},
      {"power_kw", m.power_kw, 0, 50000, false},
      {"max_tractive_effort_kn", m.max_tractive_effort_kn, 0, 2000, false},
      {"max_speed_kmh", m.max_speed_kmh, 0, 400, false},
      {"locomotive_rotating_share", m.locomotive_rotating_share, 0, 1, true},
      {"locomotive_resistance_a_kn", m.locomotive_resistance_a_kn, 0, 100, true},
      {"locomotive_resistance_b_kn_per_ms", m.locomotive_resistance_b_kn_per_ms, 0, 10, true},
      {"locomotive_resistance_c_kn_per_ms2", m.locomotive_resistance_c_kn_per_ms2, 0, 1, true},
      {"car_mass_t", m.car_mass_t, 0, 500, false},
      {"car_length_m", m.car_length_m, 0, 100, false},
      {"car_rotating_share", m.car_rotating_share, 0, 1, true},
      {"car_resistance_a_kn", m.car_resistance_a_kn, 0, 100, true},
      {"car_resistance_b_kn_per_ms", m.car_resistance_b_kn_per_ms, 0, 10, true},
      {"car_resistance_c_kn_per_ms2", m.car_resistance_c_kn_per_ms2, 0, 1, true},
      {"braking_share", m.braking_share, 0, 1, false},
  };
  std::vector<std::string> faults;
  for (const Range& r : ranges) {
    const bool above_lowest = r.lowest_allowed ? r.value >= r.lowest : r.value > r.lowest;
    if (!std::isfinite(r.value) || !above_lowest || r.value > r.highest) {
      faults.push_back(std::string(r.name) + " is " + number(r.value) + "; it must lie " +
                       range_text(r));
    }
  }
  if (m.braked_weight_percent_if_none < kLowestBrakedWeight ||
      m.braked_weight_percent_if_none > kHighestBrakedWeight) {
    faults.push_back("braked_weight_percent_if_none is " +
                     std::to_string(m.braked_weight_percent_if_none) +
                     "; the brake model takes 30 to 250");
  }
  return faults;
}

void require_valid_train_model(const TrainModel& model) {
  const std::vector<std::string> faults = check_train_model(model);
  if (faults.empty()) return;
  std::string text = "the train model cannot be run:";
  for (const std::string& f : faults) text += "\n  " + f;
  throw RunTimeFailure(text);
}

double train_length_m(const TrainModel& model, int32_t cars) {
  return model.locomotive_length_m + cars * model.car_length_m;
}

}  // namespace scenario::timetable
