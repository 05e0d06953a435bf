// The two source files of a recovered scenario in the layout `scenarioc emit`
// writes: the sections in their order, one record a line with its values in
// the built-in scenario's columns, the files ending with "[fine]".
#pragma once

#include "compiler/decompile/recovered_scenario.h"
#include "source/text_writer.h"

namespace scenario {

Righe line_source_lines(const RecoveredLine& line);
Righe train_source_lines(const RecoveredTrain& train);

}  // namespace scenario
