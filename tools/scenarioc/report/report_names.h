// The names that the report page's markup shares with its style sheet and
// script (assets/report.css, assets/report.js): element ids, classes, data
// attributes and the keys of the embedded data. The page writes them from
// here, and report_names_test proves that the assets use these and no others.
#pragma once

#include <cstdint>
#include <string_view>

namespace scenario::page {

// Element ids; an id prefix is followed by an index (`o12`: object 12).
inline constexpr std::string_view kPlanSection = "plan-section";
inline constexpr std::string_view kPlan = "plan";
inline constexpr std::string_view kPlanRoot = "plan-root";
inline constexpr std::string_view kPlanCursor = "plan-cursor";
inline constexpr std::string_view kScalebar = "scalebar";
inline constexpr std::string_view kScalebarBar = "scalebar-bar";
inline constexpr std::string_view kScalebarText = "scalebar-text";
inline constexpr std::string_view kReadout = "readout";
inline constexpr std::string_view kBands = "bands";
inline constexpr std::string_view kPlotRect = "plot-rect";
inline constexpr std::string_view kAxis = "axis";
inline constexpr std::string_view kScaled = "scaled";
inline constexpr std::string_view kPlaced = "placed";
inline constexpr std::string_view kCursor = "cursor";  // also the plan cursor's class
inline constexpr std::string_view kDiagnostics = "diagnostics";
inline constexpr std::string_view kStations = "stations";
inline constexpr std::string_view kDocuments = "documents";
inline constexpr std::string_view kTip = "tip";
inline constexpr std::string_view kReportData = "report-data";
inline constexpr std::string_view kDiagnosticItem = "d";  // the list's entries
inline constexpr std::string_view kBandError = "e";
inline constexpr std::string_view kPlanError = "pe";
inline constexpr std::string_view kBandObject = "o";
inline constexpr std::string_view kBandStation = "s";
inline constexpr std::string_view kPlanStation = "ps";
inline constexpr std::string_view kStationRow = "r";

// Classes of the header, the legends and the lists.
inline constexpr std::string_view kSub = "sub";
inline constexpr std::string_view kCounts = "counts";
inline constexpr std::string_view kBad = "bad";  // also an object with diagnostics
inline constexpr std::string_view kGood = "good";
inline constexpr std::string_view kWarn = "warn";
inline constexpr std::string_view kFacts = "facts";
inline constexpr std::string_view kHint = "hint";
inline constexpr std::string_view kLegend = "legend";
inline constexpr std::string_view kDot = "dot";  // also the plan's dots
inline constexpr std::string_view kLegendTrack = "l-track";
inline constexpr std::string_view kLegendTunnel = "l-tunnel";
inline constexpr std::string_view kLegendRunout = "l-runout";
inline constexpr std::string_view kLegendStation = "l-station";
inline constexpr std::string_view kLegendKm = "l-km";
inline constexpr std::string_view kLegendLimit = "l-limit";
inline constexpr std::string_view kLegendBoardA = "l-board-a";
inline constexpr std::string_view kLegendBoardB = "l-board-b";
inline constexpr std::string_view kLegendBoardC = "l-board-c";
inline constexpr std::string_view kLegendSignal = "l-signal";
inline constexpr std::string_view kLegendAuto = "l-auto";
inline constexpr std::string_view kLegendError = "l-err";
inline constexpr std::string_view kLegendRun = "l-run";
inline constexpr std::string_view kLegendSchedule = "l-sched";
inline constexpr std::string_view kLegendLate = "l-late";
inline constexpr std::string_view kLegendTight = "l-tight";
inline constexpr std::string_view kLegendCurve = "l-curve";
inline constexpr std::string_view kLegendRepetition = "l-rep";
inline constexpr std::string_view kRunNotes = "run-notes";
inline constexpr std::string_view kPlanBox = "plan-box";
inline constexpr std::string_view kNorth = "north";
inline constexpr std::string_view kNone = "none";
inline constexpr std::string_view kNumber = "n";
inline constexpr std::string_view kSource = "src";
inline constexpr std::string_view kStop = "stop";  // a station where the train stops
// A diagnostic's severity is its class: "error" or "warning".
inline constexpr std::string_view kError = "error";
inline constexpr std::string_view kWarning = "warning";
inline constexpr std::string_view kNote = "note";  // a value a document shows as a placeholder

// Classes of the plan.
inline constexpr std::string_view kTrack = "track";
inline constexpr std::string_view kRunout = "runout";
inline constexpr std::string_view kTunnel = "tunnel";
inline constexpr std::string_view kPlanStationGroup = "pst";
inline constexpr std::string_view kKilometrePost = "km";
inline constexpr std::string_view kKilometreDot = "kd";
inline constexpr std::string_view kRouteEndPoint = "pend";
inline constexpr std::string_view kStart = "start";
inline constexpr std::string_view kEnd = "end";
inline constexpr std::string_view kPlanErrorDot = "perr";

// Classes of the profile bands.
inline constexpr std::string_view kBandName = "bname";
inline constexpr std::string_view kTick = "tick";
inline constexpr std::string_view kSeparator = "sep";
inline constexpr std::string_view kHorizontalGrid = "hgrid";
inline constexpr std::string_view kElevation = "elev";
inline constexpr std::string_view kElevationArea = "elev-area";
inline constexpr std::string_view kLimit = "limit";
inline constexpr std::string_view kBoardA = "board-a";
inline constexpr std::string_view kBoardB = "board-b";
inline constexpr std::string_view kBoardC = "board-c";
inline constexpr std::string_view kAdhesion = "adh";
inline constexpr std::string_view kMountainBar = "mbar";
inline constexpr std::string_view kZone = "zone";
inline constexpr std::string_view kSlowdownBar = "sbar";
inline constexpr std::string_view kGradientLabel = "gl";
inline constexpr std::string_view kLimitLabel = "vl";
inline constexpr std::string_view kAdhesionLabel = "al";
inline constexpr std::string_view kMountainLabel = "ml";
inline constexpr std::string_view kObject = "o";
inline constexpr std::string_view kGlyph = "g";
inline constexpr std::string_view kAutomatic = "auto";
inline constexpr std::string_view kLabel = "lbl";
inline constexpr std::string_view kStationGroup = "stn";
inline constexpr std::string_view kErrorMark = "err";
inline constexpr std::string_view kRouteEnd = "rend";
inline constexpr std::string_view kRunSpeed = "run";
inline constexpr std::string_view kRunTime = "runt";
inline constexpr std::string_view kSchedule = "sched";
// A section that cannot be kept, and one short of the recovery margin: in
// the time band and in the station table.
inline constexpr std::string_view kLate = "late";
inline constexpr std::string_view kTight = "tight";
inline constexpr std::string_view kMarginLabel = "tl";
inline constexpr std::string_view kRunMissing = "norun";
inline constexpr std::string_view kCurveBar = "cbar";
inline constexpr std::string_view kCurveLabel = "cl";
inline constexpr std::string_view kRepetitionBar = "rbar";
inline constexpr std::string_view kRepetitionLabel = "rl";
// Class prefixes followed by a number: an object's kind (`k6`), the sides of
// a signal (`sx1`); on the plan, a kilometre post's coarsest step (`k50`).
inline constexpr std::string_view kKindPrefix = "k";
inline constexpr std::string_view kSignalSidesPrefix = "sx";

// Classes and attributes that only the script sets, for the style sheet.
inline constexpr std::string_view kHighlit = "hl";
inline constexpr std::string_view kHidden = "hide";
inline constexpr std::string_view kDragging = "dragging";
inline constexpr std::string_view kAxisRoute = "axis-route";
inline constexpr std::string_view kAxisChain = "axis-chain";
inline constexpr std::string_view kVerticalGrid = "vgrid";
inline constexpr std::string_view kDataKilometreStep = "data-km";
inline constexpr std::string_view kDataTip = "data-tip";
inline constexpr std::string_view kDataReady = "data-ready";

// Data attributes.
inline constexpr std::string_view kDataMetres = "data-m";
inline constexpr std::string_view kDataStation = "data-s";
inline constexpr std::string_view kDataDiagnostics = "data-d";
inline constexpr std::string_view kDataObject = "data-o";
inline constexpr std::string_view kDataKind = "data-k";
inline constexpr std::string_view kDataWidth = "data-w";
inline constexpr std::string_view kDataLeft = "data-left";
inline constexpr std::string_view kDataRight = "data-right";
inline constexpr std::string_view kDataPadding = "data-padding";

// Keys of the embedded data (the element kReportData).
inline constexpr std::string_view kKeyFirst = "first";
inline constexpr std::string_view kKeyLast = "last";
inline constexpr std::string_view kKeyClosestZoom = "closestZoom";
inline constexpr std::string_view kKeyPlan = "plan";
inline constexpr std::string_view kKeyLimit = "limit";
inline constexpr std::string_view kKeyGradient = "gradient";
inline constexpr std::string_view kKeyAdhesion = "adhesion";
inline constexpr std::string_view kKeyElevation = "elevation";
inline constexpr std::string_view kKeyChainage = "chainage";
inline constexpr std::string_view kKeyRunSpeed = "runSpeed";
inline constexpr std::string_view kKeyRunTime = "runTime";

// The table of all of them, with who uses each besides the markup.
enum class NameKind : uint8_t { id, id_prefix, class_name, class_prefix, data, data_key };
enum NameUse : uint8_t { kStyle = 1, kScript = 2 };
struct SharedName {
  NameKind kind;
  std::string_view name;
  uint8_t uses;  // NameUse bits
};

inline constexpr SharedName kSharedNames[] = {
    {NameKind::id, kPlanSection, kScript},
    {NameKind::id, kPlan, kStyle | kScript},
    {NameKind::id, kPlanRoot, kStyle | kScript},
    {NameKind::id, kPlanCursor, kScript},
    {NameKind::id, kScalebar, kStyle},
    {NameKind::id, kScalebarBar, kStyle | kScript},
    {NameKind::id, kScalebarText, kScript},
    {NameKind::id, kReadout, kStyle | kScript},
    {NameKind::id, kBands, kStyle | kScript},
    {NameKind::id, kPlotRect, kScript},
    {NameKind::id, kAxis, kScript},
    {NameKind::id, kScaled, kStyle | kScript},
    {NameKind::id, kPlaced, kScript},
    {NameKind::id, kCursor, kStyle | kScript},
    {NameKind::id, kDiagnostics, kStyle | kScript},
    {NameKind::id, kStations, kScript},
    {NameKind::id, kDocuments, kStyle},
    {NameKind::id, kTip, kStyle | kScript},
    {NameKind::id, kReportData, kScript},
    {NameKind::id_prefix, kDiagnosticItem, kScript},
    {NameKind::id_prefix, kBandError, kScript},
    {NameKind::id_prefix, kPlanError, kScript},
    {NameKind::id_prefix, kBandObject, kScript},
    {NameKind::id_prefix, kBandStation, kScript},
    {NameKind::id_prefix, kPlanStation, kScript},
    {NameKind::id_prefix, kStationRow, kScript},
    {NameKind::class_name, kSub, kStyle},
    {NameKind::class_name, kCounts, kStyle},
    {NameKind::class_name, kBad, kStyle},
    {NameKind::class_name, kGood, kStyle},
    {NameKind::class_name, kWarn, kStyle},
    {NameKind::class_name, kFacts, kStyle},
    {NameKind::class_name, kHint, kStyle},
    {NameKind::class_name, kLegend, kStyle},
    {NameKind::class_name, kDot, kStyle},
    {NameKind::class_name, kLegendTrack, kStyle},
    {NameKind::class_name, kLegendTunnel, kStyle},
    {NameKind::class_name, kLegendRunout, kStyle},
    {NameKind::class_name, kLegendStation, kStyle},
    {NameKind::class_name, kLegendKm, kStyle},
    {NameKind::class_name, kLegendLimit, kStyle},
    {NameKind::class_name, kLegendBoardA, kStyle},
    {NameKind::class_name, kLegendBoardB, kStyle},
    {NameKind::class_name, kLegendBoardC, kStyle},
    {NameKind::class_name, kLegendSignal, kStyle},
    {NameKind::class_name, kLegendAuto, kStyle},
    {NameKind::class_name, kLegendError, kStyle},
    {NameKind::class_name, kLegendRun, kStyle},
    {NameKind::class_name, kLegendSchedule, kStyle},
    {NameKind::class_name, kLegendLate, kStyle},
    {NameKind::class_name, kLegendTight, kStyle},
    {NameKind::class_name, kLegendCurve, kStyle},
    {NameKind::class_name, kLegendRepetition, kStyle},
    {NameKind::class_name, kRunNotes, kStyle},
    {NameKind::class_name, kPlanBox, kStyle},
    {NameKind::class_name, kNorth, kStyle},
    {NameKind::class_name, kNone, kStyle},
    {NameKind::class_name, kNumber, kStyle},
    {NameKind::class_name, kSource, kStyle},
    {NameKind::class_name, kStop, kStyle | kScript},
    {NameKind::class_name, kError, kStyle},
    {NameKind::class_name, kWarning, kStyle},
    {NameKind::class_name, kNote, kStyle},
    {NameKind::class_name, kTrack, kStyle},
    {NameKind::class_name, kRunout, kStyle},
    {NameKind::class_name, kTunnel, kStyle},
    {NameKind::class_name, kPlanStationGroup, kStyle | kScript},
    {NameKind::class_name, kKilometrePost, kStyle | kScript},
    {NameKind::class_name, kKilometreDot, kStyle},
    {NameKind::class_name, kRouteEndPoint, kStyle | kScript},
    {NameKind::class_name, kStart, kStyle},
    {NameKind::class_name, kEnd, kStyle},
    {NameKind::class_name, kPlanErrorDot, kStyle},
    {NameKind::class_name, kCursor, kStyle},
    {NameKind::class_name, kBandName, kStyle},
    {NameKind::class_name, kTick, kStyle},
    {NameKind::class_name, kSeparator, kStyle | kScript},
    {NameKind::class_name, kHorizontalGrid, kStyle | kScript},
    {NameKind::class_name, kElevation, kStyle},
    {NameKind::class_name, kElevationArea, kStyle},
    {NameKind::class_name, kLimit, kStyle},
    {NameKind::class_name, kBoardA, kStyle},
    {NameKind::class_name, kBoardB, kStyle},
    {NameKind::class_name, kBoardC, kStyle},
    {NameKind::class_name, kAdhesion, kStyle},
    {NameKind::class_name, kMountainBar, kStyle},
    {NameKind::class_name, kZone, kStyle | kScript},
    {NameKind::class_name, kSlowdownBar, kStyle},
    {NameKind::class_name, kGradientLabel, kStyle},
    {NameKind::class_name, kLimitLabel, kStyle},
    {NameKind::class_name, kAdhesionLabel, kStyle},
    {NameKind::class_name, kMountainLabel, kStyle},
    {NameKind::class_name, kObject, kStyle},
    {NameKind::class_name, kGlyph, kStyle},
    {NameKind::class_name, kAutomatic, kStyle},
    {NameKind::class_name, kLabel, kStyle | kScript},
    {NameKind::class_name, kStationGroup, kStyle | kScript},
    {NameKind::class_name, kErrorMark, kStyle},
    {NameKind::class_name, kRouteEnd, kStyle},
    {NameKind::class_name, kRunSpeed, kStyle},
    {NameKind::class_name, kRunTime, kStyle},
    {NameKind::class_name, kSchedule, kStyle},
    {NameKind::class_name, kLate, kStyle},
    {NameKind::class_name, kTight, kStyle},
    {NameKind::class_name, kMarginLabel, kStyle},
    {NameKind::class_name, kRunMissing, kStyle},
    {NameKind::class_name, kCurveBar, kStyle},
    {NameKind::class_name, kCurveLabel, kStyle},
    {NameKind::class_name, kRepetitionBar, kStyle},
    {NameKind::class_name, kRepetitionLabel, kStyle},
    {NameKind::class_prefix, kKindPrefix, kStyle},
    {NameKind::class_prefix, kSignalSidesPrefix, kStyle},
    {NameKind::class_name, kHighlit, kStyle | kScript},
    {NameKind::class_name, kHidden, kStyle | kScript},
    {NameKind::class_name, kDragging, kStyle | kScript},
    {NameKind::class_name, kAxisRoute, kStyle | kScript},
    {NameKind::class_name, kAxisChain, kStyle | kScript},
    {NameKind::class_name, kVerticalGrid, kStyle | kScript},
    {NameKind::data, kDataKilometreStep, kStyle | kScript},
    {NameKind::data, kDataTip, kScript},
    {NameKind::data, kDataReady, kScript},
    {NameKind::data, kDataMetres, kScript},
    {NameKind::data, kDataStation, kScript},
    {NameKind::data, kDataDiagnostics, kScript},
    {NameKind::data, kDataObject, kScript},
    {NameKind::data, kDataKind, kScript},
    {NameKind::data, kDataWidth, kScript},
    {NameKind::data, kDataLeft, kScript},
    {NameKind::data, kDataRight, kScript},
    {NameKind::data, kDataPadding, kScript},
    {NameKind::data_key, kKeyFirst, kScript},
    {NameKind::data_key, kKeyLast, kScript},
    {NameKind::data_key, kKeyClosestZoom, kScript},
    {NameKind::data_key, kKeyPlan, kScript},
    {NameKind::data_key, kKeyLimit, kScript},
    {NameKind::data_key, kKeyGradient, kScript},
    {NameKind::data_key, kKeyAdhesion, kScript},
    {NameKind::data_key, kKeyElevation, kScript},
    {NameKind::data_key, kKeyChainage, kScript},
    {NameKind::data_key, kKeyRunSpeed, kScript},
    {NameKind::data_key, kKeyRunTime, kScript},
};

// The placeholders of assets/watch_reload.js and the function it defines,
// which the generation file calls.
inline constexpr std::string_view kPageGeneration = "PAGE_GENERATION";
inline constexpr std::string_view kGenerationFileName = "GENERATION_FILE_NAME";
inline constexpr std::string_view kWatchCallback = "scenariocWatch";

}  // namespace scenario::page
