// `scenarioc report`: compiles an author's line and train files in memory and
// writes the scenario as one self-contained HTML page.
#pragma once

#include <filesystem>
#include <istream>
#include <ostream>
#include <string>

#include "scenarioc/command_line.h"

namespace scenario {

// Returns the exit status; throws UsageFailure or RunTimeFailure.
int run_report(const CommandLine& line, std::istream& in, std::ostream& out, std::ostream& err);

// The page of two sources compiled in memory, as `report` draws it, printing
// nothing. Throws RunTimeFailure when a source cannot be read.
std::string draw_report_page(const std::filesystem::path& line_file,
                             const std::filesystem::path& train_file, const std::string& nome,
                             const std::string& treno);

}  // namespace scenario
