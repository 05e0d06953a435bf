#include "compiler/decompile/scenario_generator.h"

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "compiler/cells.h"
#include "source/record_lines.h"
#include "source/text_writer.h"

namespace scenario::testing {
namespace {

namespace lines = record_lines;

class Generator {
 public:
  explicit Generator(uint32_t seed) : rng_(seed) {}

  GeneratedScenario run() {
    length_ = pick(400, 5000) * 50 + (chance(8) ? pick(1, 49) : 0);
    n_ = static_cast<int32_t>(cell_before(length_ + 7000));
    taken_.assign(static_cast<size_t>(n_) + 1, false);
    taken_[0] = taken_[1] = true;  // cell 1 is the header cell: no object there
    Righe train_objects = stations();
    Righe line = line_source();
    Righe train = train_source(train_objects);
    return {text_file_bytes(line), text_file_bytes(train)};
  }

 private:
  // A whole number from lo to hi; the standard's engine, not its
  // distributions, so that every platform draws the same numbers.
  int64_t pick(int64_t lo, int64_t hi) {
    return lo + static_cast<int64_t>(rng_() % static_cast<uint64_t>(hi - lo + 1));
  }
  bool chance(int one_in) { return pick(1, one_in) == 1; }
  // A position on the 50 m grid, now and then a little off it.
  int64_t grid(int64_t cells) { return cells * 50 + (chance(10) ? pick(-20, 20) : 0); }

  int64_t last_position() const { return int64_t{50} * n_ - 100; }
  bool free_cells(std::initializer_list<int64_t> cells) const {
    for (int64_t c : cells) {
      if (c < 2 || c > n_ || taken_[c]) return false;
    }
    return true;
  }
  void take(std::initializer_list<int64_t> cells) {
    for (int64_t c : cells) taken_[c] = true;
  }

  Righe line_source() {
    Righe r{std::string(lines::kHeaderGenerale), record_line(lines::kRouteLength, {length_})};
    const RecordLayout* refs[] = {&lines::kReferenceUno, &lines::kReferenceDue,
                                  &lines::kReferenceTre};
    const int64_t with_values = pick(0, 3);
    for (int i = 0; i < 3; ++i) {
      if (i < with_values) {
        r.push_back(
            record_line(*refs[i], {pick(0, length_ / 50) * 50, pick(0, 8000) * 50, pick(0, 1)}));
      } else {
        r.push_back(record_line(*refs[i], {int64_t{0}, int64_t{0}, int64_t{0}}));
      }
    }
    r.push_back(record_line(lines::kBackgroundUno, {pick(0, 4)}));
    r.push_back(record_line(lines::kBackgroundDue, {pick(0, 4)}));
    r.push_back(record_line(lines::kBackgroundTre, {pick(0, 4)}));
    const int64_t start = pick(0, length_ / 100) * 50;
    r.push_back(record_line(chance(2) ? lines::kRepetition4 : lines::kRepetition9,
                            {start, chance(5) ? int64_t{0} : start + pick(1, 2000) * 50}));
    r.emplace_back(lines::kHeaderCurve);
    curves(r);
    r.emplace_back(lines::kHeaderPendenze);
    for (int64_t p = 0; p < length_; p += pick(10, 300) * 50) {
      r.push_back(record_line(lines::kGradient, {p, pick(-25, 25)}));
    }
    r.emplace_back(lines::kHeaderMontagne);
    mountains(r);
    r.emplace_back(lines::kHeaderCartelli);
    speed_boards(r);
    r.emplace_back("");
    r.emplace_back(lines::kHeaderIndicazioni);
    indication_boards(r);
    r.emplace_back(lines::kHeaderFine);
    return r;
  }

  void curves(Righe& r) {
    int64_t end = chance(6) ? 0 : pick(1, 40) * 50;
    for (;;) {
      // Now and then a curve of another class right after the last one.
      const int64_t start = end + (chance(6) ? 0 : pick(2, 80) * 50);
      const int64_t length = pick(1, 50) * 50;
      if (start + length > length_ - 100) return;
      r.push_back(curve_line(chance(2) ? 's' : 'd', static_cast<int>(pick(1, 6)), start, length));
      end = start + length;
    }
  }

  void mountains(Righe& r) {
    for (int64_t p = pick(0, 200) * 50;;) {
      // Some close enough to the last one to be forced to type 3.
      const int64_t inizio = p + (chance(4) ? pick(0, 3) * 50 : pick(4, 200) * 50);
      const int64_t fine = inizio + pick(2, 80) * 50;
      if (fine > length_) return;
      r.push_back(
          record_line(lines::kMountainStretch, {inizio, fine, pick(1, 10) + (chance(2) ? 10 : 0)}));
      p = fine;
    }
  }

  void speed_boards(Righe& r) {
    for (int64_t i = pick(0, 40); i > 0; --i) {
      const int64_t p = grid(pick(2, length_ / 50));
      const int64_t c = cell_of(p);
      if (!free_cells({c}) || p > last_position()) continue;
      take({c});
      const int64_t a = pick(6, 30) * 5;
      const int64_t b = a + pick(0, 4) * 5;
      const int64_t cc = b + pick(0, 4) * 5;
      const int64_t stripes = pick(0, 2);
      if (chance(5)) {
        r.push_back(record_line(lines::kSpeedBoards, {p, a, b, cc, stripes, EmptyValue{},
                                                      EmptyValue{}, EmptyValue{}, int64_t{0}}));
      } else {
        const int64_t d = chance(2) ? 0 : pick(-2, 2) * 5;
        r.push_back(record_line(lines::kSpeedBoards,
                                {p, a, b, cc, stripes, a + d, b + d, cc + d, pick(0, 2)}));
      }
    }
  }

  void indication_boards(Righe& r) {
    static const char* kWaters[] = {"(Torrente) (Varsella)", "(Fiume) (Lisorba)",
                                    "(Canale) (Orte)"};
    for (int64_t i = pick(0, 8); i > 0; --i) {
      const int64_t p = grid(pick(2, length_ / 50));
      const int64_t c = cell_of(p);
      if (!free_cells({c}) || p > last_position()) continue;
      take({c});
      std::string text = "(" + std::string(chance(4) ? "km " : "Km ") +
                         std::to_string(pick(1, 400)) + "+" + std::to_string(pick(100, 999)) + ")";
      if (chance(3)) text = std::string(kWaters[pick(0, 2)]) + " " + text;
      r.push_back(record_line(lines::kIndicationBoard, {p, std::string_view(text)}));
    }
  }

  // Stations come first, so that the other objects keep off their stop marks.
  Righe stations() {
    static const int64_t kTypes[] = {2, 4, 5, 6, 7, 8, 12, 12, 12, 22, 28};
    static const char* kNames[] = {"BORGO TESSALDI",    "CALVIGNATE",   "SAN FIDALDO",
                                   "ROVENTELLA",        "PIEVE D'ARNO", "VALDENZA",
                                   "CASTEL MURO-SOPRA", "S. ELENA"};
    Righe r;
    int64_t previous_end = -1000000;
    for (int64_t i = 0, count = pick(0, 30); i < count; ++i) {
      const int64_t type = kTypes[pick(0, 10)];
      const int64_t length = pick(2, 8) * 100;
      const int64_t extension = type >= 5 && type <= 8 ? 0 : pick(0, 1);
      const int64_t gap = pick(8, 200) * 50;
      int64_t p = previous_end + 350 + gap + length;
      p = (p + 49) / 50 * 50;
      if (i == 0) p = pick(1, 40) * 50 + 600;
      int64_t start, end;
      if (type == 5 || type == 6) {
        start = p - length, end = p + 150;
      } else if (type == 7 || type == 8) {
        start = p - length, end = p + length;
      } else {
        start = p - length / 2, end = p + length / 2 + (extension != 0 ? 50 : 0);
      }
      if (p + 800 > int64_t{50} * n_ || start - 350 < previous_end) break;
      if (type < 25) {
        const int64_t mark = cell_two_before(end);
        if (!free_cells({mark})) continue;
        take({mark});
      }
      previous_end = end;
      const bool stops = chance(3);
      r.push_back(record_line(
          lines::kStationLine,
          {p, type, length, pick(0, 4), pick(0, 1), extension, pick(0, 4), pick(0, 1), pick(0, 1),
           pick(0, 4), pick(0, 1), pick(0, 1), stops ? pick(1, 90) : int64_t{0},
           stops ? pick(5, 22) : int64_t{0}, stops ? pick(0, 59) : int64_t{0},
           stops ? pick(0, 59) : int64_t{0}, std::string_view(kNames[pick(0, 7)])}));
    }
    return r;
  }

  Righe slowdowns() {
    Righe r;
    for (int64_t i = pick(0, 5); i > 0; --i) {
      const int64_t x = grid(chance(6) ? pick(2, 30) : pick(31, length_ / 50 - 40));
      const int64_t l = chance(8) ? 0 : pick(1, 60) * 50;
      const int64_t v = chance(4) ? pick(22, 30) * 5 : pick(4, 21) * 5;
      const int64_t f_ta = pick(0, 1);
      const int64_t d_v = chance(2) ? 0 : (chance(2) ? v : pick(2, 20) * 5);
      const int64_t a = cell_of(x - 1200), s = cell_of(x), e = cell_of(x + l);
      const int64_t h = cell_before(x - 1200);
      if (x > last_position() || !free_cells({s, e})) continue;
      if (x > 1500 && !free_cells({a})) continue;
      if (x > 1500 && f_ta != 0 && !free_cells({h, h - 1, h - 2, h - 3})) continue;
      take({s, e});
      if (x > 1500) take({a});
      if (x > 1500 && f_ta != 0) take({h, h - 1, h - 2, h - 3});
      // Room for the markers the post-processing pass puts around it.
      for (int64_t back : {5, 6, 7, 11, 12, 13, 18, 19, 20}) {
        if (s - back >= 2 && chance(2)) taken_[s - back] = true;
      }
      r.push_back(record_line(lines::kSlowdownLine, {x, v, l, pick(0, 1), f_ta, d_v}));
    }
    return r;
  }

  Righe signals() {
    static const int64_t kPatterns[][9] = {
        {2, 4, 0, 0, 0, 0, 0, 0, 0}, {2, 4, 0, 0, 0, 2, 1, 0, 0}, {2, 4, 1, 1, 0, 2, 2, 1, 1},
        {2, 4, 1, 0, 0, 2, 3, 1, 0}, {2, 4, 1, 0, 0, 1, 3, 1, 0}, {1, 3, 4, 0, 0, 0, 0, 0, 0},
        {2, 2, 3, 1, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 1, 2, 5, 1, 0}};
    static const int64_t kTimes[] = {0, 0, 0, 0, 50, 120, 220, 101};
    Righe r;
    for (int64_t p = grid(pick(4, 60));; p += grid(pick(3, 80))) {
      if (p > last_position()) break;
      const int64_t c = cell_of(p);
      if (!free_cells({c})) continue;
      take({c});
      const int64_t* v = kPatterns[pick(0, 7)];
      r.push_back(record_line(lines::kSignalLine, {p, v[0], v[1], v[2], v[3], v[4], v[5], v[6],
                                                   v[7], v[8], kTimes[pick(0, 7)]}));
    }
    return r;
  }

  Righe abbattimenti() {
    static const int64_t kValues[] = {0, -5, 100, 150, 200, 180, 40000};
    Righe r;
    for (int64_t i = pick(0, 4); i > 0; --i) {
      const int64_t c = pick(2, n_ - 2);
      if (!free_cells({c})) continue;
      take({c});
      r.push_back(record_line(lines::kAbbattimento, {c * 50, kValues[pick(0, 6)]}));
    }
    return r;
  }

  Righe train_source(const Righe& station_lines) {
    Righe r{std::string(lines::kHeaderGenerale),
            record_line(lines::kCoaches, {pick(1, 20)}),
            record_line(lines::kBrakedMass, {pick(50, 180)}),
            record_line(lines::kSand, {pick(0, 500)}),
            record_line(lines::kClockLine, {pick(0, 23), pick(0, 59), pick(0, 59)}),
            std::string(lines::kHeaderAderenze)};
    for (int64_t p = 0; p < length_; p += pick(100, 2000) * 50) {
      r.push_back(record_line(lines::kAdhesion, {p, pick(50, 120)}));
    }
    r.emplace_back(lines::kHeaderVelLimite);
    for (int64_t p = 0; p < length_; p += pick(20, 400) * 50) {
      r.push_back(record_line(lines::kSpeed, {p, pick(6, 40) * 5}));
    }
    r.emplace_back(lines::kHeaderStazioni);
    r.insert(r.end(), station_lines.begin(), station_lines.end());
    r.emplace_back(lines::kHeaderRallentamenti);
    const Righe slow = slowdowns();
    r.insert(r.end(), slow.begin(), slow.end());
    r.emplace_back(lines::kHeaderSegnali);
    const Righe sig = signals();
    r.insert(r.end(), sig.begin(), sig.end());
    r.emplace_back(lines::kHeaderCodici);
    const Righe abb = abbattimenti();
    r.insert(r.end(), abb.begin(), abb.end());
    r.emplace_back(lines::kHeaderFine);
    return r;
  }

  std::mt19937 rng_;
  int64_t length_ = 0;
  int32_t n_ = 0;
  std::vector<bool> taken_;
};

}  // namespace

GeneratedScenario generate_scenario(uint32_t seed) { return Generator(seed).run(); }

}  // namespace scenario::testing
