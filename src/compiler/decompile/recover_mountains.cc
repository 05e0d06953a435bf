// The mountain stretches from the cells' `montagna` values: one stretch for
// every run of one type, from the run's first cell to its last, with tunnel
// lights when its every fourth cell holds one (or an object placed after it).
#include <cstdint>
#include <string>
#include <vector>

#include "compiler/cells.h"
#include "compiler/decompile/recovery.h"

namespace scenario {
namespace {

constexpr int32_t kLightsAdd = 10;      // a `tipo` above 10 asks for tunnel lights
constexpr int32_t kLightSpacing = 4;    // a light in every fourth cell of the stretch
constexpr int32_t kForcedType = 3;      // the type of a stretch close after the previous one
constexpr int64_t kForcedWithin = 150;  // metres after the previous stretch's end

struct Run {
  int32_t first;
  int32_t last;
  uint8_t type;
};

enum class Lights : uint8_t { unknown, yes, no };

struct Stretch {
  int32_t first;
  int32_t last;
  Lights lights;
};

// The stretches of one run of one type. A run is one stretch unless its
// tunnel lights change their phase or stop: then, the type being 3, it is
// several, each starting right after the one before (and so forced to type 3).
class RunSplitter {
 public:
  RunSplitter(Recovery& r, const Run& run)
      : r_(r), run_(run), current_{run.first, run.first, Lights::unknown} {}

  std::vector<Stretch> stretches() {
    for (int32_t c = run_.first; c <= run_.last; ++c) look_at(c);
    if (missing_ >= 0) {
      close_before(missing_);
      current_ = {missing_, missing_, Lights::no};
    }
    current_.last = run_.last;
    done_.push_back(current_);
    return done_;
  }

 private:
  bool is_light_cell(int32_t c) const { return (c - current_.first + 1) % kLightSpacing == 0; }

  void look_at(int32_t c) {
    const uint8_t kind = r_.cell(c).oggetto;
    if (kind == kTunnelLight) {
      r_.explain(c);
      if (missing_ < 0 && is_light_cell(c) && current_.lights != Lights::no) {
        current_.lights = Lights::yes;
        last_light_ = c;
        return;
      }
      start_lit_stretch(c);
    } else if (kind == kNoObject && is_light_cell(c) && missing_ < 0) {
      // A light cell that no object took holds a light when the stretch has
      // them: a stretch with lights ended before it.
      if (current_.lights == Lights::yes) {
        missing_ = c;
      } else {
        current_.lights = Lights::no;
      }
    }
  }

  // A stretch whose fourth cell holds the light in `c` starts three cells back.
  void start_lit_stretch(int32_t c) {
    const int32_t start = c - (kLightSpacing - 1);
    if (missing_ >= 0 && start > missing_) {
      // The stretch before ended before its missing light; one without lights fills the gap.
      close_before(missing_);
      current_ = {missing_, missing_, Lights::no};
    }
    if (start <= current_.first || start <= last_light_) {
      r_.fail_at_cell(c,
                      "a tunnel light off the every-fourth-cell pattern of the mountain "
                      "stretch that starts in " +
                          cell_name(current_.first));
    }
    close_before(start);
    current_ = {start, start, Lights::yes};
    last_light_ = c;
    missing_ = -1;
  }

  void close_before(int32_t start) {
    if (run_.type != kForcedType) {
      r_.fail_at_cell(start,
                      "a mountain stretch whose tunnel lights change their phase or stop "
                      "inside cells of one type " +
                          std::to_string(run_.type) +
                          ", which only stretches forced to type 3 can give");
    }
    current_.last = start - 1;
    done_.push_back(current_);
  }

  Recovery& r_;
  const Run& run_;
  Stretch current_;
  int32_t last_light_ = -1;
  int32_t missing_ = -1;  // a light cell of a stretch with lights that holds nothing
  std::vector<Stretch> done_;
};

// Whether a stretch is written with lights: when it shows them, or, its light
// cells all taken by objects, when its type is above 10, which without lights
// would read as lights and a type 10 lower.
bool with_lights(const Stretch& stretch, uint8_t type) {
  return stretch.lights == Lights::yes || (stretch.lights == Lights::unknown && type > kLightsAdd);
}

// The `tipo` that gives a run its type and its lights. A type above 10
// without lights is written below 0, with the same low 8 bits.
int32_t tipo_of(uint8_t type, bool lights) {
  if (lights) return type + kLightsAdd;
  return type > kLightsAdd ? int32_t{type} - 256 : type;
}

// `fine` of a stretch that ends in cell `last`: the end of that cell, or, to
// leave more than 150 m before a next stretch that is not of type 3, the
// smallest value that still maps to `last`.
int64_t fine_of(int32_t last, bool close_before_next) {
  if (!close_before_next) return cell_end(last + 1);
  return cell_end(last) + (last % 2 == 0 ? 25 : 26);
}

}  // namespace

void recover_mountains(Recovery& r) {
  std::vector<Run> runs;
  for (int32_t c = 0; c <= r.n(); ++c) {
    const uint8_t type = r.cell(c).montagna;
    if (type == 0) continue;
    if (!runs.empty() && runs.back().last == c - 1 && runs.back().type == type) {
      runs.back().last = c;
    } else {
      runs.push_back({c, c, type});
    }
  }
  std::vector<MountainRecord>& mountains = r.scenario.line.mountains;
  for (size_t i = 0; i < runs.size(); ++i) {
    const Run& run = runs[i];
    const bool next_close = i + 1 < runs.size() && runs[i + 1].type != kForcedType &&
                            cell_end(runs[i + 1].first) - cell_end(run.last + 1) <= kForcedWithin;
    const std::vector<Stretch> stretches = RunSplitter(r, run).stretches();
    for (const Stretch& stretch : stretches) {
      const bool close = next_close && &stretch == &stretches.back();
      mountains.push_back({static_cast<int32_t>(cell_end(stretch.first)),
                           static_cast<int32_t>(fine_of(stretch.last, close)),
                           tipo_of(run.type, with_lights(stretch, run.type))});
    }
  }
  for (int32_t c = 0; c <= r.n(); ++c) {
    if (r.cell(c).oggetto == kTunnelLight && !r.explained(c)) {
      r.fail_at_cell(c, "a tunnel light outside every mountain stretch");
    }
  }
}

}  // namespace scenario
