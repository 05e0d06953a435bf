#include "compiler/format/track_plan_view.h"

#include <bit>
#include <cstring>

#include "base/run_time_failure.h"
#include "compiler/format/compiled_file_decoder.h"

namespace scenario {
namespace {

using track_layout::kEmpty;
using track_layout::kInt16;
using track_layout::kReal;
using track_layout::kTagWidth;

constexpr std::size_t kIntElement = kTagWidth + kInt16.width;
constexpr std::size_t kRealElement = kTagWidth + kReal.width;

// An element's tag; the shape check reads every one, in one load on a
// little-endian machine.
uint16_t tag_at(const char* p) {
  if constexpr (std::endian::native == std::endian::little) {
    uint16_t tag;
    std::memcpy(&tag, p, sizeof tag);
    return tag;
  } else {
    return load_u16(p);
  }
}

// The shape of a file is the decoder's to explain: it throws with the byte of
// the fault. Both hold a plan to the same shape, so it always throws.
[[noreturn]] void refuse(std::string_view bytes) {
  decode_track_plan(bytes);
  throw RunTimeFailure("byte 0: the track plan does not have the shape the compiler writes");
}

}  // namespace

std::size_t TrackPlanView::read_column(std::size_t offset, int axis, Column& column) {
  const std::size_t size = bytes_.size();
  const char* p = bytes_.data();
  // Metres 0 and 1: (0, 0) and (0, 1) as 16-bit integers.
  for (int m = 0; m < 2; ++m) {
    if (size - offset < kIntElement || load_u16(p + offset) != kInt16.tag ||
        load_i16(p + offset + kTagWidth) != (axis == 1 ? m : 0)) {
      return 0;
    }
    offset += kIntElement;
  }
  column.reals = p + offset;
  int32_t traced = 0;
  while (size - offset >= kRealElement && tag_at(p + offset) == kReal.tag) {
    offset += kRealElement;
    ++traced;
  }
  int32_t empty = 0;
  while (size - offset >= kTagWidth && tag_at(p + offset) == kEmpty.tag) {
    offset += kTagWidth;
    ++empty;
  }
  column.metres = 2 + traced + empty;
  column.last_traced = 1 + traced;
  return offset;
}

TrackPlanView::TrackPlanView(std::string_view bytes) : bytes_(bytes) {
  if (bytes.size() > track_layout::kMaxFileSize || bytes.size() < kTagWidth) refuse(bytes);
  const char* p = bytes.data();
  if (load_u16(p) == kEmpty.tag) {
    // Untraced: every element of both columns is empty.
    if (bytes.size() % (2 * kTagWidth) != 0) refuse(bytes);
    for (std::size_t offset = 0; offset < bytes.size(); offset += kTagWidth) {
      if (tag_at(p + offset) != kEmpty.tag) refuse(bytes);
    }
    const std::size_t metres = bytes.size() / (2 * kTagWidth);
    if (metres < 2 || metres > track_layout::kMaxMetres) refuse(bytes);
    metri_totali_ = static_cast<int32_t>(metres) - 1;
    return;
  }
  Column x;
  Column y;
  const std::size_t y_start = read_column(0, 0, x);
  if (y_start == 0 || read_column(y_start, 1, y) != bytes.size()) refuse(bytes);
  if (x.metres != y.metres || x.last_traced != y.last_traced) refuse(bytes);
  if (static_cast<std::size_t>(x.metres) > track_layout::kMaxMetres) refuse(bytes);
  x_reals_ = x.reals;
  y_reals_ = y.reals;
  last_traced_ = x.last_traced;
  metri_totali_ = x.metres - 1;
  // The last two metres are always empty.
  if (last_traced_ > metri_totali_ - 2) refuse(bytes);
  traced_ = true;
}

}  // namespace scenario
