#include "scenarioc/timetable/timetable_command.h"

#include <string>

#include "base/file_naming.h"
#include "base/run_time_failure.h"
#include "compiler/timetable/run_input_from_build.h"
#include "scenarioc/author_compile.h"
#include "scenarioc/command_exit.h"
#include "scenarioc/commands.h"
#include "scenarioc/decompile/compiled_set_files.h"
#include "scenarioc/output/colour.h"
#include "scenarioc/output/compile_report.h"
#include "scenarioc/scenario_inputs.h"
#include "scenarioc/timetable/timetable_table.h"
#include "scenarioc/timetable/train_model_files.h"

namespace scenario {
namespace {

timetable::TrainModel model_for(const CommandLine& line, const ScenarioFiles& scenario) {
  if (line.model) return train_model_in(path_from_utf8(*line.model));
  return train_model_of(scenario);
}

// A compile that recorded an error leaves no route to run over: its
// diagnostics as compile prints them, and the failure.
void require_clean_compile(AuthorCompile& compiled, std::ostream& err) {
  const Compilation& c = compiled.compilation();
  if (c.trail.recordings.empty() && !c.result.cell_row_missing) return;
  Presentation presentation;
  presentation.colour = colour_wanted_for(ColourMode::automatic, StandardStream::err);
  err << diagnostics_text(compiled.outcome(), compiled.lines(), presentation);
  throw RunTimeFailure(
      "the compile recorded errors: the timetable needs a scenario that compiles "
      "without them");
}
// The table of a scenario compiled with `model`.
int print_timetable(const CommandLine& line, AuthorCompile& compiled,
                    const timetable::TrainModel& model, std::ostream& out, std::ostream& err) {
  compiled.compile();
  require_clean_compile(compiled, err);
  const timetable::RunInput input = timetable::run_input_from(compiled.compilation());
  const timetable::TimetableCheck check = timetable::check_timetable(input, model);
  for (const std::string& note : check.run.notes) err << "scenarioc: note: " << note << "\n";
  if (line.json) {
    out << timetable_json(check);
  } else if (line.csv) {
    out << timetable_csv(check);
  } else {
    out << timetable_text(check);
  }
  return any_section_cannot_be_kept(check) ? kExitRecorded : kExitOk;
}

// A compiled set in place of the sources: the timetable of the sources that
// `decompile` writes for it, with the model file beside them when there is one.
int timetable_of_compiled_set(const CommandLine& line, std::ostream& out, std::ostream& err) {
  CompileOptions options;
  if (line.model) options.timetable = train_model_in(path_from_utf8(*line.model));
  CompiledSetScenario set = compiled_set_scenario(line, options);
  for (const DecompileWarning& w : set.warnings) {
    err << "scenarioc timetable: warning: " << w.message << '\n';
  }
  const timetable::TrainModel model =
      options.timetable ? *options.timetable : train_model_of(set.scenario);
  return print_timetable(line, *set.compiled, model, out, err);
}

}  // namespace

int run_timetable(const CommandLine& line, std::istream&, std::ostream& out, std::ostream& err) {
  if (line.json && line.csv) throw UsageFailure("--json and --csv cannot be given together");
  if (names_compiled_set(line.files)) return timetable_of_compiled_set(line, out, err);
  const ScenarioFiles scenario = given_scenario_files(line);
  const timetable::TrainModel model = model_for(line, scenario);
  AuthorCompile compiled(scenario, {.timetable = model});
  return print_timetable(line, compiled, model, out, err);
}

}  // namespace scenario
