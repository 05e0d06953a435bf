// The speed-indicator boards and the indication boards, the objects of the
// line file: each from its cell, a board's text from the entry its cell names.
// The entries of the texts count down from 80 in the order of the records.
#include <cstdint>
#include <string>
#include <vector>

#include "compiler/cells.h"
#include "compiler/decompile/cell_values.h"
#include "compiler/decompile/recovery.h"
#include "compiler/decompile/table_fields.h"
#include "compiler/decompile/writable_text.h"

namespace scenario {
namespace {

void recover_speed_board(Recovery& r, int32_t c) {
  r.require_inside_row(c, "a speed-indicator board");
  SpeedBoardRecord board;
  SpeedBoardValues& b = board.values;
  b.posizione = static_cast<int32_t>(cell_start(c));
  const PackedPair a = split_speeds(r.set.dato1(c));
  const PackedPair bb = split_speeds(r.set.dato2(c));
  const PackedPair cc = split_speeds(r.cell(c).dato3);
  const PackedPair stripes = split_tens(r.cell(c).dato4);
  b.vas = a.first;
  b.vad = a.second;
  b.vbs = bb.first;
  b.vbd = bb.second;
  b.vcs = cc.first;
  b.vcd = cc.second;
  b.strisces = stripes.first;
  b.strisced = stripes.second;
  board.left_empty = b.vas == 0 && b.vbs == 0 && b.vcs == 0;
  board.right_empty = b.vad == 0 && b.vbd == 0 && b.vcd == 0;
  r.scenario.line.speed_boards.push_back(board);
  r.explain(c);
}

// An entry that could hold a board's text: nothing but the text.
bool is_text_only(const voce& e) {
  voce text_only;
  text_only.testo = e.testo;
  return e.genere == 0 && e.valore1 == 0 && e.valore2 == 0 && e.valore3 == 0 && e.colonna4 == 0 &&
         e.colonna5 == 0 && e.colonna6 == 0 && e.colonna7 == 0 && e.colonna8 == 0 &&
         e.colonna9 == 0 && e.colonna10 == 0 && e.colonna11 == 0 && e.colonna12 == 0 &&
         e.colonna13 == 0 && e.orario == 0;
}

// A board whose cell a station's stop mark took later stands in a stop-mark
// cell that no other object of the line file used; its position is lost.
int32_t cell_for_covered_board(Recovery& r, std::vector<bool>& used, int entry) {
  for (int32_t c = 1; c <= r.n() - 1; ++c) {
    const cella& cell = r.cell(c);
    if (cell.oggetto == kStationMark && !used[c] && cell.dato2 == 0 && cell.dato3 == 0 &&
        cell.dato4 == 0 && cell.tempo_segnale == 0) {
      used[c] = true;
      return c;
    }
  }
  r.fail_at_entry(entry,
                  "the text of an indication board that no cell names, and no station's "
                  "stop mark that could have covered its cell");
}

void recover_indication_boards(Recovery& r) {
  std::vector<int32_t> cell_of_entry(kFirstBoardEntry + 1, -1);
  for (int32_t c = 0; c <= r.n(); ++c) {
    if (r.cell(c).oggetto != kIndicationBoard) continue;
    r.require_inside_row(c, "an indication board");
    const int16_t entry = r.set.dato1(c);
    if (entry < 1 || entry > kFirstBoardEntry) {
      r.fail_at_cell(c, "an indication board whose text entry is " + std::to_string(entry) +
                            ", where boards take entries 80 down to 1");
    }
    if (cell_of_entry[entry] >= 0) {
      r.fail_at_cell(c, "an indication board with the text entry " + std::to_string(entry) +
                            " of the board in " + cell_name(cell_of_entry[entry]));
    }
    cell_of_entry[entry] = c;
    r.explain(c);
  }
  // The boards took entries 80 down to the lowest one named or holding only a text.
  int lowest = kFirstBoardEntry + 1;
  for (int entry = kFirstBoardEntry; entry >= 1; --entry) {
    const voce& e = r.set.tabella[entry];
    if (cell_of_entry[entry] >= 0 || (is_text_only(e) && !e.testo.empty())) lowest = entry;
  }
  // A board whose cell a stop mark took later has its entry but no cell: there
  // are never more of them than stop marks.
  int covered = 0;
  for (int entry = kFirstBoardEntry; entry >= lowest; --entry) covered += cell_of_entry[entry] < 0;
  int stop_marks = 0;
  for (int32_t c = 0; c <= r.n(); ++c) stop_marks += r.cell(c).oggetto == kStationMark;
  if (covered > stop_marks && lowest <= kFirstBoardEntry && cell_of_entry[lowest] >= 0) {
    r.fail_at_cell(cell_of_entry[lowest],
                   "an indication board whose text is in entry " + std::to_string(lowest) +
                       ", where the boards take entries 80 down, one each, and " +
                       std::to_string(covered) + " entries above it belong to no board");
  }
  std::vector<bool> used(r.set.percorso.size(), false);
  for (int entry = kFirstBoardEntry; entry >= lowest; --entry) {
    require_only_fields(r, entry, {"testo"});
    const std::string& text = r.set.tabella[entry].testo;
    require_writable_text(r, entry, text, "indication board text");
    int32_t c = cell_of_entry[entry];
    if (c < 0) c = cell_for_covered_board(r, used, entry);
    r.scenario.line.indication_boards.push_back({static_cast<int32_t>(cell_start(c)), text});
  }
  r.first_board_entry = lowest;
}

}  // namespace

void recover_boards(Recovery& r) {
  for (int32_t c = 0; c <= r.n(); ++c) {
    if (r.cell(c).oggetto == kSpeedBoard) recover_speed_board(r, c);
  }
  recover_indication_boards(r);
}

}  // namespace scenario
