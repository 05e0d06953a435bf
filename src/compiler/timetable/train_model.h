// The train that the running-time calculation drives: an electric locomotive
// hauling passenger cars. The defaults describe a typical four-axle electric
// locomotive and long-distance coaches; docs/timetable.md gives their origin.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace scenario::timetable {

struct TrainModel {
  // The locomotive.
  double locomotive_mass_t = 87.0;
  double locomotive_length_m = 19.6;
  double power_kw = 5600.0;  // at the rail
  double max_tractive_effort_kn = 300.0;
  double max_speed_kmh = 200.0;
  double locomotive_rotating_share = 0.15;  // rotating masses as a share of the static mass
  // Running resistance A + B·v + C·v² of the locomotive, v in m/s.
  double locomotive_resistance_a_kn = 1.6;
  double locomotive_resistance_b_kn_per_ms = 0.02;
  double locomotive_resistance_c_kn_per_ms2 = 0.0065;

  // One car.
  double car_mass_t = 45.0;
  double car_length_m = 26.4;
  double car_rotating_share = 0.04;
  double car_resistance_a_kn = 0.65;
  double car_resistance_b_kn_per_ms = 0.009;
  double car_resistance_c_kn_per_ms2 = 0.0011;

  // The share of the brake deceleration the driver uses: 1 is the full
  // service brake of the brake model.
  double braking_share = 1.0;
  // The braked-weight percentage taken when a scenario gives none (0).
  int32_t braked_weight_percent_if_none = 100;
};

// A value of the model by its name, the name a train-model file gives it:
// a real number, or a whole number where `whole` is set.
struct TrainModelField {
  const char* name;
  double TrainModel::*real;
  int32_t TrainModel::*whole;
};
// Every value of TrainModel, in the order of its members.
const std::vector<TrainModelField>& train_model_fields();

// A value out of its range: the field's name and what is wrong with it.
struct TrainModelFault {
  std::string field;
  std::string message;  // "power_kw is -5; it must lie above 0 to 50000"
};
std::vector<TrainModelFault> train_model_faults(const TrainModel& model);

// One message per value out of its range, naming the value; empty when the
// model can be run.
std::vector<std::string> check_train_model(const TrainModel& model);

// Throws RunTimeFailure with every message of check_train_model, if any.
void require_valid_train_model(const TrainModel& model);

// Locomotive plus `cars` cars, in metres.
double train_length_m(const TrainModel& model, int32_t cars);

}  // namespace scenario::timetable
