// The warnings about one record's values, made as the parser reads it: a
// value the files cannot hold as written, a position off the 50 m grid or off
// the route, a profile or a curve out of order, an object whose cells or marks
// take another's place. None changes what is compiled.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "compiler/parse/parse_session.h"
#include "compiler/stampers.h"

namespace scenario {

void check_route_length(ParseSession& s, int32_t length);
void check_gradient(ParseSession& s, int32_t p, int32_t g);
// `c` is the curve's curvature per metre.
void check_curve(ParseSession& s, int32_t a, int32_t b, double c);
void check_mountain(ParseSession& s, int32_t inizio, int32_t fine);
void check_speed_board(ParseSession& s, const SpeedBoardValues& b);
void check_indication_board(ParseSession& s, int32_t p, const std::string& text);

void check_speed(ParseSession& s, int32_t p, int32_t v);
void check_adhesion(ParseSession& s, int32_t p, int32_t a);
void check_signal(ParseSession& s, const SignalValues& v);
void check_slowdown(ParseSession& s, const SlowdownValues& v);
void check_abbattimento(ParseSession& s, int32_t p, int32_t a);
void check_station(ParseSession& s, const voce& e, int32_t length);
// A station the parse has taken, with its zone, for the checks across the two files.
void note_station(ParseSession& s, const voce& e);
// At the end of the train file: profiles that no record started, or a file
// that no "[generale]" opened.
void check_train_profiles(ParseSession& s);

// The tunnel lights standing in `cells` before a record places its objects.
struct TunnelLight {
  int64_t cell;
  Placement placed;
};
std::vector<TunnelLight> tunnel_lights_in(const BuildContext& ctx,
                                          std::initializer_list<int64_t> cells);
// After the record: a warning for each of those lights that an object replaced.
void warn_replaced_tunnel_lights(ParseSession& s, const std::vector<TunnelLight>& lights);

// The approach marks a signal or a station has just set, with a warning when
// they took the place of too many of another object's.
void note_signal_marks(ParseSession& s, const SignalValues& v);
void note_station_marks(ParseSession& s, const voce& e, double mark);
// Before a station's stop mark goes into cell `c`, whatever it holds.
void check_stop_mark_cell(ParseSession& s, const voce& e, int64_t c);

}  // namespace scenario
