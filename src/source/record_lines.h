// The lines of the two source files as the built-in scenario lays them out:
// the section headers, and each kind of record with its values set in columns,
// so that a written source reads like the built-in one.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace scenario {

// How a value stands after its comma: `blanks` blanks, then the value
// right-aligned in `width` characters (a wider value takes the room it needs).
struct LineColumn {
  int8_t blanks;
  int8_t width;
};

// The keyword of a kind of record and the columns of its values. A clock line
// separates its values by blanks alone and ends with a blank.
struct RecordLayout {
  std::string_view keyword;
  std::span<const LineColumn> columns;
  bool blank_separated = false;
};

// A value of a line: a number, a text (the last value of a record), or nothing:
// an empty field, which reads as 0 and is how a side without a board is written.
struct EmptyValue {};
using LineValue = std::variant<int64_t, std::string_view, EmptyValue>;

// One record as one line, without its line end.
std::string record_line(const RecordLayout& layout, std::initializer_list<LineValue> values);

// A curve's keyword carries its side ('s' left, 'd' right) and its class (1 to 6).
std::string curve_line(char side, int klass, int64_t start, int64_t length);

namespace record_lines {

inline constexpr LineColumn kGeneral1[] = {{4, 0}};
inline constexpr LineColumn kGeneral2[] = {{4, 0}, {4, 0}};
inline constexpr LineColumn kGeneral3[] = {{4, 0}, {4, 0}, {4, 0}};
inline constexpr LineColumn kCurve[] = {{1, 0}, {1, 0}};
inline constexpr LineColumn kPositionValue[] = {{0, 8}, {0, 5}};
inline constexpr LineColumn kMountain[] = {{0, 9}, {0, 8}, {0, 4}};
inline constexpr LineColumn kSpeedBoard[] = {{0, 8}, {0, 4}, {0, 4}, {0, 4}, {0, 3},
                                             {0, 4}, {0, 4}, {0, 4}, {0, 3}};
inline constexpr LineColumn kPositionText[] = {{0, 8}, {1, 0}};
inline constexpr LineColumn kClock[] = {{0, 6}, {0, 16}, {0, 14}};
inline constexpr LineColumn kStation[] = {{0, 8}, {0, 3}, {0, 5}, {0, 3}, {0, 2}, {0, 2},
                                          {0, 3}, {0, 1}, {0, 1}, {0, 3}, {0, 1}, {0, 1},
                                          {0, 5}, {0, 4}, {0, 2}, {0, 2}, {1, 0}};
inline constexpr LineColumn kSlowdown[] = {{0, 8}, {0, 4}, {0, 6}, {0, 3}, {0, 3}, {0, 4}};
inline constexpr LineColumn kSignal[] = {{0, 8}, {0, 4}, {0, 2}, {0, 2}, {0, 3}, {0, 2},
                                         {0, 5}, {0, 3}, {0, 1}, {0, 1}, {0, 2}};

// The line file.
inline constexpr RecordLayout kRouteLength{"lunghezza percorso", kGeneral1};
inline constexpr RecordLayout kReferenceUno{"progressiva chilometrica uno", kGeneral3};
inline constexpr RecordLayout kReferenceDue{"progressiva chilometrica due", kGeneral3};
inline constexpr RecordLayout kReferenceTre{"progressiva chilometrica tre", kGeneral3};
inline constexpr RecordLayout kBackgroundUno{"sfondo uno", kGeneral1};
inline constexpr RecordLayout kBackgroundDue{"sfondo due", kGeneral1};
inline constexpr RecordLayout kBackgroundTre{"sfondo tre", kGeneral1};
inline constexpr RecordLayout kRepetition4{"ripetizione segnali 4 codici", kGeneral2};
inline constexpr RecordLayout kRepetition9{"ripetizione segnali 9 codici", kGeneral2};
inline constexpr RecordLayout kGradient{"pendenza", kPositionValue};
inline constexpr RecordLayout kMountainStretch{"montagna", kMountain};
inline constexpr RecordLayout kSpeedBoards{"indicatori_vmax", kSpeedBoard};
inline constexpr RecordLayout kIndicationBoard{"cartello_indicatore", kPositionText};

// The train file.
inline constexpr RecordLayout kCoaches{"numero vetture", kGeneral1};
inline constexpr RecordLayout kBrakedMass{"percentuale massa frenata", kGeneral1};
inline constexpr RecordLayout kSand{"sabbia", kGeneral1};
inline constexpr RecordLayout kClockLine{"orologio", kClock, true};
inline constexpr RecordLayout kAdhesion{"aderenza", kPositionValue};
inline constexpr RecordLayout kSpeed{"velocita", kPositionValue};
inline constexpr RecordLayout kStationLine{"stazione", kStation};
inline constexpr RecordLayout kSlowdownLine{"rallentamento", kSlowdown};
inline constexpr RecordLayout kSignalLine{"segnale", kSignal};
inline constexpr RecordLayout kAbbattimento{"abbattimento", kPositionValue};

// The section headers, in the order each file writes them. The line file
// leaves one empty line after its speed-indicator boards; "[codici]" holds
// the abbattimento records, when there are any.
inline constexpr std::string_view kHeaderGenerale = "[generale]";
inline constexpr std::string_view kHeaderCurve = "[curve]";
inline constexpr std::string_view kHeaderPendenze = "[pendenze]";
inline constexpr std::string_view kHeaderMontagne = "[montagne]";
inline constexpr std::string_view kHeaderCartelli = "[cartelli]";
inline constexpr std::string_view kHeaderIndicazioni = "[indicazioni]";
inline constexpr std::string_view kHeaderAderenze = "[aderenze]";
inline constexpr std::string_view kHeaderVelLimite = "[vel_limite]";
inline constexpr std::string_view kHeaderStazioni = "[stazioni]";
inline constexpr std::string_view kHeaderRallentamenti = "[rallentamenti]";
inline constexpr std::string_view kHeaderSegnali = "[segnali]";
inline constexpr std::string_view kHeaderCodici = "[codici]";
inline constexpr std::string_view kHeaderFine = "[fine]";

}  // namespace record_lines
}  // namespace scenario
