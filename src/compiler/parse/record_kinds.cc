#include "compiler/parse/record_kinds.h"

#include <array>

namespace scenario {
namespace {

using Names = std::string_view;

constexpr Names kRouteLength[] = {"lunghezza percorso"};
constexpr Names kReferenceTre[] = {"progressiva chilometrica tre"};
constexpr Names kReferenceDue[] = {"progressiva chilometrica due"};
constexpr Names kReferenceUno[] = {"progressiva chilometrica uno"};
constexpr Names kBackgroundUno[] = {"sfondo uno"};
constexpr Names kBackgroundDue[] = {"sfondo due"};
constexpr Names kBackgroundTre[] = {"sfondo tre"};
constexpr Names kRepetition[] = {"ripetizione segnali 4 codici", "ripetizione segnali 9 codici"};
constexpr Names kGradient[] = {"pendenza"};
constexpr Names kCurve[] = {"curvas1", "curvas2", "curvas3", "curvas4", "curvas5", "curvas6",
                            "curvad1", "curvad2", "curvad3", "curvad4", "curvad5", "curvad6"};
constexpr Names kMountain[] = {"montagna"};
constexpr Names kSpeedBoard[] = {"indicatori_vmax"};
constexpr Names kIndicationBoard[] = {"cartello_indicatore"};
constexpr Names kBrakedMass[] = {"percentuale massa frenata"};
constexpr Names kCoaches[] = {"numero vetture"};
constexpr Names kSpeed[] = {"velocita"};
constexpr Names kAdhesion[] = {"aderenza"};
constexpr Names kClock[] = {"orologio"};
constexpr Names kSand[] = {"sabbia"};
constexpr Names kSignal[] = {"segnale"};
constexpr Names kSlowdown[] = {"rallentamento"};
constexpr Names kAbbattimento[] = {"abbattimento"};
constexpr Names kStation[] = {"stazione"};

constexpr Names kLengthValues[] = {"length"};
constexpr Names kReferenceValues[] = {"position", "chainage", "direction flag"};
constexpr Names kSettingValues[] = {"setting"};
constexpr Names kRepetitionValues[] = {"start", "end"};
constexpr Names kGradientValues[] = {"position", "gradient"};
constexpr Names kCurveValues[] = {"start", "length"};
constexpr Names kMountainValues[] = {"inizio", "fine", "tipo"};
constexpr Names kSpeedBoardValues[] = {"posizione", "vas", "vbs", "vcs",     "strisces",
                                       "vad",       "vbd", "vcd", "strisced"};
constexpr Names kIndicationValues[] = {"position", "text"};
constexpr Names kPercentageValues[] = {"percentage"};
constexpr Names kCoachesValues[] = {"number"};
constexpr Names kSpeedValues[] = {"position", "speed"};
constexpr Names kAdhesionValues[] = {"position", "adhesion"};
constexpr Names kClockValues[] = {"hours", "minutes", "seconds"};
constexpr Names kSignalValues[] = {"posizione", "sx", "s1", "s2", "s3",   "rapp",
                                   "dx",        "d1", "d2", "d3", "tempo"};
constexpr Names kSlowdownValues[] = {"x", "v", "l", "f_tt", "f_ta", "d_v"};
constexpr Names kAbbattimentoValues[] = {"position", "value"};
constexpr Names kStationValues[] = {"position",      "type",    "length",    "code 4", "code 5",
                                    "end extension", "code 7",  "code 8",    "code 9", "code 10",
                                    "code 11",       "code 12", "stop time", "hours",  "minutes",
                                    "seconds",       "name"};

// In the order of RecordId.
constexpr RecordKind kKinds[] = {
    {RecordId::route_length, RecordPart::general, "route length", kRouteLength, kLengthValues},
    {RecordId::reference_tre, RecordPart::general, "kilometric reference", kReferenceTre,
     kReferenceValues},
    {RecordId::reference_due, RecordPart::general, "kilometric reference", kReferenceDue,
     kReferenceValues},
    {RecordId::reference_uno, RecordPart::general, "kilometric reference", kReferenceUno,
     kReferenceValues},
    {RecordId::background_uno, RecordPart::general, "background", kBackgroundUno, kSettingValues},
    {RecordId::background_due, RecordPart::general, "background", kBackgroundDue, kSettingValues},
    {RecordId::background_tre, RecordPart::general, "background", kBackgroundTre, kSettingValues},
    {RecordId::signal_repetition, RecordPart::general, "signal repetition", kRepetition,
     kRepetitionValues},
    {RecordId::gradient, RecordPart::object, "gradient", kGradient, kGradientValues},
    {RecordId::curve, RecordPart::object, "curve", kCurve, kCurveValues},
    {RecordId::mountain, RecordPart::object, "mountain stretch", kMountain, kMountainValues},
    {RecordId::speed_board, RecordPart::object, "speed-indicator board", kSpeedBoard,
     kSpeedBoardValues},
    {RecordId::indication_board, RecordPart::object, "indication board", kIndicationBoard,
     kIndicationValues},
    {RecordId::braked_mass, RecordPart::train, "braked-mass percentage", kBrakedMass,
     kPercentageValues},
    {RecordId::coaches, RecordPart::train, "number of coaches", kCoaches, kCoachesValues},
    {RecordId::speed, RecordPart::train, "speed limit", kSpeed, kSpeedValues},
    {RecordId::adhesion, RecordPart::train, "adhesion", kAdhesion, kAdhesionValues},
    {RecordId::clock, RecordPart::train, "clock", kClock, kClockValues},
    {RecordId::sand, RecordPart::train, "sand setting", kSand, kSettingValues},
    {RecordId::signal, RecordPart::train, "signal", kSignal, kSignalValues},
    {RecordId::slowdown, RecordPart::train, "slowdown", kSlowdown, kSlowdownValues},
    {RecordId::abbattimento, RecordPart::train, "abbattimento", kAbbattimento, kAbbattimentoValues},
    {RecordId::station, RecordPart::train, "station", kStation, kStationValues},
};

}  // namespace

const RecordKind& record_kind(RecordId id) { return kKinds[static_cast<size_t>(id)]; }

std::span<const RecordKind> record_kinds() { return kKinds; }

std::string the(const RecordKind& kind) { return "the " + std::string(kind.words); }

std::string ordinal(int32_t n) {
  const int32_t tens = n % 100;
  const char* suffix = "th";
  if (tens < 11 || tens > 13) {
    if (n % 10 == 1) suffix = "st";
    if (n % 10 == 2) suffix = "nd";
    if (n % 10 == 3) suffix = "rd";
  }
  return std::to_string(n) + suffix;
}

std::string_view part_name(RecordPart part) {
  switch (part) {
    case RecordPart::general:
      return "the general part of the line file";
    case RecordPart::object:
      return "the object part of the line file";
    case RecordPart::train:
      return "the train file";
  }
  return "";
}

}  // namespace scenario
