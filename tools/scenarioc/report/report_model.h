// What the report page shows of one compiled scenario, computed from the
// compilation: the plan, the values along the route, every
// object with its values in units and the source record that placed it, the
// stations and the diagnostics.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "compiler/chainage.h"
#include "compiler/compile.h"
#include "compiler/format/object_values.h"
#include "compiler/scenario_records.h"
#include "compiler/source_files.h"
#include "scenarioc/report/plan_simplify.h"
#include "scenarioc/report/report_documents.h"
#include "scenarioc/report/report_run.h"

namespace scenario {

// Every metre of the plan lies within this of the polyline drawn: a tenth of
// a pixel at the closest zoom of the page (2 pixels a metre), with the
// coordinates written to 0.1 m.
constexpr double kPlanTolerance = 0.1;

// A source record: its file's name (without folder) and line; no file when unknown.
struct SourceRef {
  std::string file;
  int64_t line = 0;
  int32_t column = 0;
  bool known() const { return !file.empty(); }
  std::string text() const;  // "FILE:LINE", or "" when unknown
};

// A stretch of the route, [from, to) in route metres, with one value.
struct Run {
  int32_t from = 0;
  int32_t to = 0;
  int32_t value = 0;
};

// The elevation relative to the route's start, integrated from the gradients.
struct ElevationPoint {
  int32_t metres = 0;
  int64_t millimetres = 0;
};

// One object of the route cells: the cell's final object.
struct ReportObject {
  uint8_t oggetto = kNoObject;
  cella raw;  // the cell as compiled
  int32_t cell = 0;
  int32_t metres = 0;         // where the cell stands: (cell - 1) × 50
  std::string title;          // "signal"
  std::string label;          // a few characters drawn beside it, or nothing
  std::vector<Fact> facts;    // the object's own values
  std::vector<Fact> stretch;  // the values in force over its cell
  SourceRef source;
  bool automatic = false;  // placed by the post-processing pass, not by a record
  int32_t slowdown = -1;   // the slowdown it belongs to, an index into `slowdowns`
  std::vector<int32_t> diagnostics;
};

struct ReportStation {
  int entry = 0;  // its entry of `tabella`
  std::string name;
  int32_t position = 0;
  int64_t chainage = 0;
  int32_t zone_from = 0;
  int32_t zone_to = 0;
  int genere = 0;
  int stop_seconds = 0;
  int32_t time = 0;          // seconds of the day, 0 = none
  bool arrival = false;      // the time is an arrival (the last station)
  int32_t mark_object = -1;  // its station mark, an index into `objects`
  std::vector<Fact> codes;   // the station codes kept for the simulator
  SourceRef source;
  PlanPoint plan;
  std::vector<int32_t> diagnostics;
  bool stops() const { return stop_seconds > 0 || time != 0; }
};

struct ReportSlowdown {
  int32_t start = 0;
  int32_t end = 0;       // the end cell's position; start when it has none
  int32_t warning = -1;  // the warning board's position, -1 when none
  int32_t speed = 0;
  SourceRef source;
};

// A recorded error or a warning, with its notes.
struct ReportDiagnostic {
  std::string severity;  // "error" or "warning"
  std::string name;      // an error's number, a warning's class
  SourceRef source;
  std::string message;
  std::vector<std::string> notes;   // "FILE:LINE: message" or "message"
  bool after_stop = false;          // found by reading on past the point where the compile stopped
  std::optional<int32_t> position;  // route metres
  int32_t object = -1;              // the object it concerns, -1 when none
  int32_t station = -1;             // the station it concerns, -1 when none
  PlanPoint plan;                   // where `position` lies on the plan
  // "FILE:LINE:COL: error 16: message", "FILE:LINE:COL: warning: message [-Wname]"
  std::string text() const;
};

struct ReportModel {
  std::string nome;
  std::string treno;
  std::vector<std::string> source_files;  // the line file's and the train file's names
  bool has_cell_row = false;
  int32_t route_length = 0;
  int32_t first_metres = 0;  // the extent of the drawing along the route
  int32_t last_metres = 0;
  std::vector<Fact> scenario_facts;  // consist, clock, sand, signal repetition, ...
  Chainage chainage{std::vector<ChainageReference>{}};

  std::vector<PlanPoint> plan;  // the simplified track axis, metres ascending
  std::vector<KilometrePost> kilometre_posts;
  std::vector<PlanPoint> kilometre_points;  // where each post lies on the plan
  PlanPoint plan_start, plan_route_end;

  std::vector<Run> speed_limit;  // km/h
  std::vector<Run> gradient;     // ‰
  std::vector<Run> adhesion;
  std::vector<Run> mountain;        // mountain type, stretches of 0 left out
  std::vector<Run> board_speed[3];  // km/h of categories A, B, C from the boards
  int board_category = 0;           // the category the train runs in: 0 = A, 1 = B, 2 = C
  std::optional<Run> repetition;    // the stretch of signal repetition, its number of codes
  std::vector<ElevationPoint> elevation;

  std::vector<ReportObject> objects;  // in cell order
  std::vector<ReportStation> stations;
  std::vector<ReportSlowdown> slowdowns;
  std::vector<ReportDiagnostic> diagnostics;
  ShownDocuments documents;  // filled by the command, which knows the details file
  ReportRun run;

  // How many objects of a kind the cells hold.
  int count(uint8_t oggetto) const;
};

// `read_on`, when given, is a compile of the same sources that read on past
// errors, as `scenarioc check` does: the errors it found after the point where
// `compiled` stopped are listed too.
ReportModel build_report_model(const Compilation& compiled, const SourceFiles& sources,
                               const Compilation* read_on = nullptr);

// Where cell c's stretch starts, in the report's metres: (c - 1) × 50.
inline int32_t cell_start_metres(int64_t cell) { return static_cast<int32_t>(cell_start(cell)); }

}  // namespace scenario
