// Where the tool finds the train that the running-time calculation drives:
// a train-model file given on the command line, or the one beside a
// scenario's train file (NAME_NUMBER_model.txt), or the model's defaults.
#pragma once

#include <filesystem>
#include <optional>

#include "compiler/timetable/train_model.h"
#include "scenarioc/scenario_inputs.h"

namespace scenario {

// The model a train-model file describes. Throws RunTimeFailure naming the
// file (and the line, for what its text gets wrong).
timetable::TrainModel train_model_in(const std::filesystem::path& file);

// The model of `scenario`: its file NAME_NUMBER_model.txt in the train file's
// folder when there is one, otherwise the defaults. Throws as train_model_in.
timetable::TrainModel train_model_of(const ScenarioFiles& scenario);

// The model file of `scenario` beside its train file, whether or not it exists.
std::filesystem::path train_model_path(const ScenarioFiles& scenario);

}  // namespace scenario
