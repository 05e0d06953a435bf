// The train-model file: a few lines of NAME = VALUE that override the
// defaults of TrainModel for one scenario, with # comments and blank lines.
#pragma once

#include <string>
#include <string_view>

#include "compiler/timetable/train_model.h"

namespace scenario::timetable {

// The model `text` describes, starting from TrainModel's defaults. Throws
// RunTimeFailure "FILE:LINE: reason" (FILE is `file_name`) for a line that is
// not NAME = VALUE, an unknown or repeated name, a value that is no number or
// out of its range.
TrainModel read_train_model(std::string_view text, const std::string& file_name);

}  // namespace scenario::timetable
