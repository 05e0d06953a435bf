#include "compiler/timetable/train_model.h"

#include <cmath>
#include <utility>

#include "base/run_time_failure.h"

namespace scenario::timetable {
namespace {

// The ETCS conversion model is defined for braked-weight percentages 30 to 250.
constexpr int32_t kLowestBrakedWeight = 30;
constexpr int32_t kHighestBrakedWeight = 250;

// A value as a reader writes it: 87, 0.15, never 87.000000.
std::string number(double x) {
  std::string text = std::to_string(x);
  if (text.find('.') == std::string::npos) return text;
  text.erase(text.find_last_not_of('0') + 1);
  if (text.back() == '.') text.pop_back();
  return text;
}

// Where a value may lie: from `lowest` (or above it) to `highest`.
struct Range {
  double lowest;
  double highest;
  bool lowest_allowed;  // false: the value must lie above `lowest`
};

struct FieldRange {
  TrainModelField field;
  Range range;
};

const std::vector<FieldRange>& field_ranges() {
  using M = TrainModel;
  static const std::vector<FieldRange> fields = {
      {{"locomotive_mass_t", &M::locomotive_mass_t, nullptr}, {0, 1000, false}},
      {{"locomotive_length_m", &M::locomotive_length_m, nullptr}, {0, 200, false}},
      {{"power_kw", &M::power_kw, nullptr}, {0, 50000, false}},
      {{"max_tractive_effort_kn", &M::max_tractive_effort_kn, nullptr}, {0, 2000, false}},
      {{"max_speed_kmh", &M::max_speed_kmh, nullptr}, {0, 400, false}},
      {{"locomotive_rotating_share", &M::locomotive_rotating_share, nullptr}, {0, 1, true}},
      {{"locomotive_resistance_a_kn", &M::locomotive_resistance_a_kn, nullptr}, {0, 100, true}},
      {{"locomotive_resistance_b_kn_per_ms", &M::locomotive_resistance_b_kn_per_ms, nullptr},
       {0, 10, true}},
      {{"locomotive_resistance_c_kn_per_ms2", &M::locomotive_resistance_c_kn_per_ms2, nullptr},
       {0, 1, true}},
      {{"car_mass_t", &M::car_mass_t, nullptr}, {0, 500, false}},
      {{"car_length_m", &M::car_length_m, nullptr}, {0, 100, false}},
      {{"car_rotating_share", &M::car_rotating_share, nullptr}, {0, 1, true}},
      {{"car_resistance_a_kn", &M::car_resistance_a_kn, nullptr}, {0, 100, true}},
      {{"car_resistance_b_kn_per_ms", &M::car_resistance_b_kn_per_ms, nullptr}, {0, 10, true}},
      {{"car_resistance_c_kn_per_ms2", &M::car_resistance_c_kn_per_ms2, nullptr}, {0, 1, true}},
      {{"braking_share", &M::braking_share, nullptr}, {0, 1, false}},
      {{"braked_weight_percent_if_none", nullptr, &M::braked_weight_percent_if_none},
       {kLowestBrakedWeight, kHighestBrakedWeight, true}},
  };
  return fields;
}

std::string range_text(const Range& r) {
  return std::string(r.lowest_allowed ? "from " : "above ") + number(r.lowest) + " to " +
         number(r.highest);
}

std::string fault_of(const FieldRange& f, const TrainModel& m) {
  if (f.field.whole) {
    const int32_t value = m.*f.field.whole;
    if (value >= f.range.lowest && value <= f.range.highest) return "";
    return std::string(f.field.name) + " is " + std::to_string(value) +
           "; the brake model takes 30 to 250";
  }
  const double value = m.*f.field.real;
  const Range& r = f.range;
  const bool above_lowest = r.lowest_allowed ? value >= r.lowest : value > r.lowest;
  if (std::isfinite(value) && above_lowest && value <= r.highest) return "";
  return std::string(f.field.name) + " is " + number(value) + "; it must lie " + range_text(r);
}

}  // namespace

const std::vector<TrainModelField>& train_model_fields() {
  static const std::vector<TrainModelField> fields = [] {
    std::vector<TrainModelField> list;
    for (const FieldRange& f : field_ranges()) list.push_back(f.field);
    return list;
  }();
  return fields;
}

std::vector<TrainModelFault> train_model_faults(const TrainModel& model) {
  std::vector<TrainModelFault> faults;
  for (const FieldRange& f : field_ranges()) {
    std::string message = fault_of(f, model);
    if (!message.empty()) faults.push_back({f.field.name, std::move(message)});
  }
  return faults;
}

std::vector<std::string> check_train_model(const TrainModel& model) {
  std::vector<std::string> messages;
  for (TrainModelFault& fault : train_model_faults(model)) {
    messages.push_back(std::move(fault.message));
  }
  return messages;
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
