#include "compiler/decompile/scenario_text.h"

#include <string>
#include <string_view>

#include "source/record_lines.h"

namespace scenario {
namespace {

namespace lines = record_lines;

// Records that stop a compile where the compile that wrote a set stopped: a
// signal repetition without its number of codes (error 5), which ends the
// general part, and a curve without a class (error 103), which ends the object part.
constexpr RecordLayout kRepetitionWithoutCodes{"ripetizione segnali codici", lines::kGeneral2};
constexpr RecordLayout kCurveWithoutClass{"curva", lines::kCurve};

void add(Righe& righe, std::string_view text) { righe.emplace_back(text); }

LineValue speed_or_empty(int32_t speed, bool empty) {
  if (empty) return EmptyValue{};
  return int64_t{speed};
}

std::string reference_line(const RecordLayout& layout, const ReferenceRecord& r) {
  return record_line(layout, {int64_t{r.position}, int64_t{r.chainage}, int64_t{r.flag}});
}

std::string speed_board_line(const SpeedBoardRecord& board) {
  const SpeedBoardValues& b = board.values;
  return record_line(
      lines::kSpeedBoards,
      {int64_t{b.posizione}, speed_or_empty(b.vas, board.left_empty),
       speed_or_empty(b.vbs, board.left_empty), speed_or_empty(b.vcs, board.left_empty),
       int64_t{b.strisces}, speed_or_empty(b.vad, board.right_empty),
       speed_or_empty(b.vbd, board.right_empty), speed_or_empty(b.vcd, board.right_empty),
       int64_t{b.strisced}});
}

std::string station_line(const StationRecord& s) {
  const int32_t* c = s.codes;
  return record_line(lines::kStationLine,
                     {int64_t{s.position}, int64_t{s.genere}, int64_t{s.length}, int64_t{c[0]},
                      int64_t{c[1]}, int64_t{c[2]}, int64_t{c[3]}, int64_t{c[4]}, int64_t{c[5]},
                      int64_t{c[6]}, int64_t{c[7]}, int64_t{c[8]}, int64_t{c[9]}, int64_t{s.hours},
                      int64_t{s.minutes}, int64_t{s.seconds}, std::string_view(s.name)});
}

std::string slowdown_line(const SlowdownValues& v) {
  return record_line(lines::kSlowdownLine, {int64_t{v.x}, int64_t{v.v}, int64_t{v.l},
                                            int64_t{v.f_tt}, int64_t{v.f_ta}, int64_t{v.d_v}});
}

std::string signal_line(const SignalValues& s) {
  return record_line(lines::kSignalLine,
                     {int64_t{s.posizione}, int64_t{s.sx}, int64_t{s.s1}, int64_t{s.s2},
                      int64_t{s.s3}, int64_t{s.rapp}, int64_t{s.dx}, int64_t{s.d1}, int64_t{s.d2},
                      int64_t{s.d3}, int64_t{s.tempo}});
}

std::string profile_line(const RecordLayout& layout, const ProfileStep& step) {
  return record_line(layout, {int64_t{step.position}, int64_t{step.value}});
}

// The section each kind of object record is written under, in the file's order.
constexpr std::string_view kTrainSections[] = {lines::kHeaderStazioni, lines::kHeaderRallentamenti,
                                               lines::kHeaderSegnali, lines::kHeaderCodici};

std::string_view section_of(TrainRecordKind kind) {
  return kTrainSections[static_cast<size_t>(kind)];
}

std::string train_record_line(const RecoveredTrain& train, const TrainRecordRef& ref) {
  switch (ref.kind) {
    case TrainRecordKind::station:
      return station_line(train.stations[ref.index]);
    case TrainRecordKind::slowdown:
      return slowdown_line(train.slowdowns[ref.index]);
    case TrainRecordKind::signal:
      return signal_line(train.signals[ref.index]);
    case TrainRecordKind::abbattimento:
      break;
  }
  const AbbattimentoRecord& a = train.abbattimenti[ref.index];
  return record_line(lines::kAbbattimento, {int64_t{a.position}, int64_t{a.value}});
}

// The object records under their headers. In the usual order every header
// stands once, empty sections too; records whose approach marks need another
// order are written as that order asks, each under the header of its kind.
void add_train_objects(Righe& righe, const RecoveredTrain& train) {
  bool grouped = true;
  for (size_t i = 1; i < train.order.size(); ++i) {
    if (train.order[i].kind < train.order[i - 1].kind) grouped = false;
  }
  if (grouped) {
    size_t next = 0;
    for (std::string_view section : kTrainSections) {
      add(righe, section);
      for (; next < train.order.size() && section_of(train.order[next].kind) == section; ++next) {
        add(righe, train_record_line(train, train.order[next]));
      }
    }
    return;
  }
  std::string_view current;
  for (const TrainRecordRef& ref : train.order) {
    if (section_of(ref.kind) != current) {
      current = section_of(ref.kind);
      add(righe, current);
    }
    add(righe, train_record_line(train, ref));
  }
  if (current != lines::kHeaderCodici) add(righe, lines::kHeaderCodici);
}

}  // namespace

Righe line_source_lines(const RecoveredLine& line) {
  Righe righe;
  add(righe, lines::kHeaderGenerale);
  add(righe, record_line(lines::kRouteLength, {int64_t{line.lunghezza}}));
  add(righe, reference_line(lines::kReferenceUno, line.uno));
  add(righe, reference_line(lines::kReferenceDue, line.due));
  add(righe, reference_line(lines::kReferenceTre, line.tre));
  add(righe, record_line(lines::kBackgroundUno, {int64_t{line.sfondo_uno}}));
  add(righe, record_line(lines::kBackgroundDue, {int64_t{line.sfondo_due}}));
  add(righe, record_line(lines::kBackgroundTre, {int64_t{line.sfondo_tre}}));
  const LineValue repetition[] = {int64_t{line.repetition_start}, int64_t{line.repetition_end}};
  if (line.repetition_codes != 0 || !line.stops_in_general_part) {
    add(righe, record_line(line.repetition_codes == 9 ? lines::kRepetition9 : lines::kRepetition4,
                           {repetition[0], repetition[1]}));
  }
  if (line.stops_in_general_part) {
    add(righe, record_line(kRepetitionWithoutCodes, {repetition[0], repetition[1]}));
  }
  add(righe, lines::kHeaderCurve);
  for (const CurveRecord& c : line.curves) {
    add(righe, curve_line(c.side, c.klass, c.start, c.length));
  }
  add(righe, lines::kHeaderPendenze);
  for (const ProfileStep& step : line.gradients) add(righe, profile_line(lines::kGradient, step));
  add(righe, lines::kHeaderMontagne);
  for (const MountainRecord& m : line.mountains) {
    add(righe, record_line(lines::kMountainStretch,
                           {int64_t{m.inizio}, int64_t{m.fine}, int64_t{m.tipo}}));
  }
  add(righe, lines::kHeaderCartelli);
  for (const SpeedBoardRecord& board : line.speed_boards) add(righe, speed_board_line(board));
  add(righe, "");
  add(righe, lines::kHeaderIndicazioni);
  for (const IndicationBoardRecord& board : line.indication_boards) {
    add(righe, record_line(lines::kIndicationBoard,
                           {int64_t{board.position}, std::string_view(board.text)}));
  }
  if (line.stops_in_object_part) {
    add(righe, record_line(kCurveWithoutClass, {int64_t{0}, int64_t{0}}));
  }
  add(righe, lines::kHeaderFine);
  return righe;
}

Righe train_source_lines(const RecoveredTrain& train) {
  Righe righe;
  add(righe, lines::kHeaderGenerale);
  add(righe, record_line(lines::kCoaches, {int64_t{train.numero_vetture}}));
  add(righe, record_line(lines::kBrakedMass, {int64_t{train.massa_frenata}}));
  add(righe, record_line(lines::kSand, {int64_t{train.sabbia}}));
  add(righe, record_line(lines::kClockLine, {int64_t{train.clock[0]}, int64_t{train.clock[1]},
                                             int64_t{train.clock[2]}}));
  add(righe, lines::kHeaderAderenze);
  for (const ProfileStep& step : train.adhesion) add(righe, profile_line(lines::kAdhesion, step));
  add(righe, lines::kHeaderVelLimite);
  for (const ProfileStep& step : train.speeds) add(righe, profile_line(lines::kSpeed, step));
  add_train_objects(righe, train);
  add(righe, lines::kHeaderFine);
  return righe;
}

}  // namespace scenario
