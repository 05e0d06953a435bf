// The data model of the compiler: the compiled records (the route cells
// `percorso`, the entry table `tabella`, the track plan `tracciato`, the
// mountain list and the error state), the explanation trail that tells where
// they came from, and the build context that joins both to the build's identity.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "base/build_identity.h"
#include "compiler/cells.h"
#include "compiler/diagnostics/recorded_errors.h"
#include "compiler/diagnostics/records_read.h"
#include "compiler/diagnostics/warnings.h"
#include "compiler/object_kinds.h"
#include "compiler/plan/traced_plan.h"

namespace scenario {

// One 50-metre cell of the route. Field order is the order of the compiled file.
struct cella {
  uint8_t oggetto = 0;  // an ObjectKind (object_kinds.h)
  int16_t dato1 = 0;
  int16_t dato2 = 0;
  int16_t dato3 = 0;
  int16_t dato4 = 0;
  uint8_t tempo_segnale = 0;
  uint8_t preavviso = 0;
  uint8_t montagna = 0;
  uint8_t velocita = 0;
  uint8_t pendenza = 0;
  uint8_t aderenza = 0;
};

// One entry of `tabella`: a station, a board text, a chainage reference or a
// header entry. Field order is the order of the compiled file.
struct voce {
  uint8_t genere = 0;
  int32_t valore1 = 0;
  int32_t valore2 = 0;
  int32_t valore3 = 0;
  uint8_t colonna4 = 0;
  std::string testo;
  int16_t colonna7 = 0;
  int16_t colonna8 = 0;
  int16_t colonna10 = 0;
  int16_t colonna11 = 0;
  int16_t colonna12 = 0;
  uint8_t colonna9 = 0;
  uint8_t colonna13 = 0;
  uint8_t colonna6 = 0;
  uint8_t colonna5 = 0;
  int32_t orario = 0;
};

constexpr int kTableEntries = 87;
constexpr int kFirstBoardEntry = 80;  // board texts count down from here
constexpr int kEntryRefTre = 81;
constexpr int kEntryRefDue = 82;
constexpr int kEntryRefUno = 83;
constexpr int kEntryTrain = 84;
constexpr int kEntryScenario = 85;
constexpr int kEntrySignals = 86;

using Tabella = std::array<voce, kTableEntries>;

constexpr int32_t kRowBeyondEnd = 7000;  // the cell row reaches this far past the route end
constexpr int32_t kMaxRouteLength = 1000000;

// The mountain list. Entry 0 is never used; the list grows past its 80 design
// slots so that any number of stretches can be stamped.
struct MountainList {
  std::vector<int32_t> inizio_montagne = std::vector<int32_t>(81, 0);
  std::vector<int32_t> fine_montagne = std::vector<int32_t>(81, 0);
  int32_t numero_montagne = 0;
};

// What the build knows of one slowdown it stamped: lets the diagnostics of the
// post-processing pass name the record a marker belongs to, and the slowdown
// order list it with its own values.
struct SlowdownRecord {
  int32_t x = 0;
  int32_t start_cell = 0;
  int32_t warning_cell = -1;  // -1: the slowdown has no warning board
  SourceLocation where;
  int32_t v = 0;     // the speed to respect, km/h
  int32_t l = 0;     // its length in metres
  int32_t f_tt = 0;  // non-zero: to be respected with the whole train
};

// An object placed in a cell, and where the source record that placed it
// starts. The markers of the post-processing pass name their slowdown's record.
struct Placement {
  int32_t cell = 0;
  uint8_t oggetto = kNoObject;
  SourceLocation where;
  int32_t position = 0;  // the record's position in metres (a marker's: its slowdown's start)
};

// What a compile makes: the records the three compiled files are encoded from,
// and the error state the rules read and set (`codice_errore` keeps the last
// recorded error, `posizione_errore` its position). What reads a compile's
// outcome (timetables, a decompile) needs nothing else; the crew documents
// also read the trail, for the slowdowns as written and the records' places.
struct CompiledRecords {
  std::vector<cella> percorso;  // indices 0 to n; empty until the route length is read
  Tabella tabella;
  TracedPlan tracciato;  // exists only when the compile traces the track plan
  MountainList montagne;
  int32_t metri_totali = 0;
  int32_t codice_errore = 0;
  int32_t posizione_errore = 0;

  bool has_cell_row() const { return !percorso.empty(); }
  int32_t last_cell() const { return static_cast<int32_t>(percorso.size()) - 1; }
  bool in_row(int64_t c) const { return c >= 0 && c < static_cast<int64_t>(percorso.size()); }
  // A cell outside the row counts as occupied, so that nothing is ever placed there.
  bool is_free(int64_t c) const { return in_row(c) && is_free_kind(percorso[c].oggetto); }
};

// How a compile explains its records: the errors it recorded, its warnings,
// and which source record placed each object, stamped each slowdown and
// filled each table entry. Only told, never written into a compiled file.
struct ExplanationTrail {
  std::vector<Recording> recordings;
  std::vector<Warning> warnings;      // never change a byte or the error state
  std::vector<Placement> placements;  // every object placed, in order; a later one may replace it
  std::vector<SlowdownRecord> rallentamenti;
  // Where the record that filled each station or board-text entry of `tabella` starts.
  std::array<SourceLocation, kTableEntries> entry_sources{};
  // What the checks across the two files compare once the compile is done.
  RecordsRead read;
  // A check only: the check has read what the compile would not (past an error
  // that ends the parse, or the rest of a file after an error 15), so every
  // error recorded from now on is marked `after_stop`.
  bool past_compile_stop = false;

  // The placement of the object cell `c` holds now; null when none.
  const Placement* placement_in(int64_t c) const {
    for (auto p = placements.rbegin(); p != placements.rend(); ++p) {
      if (p->cell == c) return &*p;
    }
    return nullptr;
  }
};

// The state of one build: its identity, its records and their trail. The
// records are reached as the rules name them (`ctx.percorso`); the trail as
// `ctx.trail`, so that what only explains stands apart from what is compiled.
struct BuildContext : BuildIdentity, CompiledRecords {
  ExplanationTrail trail;

  // Puts an object of kind `oggetto` into cell `c`, which must lie in the row,
  // and notes that the record starting at `where`, at `position` metres, placed it.
  void place(int64_t c, uint8_t oggetto, const SourceLocation& where, int32_t position) {
    percorso[c].oggetto = oggetto;
    trail.placements.push_back({static_cast<int32_t>(c), oggetto, where, position});
  }
};

}  // namespace scenario
