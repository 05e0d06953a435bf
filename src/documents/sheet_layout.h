// The train sheet's form: the header block with the train's values, the
// seven-column timetable rows, the pages of 32 rows and the two blank pages
// that end the sheet. The built-in sheet and the sheet computed from a
// scenario are both written through it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "source/text_writer.h"

namespace scenario {

// The values of the header block; a value not known shows the placeholder.
struct SheetHeader {
  std::string train;                         // "904"
  std::optional<std::string> origin;         // in mixed case, "Velmora Centrale"
  std::optional<std::string> destination;    // "Dorsel"
  std::optional<int32_t> maximum_speed;      // km/h, "V200"
  std::optional<std::string> rank;           // "C"
  std::optional<int32_t> braked_percentage;  // "130%"
  std::optional<std::string> category;       // "IC"
  std::optional<int32_t> blocked_mass;       // tonnes, "800T"
};

// The forms of the time column.
enum class TimeForm {
  none,
  departure,  // the origin: departure only
  passing,    // a single time
  stop,       // arrival and departure
  arrival,    // the terminus: arrival only
};

// Times in seconds of the day; a time not known shows "xx.xx". `mark` follows
// the last time, as "(*)" calls a footnote.
struct TimeColumn {
  TimeForm form = TimeForm::none;
  std::optional<int64_t> first;   // the departure, the passing time or the arrival
  std::optional<int64_t> second;  // a stop's departure
  std::string mark;
};

struct SheetRow {
  int32_t limit = 0;                // km/h; 0 leaves the column empty
  std::optional<int64_t> chainage;  // metres
  std::string place;                // "Localita' di Servizio"
  TimeColumn time;
  int32_t recovery = 0;  // "Rec", tenths of a minute; 0 leaves the column empty
};

// How many timetable rows a filled page holds.
constexpr size_t kSheetPageRows = 32;

// One row of the table, 83 characters.
std::string sheet_row_text(const SheetRow& row);
// The 16 characters of the time column.
std::string time_column_text(const TimeColumn& time);

// The whole sheet: the filled pages "SCHEDA k/N", the rows in order and the
// footnote rows at the foot of the last page, then the two blank pages; the
// end marker closes the list.
Righe train_sheet_document(const SheetHeader& header, const std::vector<SheetRow>& rows,
                           const std::vector<std::string>& footnotes);

}  // namespace scenario
