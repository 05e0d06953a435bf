#include "compiler/decompile/decompile.h"

#include <string>
#include <vector>

#include "base/run_time_failure.h"
#include "compiler/decompile/plan_curves.h"
#include "compiler/decompile/recovery.h"
#include "compiler/decompile/round_trip.h"
#include "compiler/decompile/scenario_text.h"
#include "source/text_writer.h"

namespace scenario {
namespace {

void recover_curves(Recovery& r) {
  const TrackPlanView& plan = r.set.plan;
  if (!plan.traced()) {
    r.notes.push_back(r.set.files.track_plan_name +
                      ": no metre is traced, as after a compile that stopped on an error in the "
                      "general part of the line file");
    r.scenario.line.stops_in_general_part = true;
    return;
  }
  std::vector<PlanRun> runs;
  try {
    runs = plan_runs(plan);
  } catch (const RunTimeFailure& failure) {
    fail_in(r.set.files.track_plan_name, failure.what());
  }
  r.scenario.line.curves = curve_records(runs);
  // The end of the line file traces the rest of the plan straight; a compile
  // that stopped on an error in the object part (after its last curve) never did.
  if (plan.last_traced_metre() < plan.metri_totali() - 2) {
    r.notes.push_back(r.set.files.track_plan_name + ": traced only to metre " +
                      std::to_string(plan.last_traced_metre()) + " of " +
                      std::to_string(plan.metri_totali() - 2) +
                      ", as after a compile that stopped on an error in the object part of the "
                      "line file");
    r.scenario.line.stops_in_object_part = runs.empty() || runs.back().curvature != 0;
  }
}

}  // namespace

DecompiledScenario sources_of(const DecodedSet& set) {
  DecompiledScenario out;
  std::vector<std::string> notes;
  const RecoveredScenario scenario = recover_scenario(set, notes);
  for (std::string& note : notes) out.warnings.push_back({std::move(note), {}});
  out.nome = set_nome(set);
  out.treno = set_treno(set);
  out.line = text_file_bytes(line_source_lines(scenario.line));
  out.train = text_file_bytes(train_source_lines(scenario.train));
  return out;
}

RecoveredScenario recover_scenario(const DecodedSet& set, std::vector<std::string>& notes) {
  Recovery r(set);
  recover_general(r);
  recover_curves(r);
  recover_profiles(r);
  recover_mountains(r);
  recover_boards(r);
  recover_stations(r);
  recover_signals(r);
  recover_slowdowns(r);
  recover_abbattimenti(r);
  order_train_records(r);
  require_every_object_explained(r);
  notes.insert(notes.end(), r.notes.begin(), r.notes.end());
  return std::move(r.scenario);
}

DecompiledScenario decompile_sources(const CompiledSet& files) {
  return sources_of(DecodedSet(files));
}

DecompiledScenario decompile(const CompiledSet& files) {
  const DecodedSet set(files);
  DecompiledScenario out = sources_of(set);
  const RoundTrip trip = compile_and_compare(set, out.line, out.train);
  out.identical = trip.identical;
  if (!trip.identical) {
    out.warnings.push_back(
        {"the sources do not compile to the same bytes: the set holds what no source gives "
         "(most likely the compile that wrote it stopped on an error); where they differ first:",
         trip.differences});
  }
  if (!trip.errors.empty()) {
    out.warnings.push_back(
        {std::string("compiling the sources records ") +
             (trip.errors.size() == 1 ? "an error"
                                      : std::to_string(trip.errors.size()) + " errors") +
             (trip.identical ? ", as the compile that wrote the set did" : ""),
         trip.errors});
  }
  return out;
}

}  // namespace scenario
