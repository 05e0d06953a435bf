// The plan of the report page: the track axis seen from above, north up, with
// its kilometre posts, stations, tunnels, start and end, and the errors.
#pragma once

#include <string>

#include "scenarioc/output/html_writer.h"
#include "scenarioc/report/report_model.h"

namespace scenario {

// The plan's frame in SVG coordinates (x east, y south): x, y, width, height.
struct PlanFrame {
  double x = 0, y = 0, width = 1, height = 1;
};
PlanFrame plan_frame(const ReportModel& model);

// Appends the plan as an inline SVG element with the id "plan".
void append_plan_svg(HtmlWriter& w, const ReportModel& model);

}  // namespace scenario
