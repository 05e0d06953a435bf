// Pieces shared by the drawings of the report page: path data in a fixed
// number form, and the tooltip texts of objects, stations and errors.
#pragma once

#include <cstdint>
#include <string>

#include "scenarioc/output/html_writer.h"
#include "scenarioc/report/report_model.h"

namespace scenario {

// Path data "M x y L x y ...", numbers with a fixed number of decimals.
class PathData {
 public:
  explicit PathData(int decimals) : decimals_(decimals) {}
  void move_to(double x, double y);
  void line_to(double x, double y);
  // A dot: a path of no length, which a round cap draws as a disc.
  void dot(double x, double y);
  bool empty() const { return d_.empty(); }
  const std::string& str() const { return d_; }

 private:
  void point(char command, double x, double y);
  int decimals_;
  std::string d_;
};

// The tooltip of an object: what it is, where, its values in units, the
// values in force over its cell, its source record and its diagnostics; one
// line each, the first line the title.
std::string object_tip(const ReportModel& model, const ReportObject& object);
std::string station_tip(const ReportModel& model, const ReportStation& station);
std::string diagnostic_tip(const ReportModel& model, const ReportDiagnostic& diagnostic);

// "km 335+200"
std::string kilometre_text(const ReportModel& model, int64_t metres);

// `<title>tip</title>`: the tooltip of the element it stands in.
void append_title(HtmlWriter& w, const std::string& tip);

}  // namespace scenario
