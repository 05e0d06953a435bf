// The report page: one self-contained HTML file with the plan, the profile
// bands, the errors and the station table, its style, script and data inline.
#pragma once

#include <string>

#include "scenarioc/report/report_model.h"

namespace scenario {

std::string render_report_page(const ReportModel& model);

}  // namespace scenario
