#include "compiler/timetable/timetable_warnings.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "base/run_time_failure.h"
#include "compiler/timetable/duration_text.h"
#include "compiler/timetable/run_input_from_build.h"
#include "compiler/timetable/timetable_judgement.h"
#include "compiler/timetable/timetable_sections.h"

namespace scenario::timetable {
namespace {

// What a section needs or is recommended is rounded up, what it has down, so
// that a shortfall always reads as one.
std::string needed(double seconds) { return duration_text(std::llround(std::ceil(seconds))); }
std::string had(double seconds) { return duration_text(std::llround(std::floor(seconds))); }

std::string percent_text(double percent) {
  char text[16];
  std::snprintf(text, sizeof text, "%g %%", percent);
  return text;
}

std::string kilometres_text(double metres) {
  char text[24];
  std::snprintf(text, sizeof text, "%.1f km", metres / 1000);
  return text;
}

class TimetableWarnings {
 public:
  TimetableWarnings(BuildContext& ctx, const RunInput& input, const TimetableCheck& check)
      : ctx_(ctx), input_(input), check_(check) {}

  // The whole run is told only when every section is kept: its warning is
  // then about the time per distance that no section owes.
  void add_all() {
    bool every_section_kept = true;
    for (const Section& s : check_.sections) every_section_kept &= add_section(s);
    if (!check_.sections.empty() && every_section_kept &&
        judge_run(check_.whole, check_.top_speed_kmh) == Verdict::short_of_recovery_margin) {
      add_run_margin(check_.whole);
    }
  }

 private:
  std::string name(int32_t station) const { return quote_text(input_.stations[station].name); }
  SourceLocation line_of(int32_t station) const {
    return ctx_.trail.entry_sources[input_.stations[station].entry];
  }
  std::string between(const Section& s, const char* what) const {
    return std::string("the ") + what + " from " + name(s.from) + " to " + name(s.to);
  }
  Note start_note(const Section& s, const char* what) const {
    return {line_of(s.from), std::string("the ") + what + " starts at " + name(s.from)};
  }

  // Whether the section is kept (no warning).
  bool add_section(const Section& s) {
    const Verdict verdict = judge(s, check_.top_speed_kmh);
    if (verdict == Verdict::cannot_be_kept) {
      record(WarningClass::running_time, s,
             between(s, "section") + " cannot be kept: needs " + needed(s.minimum_s) + ", has " +
                 had(s.scheduled_s) +
                 " (the fastest run of the train under the scenario's limits, its stops "
                 "included); give " +
                 name(s.to) + " a later time, or raise the limits on the way",
             "section");
    } else if (verdict == Verdict::short_of_recovery_margin) {
      record(WarningClass::recovery_margin, s,
             between(s, "section") + " leaves a recovery margin of " + had(s.margin_s) +
                 ", less than the " +
                 needed(recommended_section_margin_s(s, check_.top_speed_kmh)) +
                 " recommended for passenger trains (" + share_of(s) + speed_text() + "); give " +
                 name(s.to) + " a later time",
             "section");
    }
    return verdict == Verdict::kept;
  }

  void add_run_margin(const Section& whole) {
    std::string basis = share_of(whole);
    if (distance_margin_s(whole.distance_m) > 0) {
      basis += " and 1.5 min per 100 km over " + kilometres_text(whole.distance_m);
    }
    record(WarningClass::recovery_margin, whole,
           between(whole, "run") + " leaves a recovery margin of " + had(whole.margin_s) +
               ", less than the " + needed(recommended_run_margin_s(whole, check_.top_speed_kmh)) +
               " recommended for passenger trains (" + basis + speed_text() + "); give " +
               name(whole.to) + " a later time",
           "run");
  }

  // "5 % of its running time of 13 min 21 s"
  std::string share_of(const Section& s) const {
    return percent_text(recovery_margin_percent(check_.top_speed_kmh)) +
           " of its running time of " + had(s.running_s);
  }
  std::string speed_text() const {
    return ", for a train running up to " + std::to_string(std::llround(check_.top_speed_kmh)) +
           " km/h";
  }

  void record(WarningClass kind, const Section& s, std::string message, const char* what) {
    Warning warning;
    warning.kind = kind;
    warning.where = line_of(s.to);
    warning.message = std::move(message);
    warning.notes.push_back(start_note(s, what));
    record_warning(ctx_.trail, std::move(warning));
  }

  BuildContext& ctx_;
  const RunInput& input_;
  const TimetableCheck& check_;
};

}  // namespace

void add_timetable_warnings(BuildContext& ctx, const TrainModel& model) {
  if (!ctx.trail.recordings.empty() || !ctx.has_cell_row()) return;
  RunInput input;
  TimetableCheck check;
  try {
    input = run_input_from(ctx);
    check = check_timetable(input, model);
  } catch (const RunTimeFailure&) {
    return;  // a run that cannot be made has nothing to judge
  }
  TimetableWarnings(ctx, input, check).add_all();
}

}  // namespace scenario::timetable
