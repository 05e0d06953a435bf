#include "compiler/compiled_files.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "base/run_time_failure.h"
#include "compiler/binary_layout.h"

namespace scenario {
namespace {

using track_layout::kWidestElement;
constexpr int kRun = 8;
// Eight tags that all say "double", read as one 64-bit word.
constexpr uint64_t kRunOfReals = track_layout::kReal.tag * uint64_t{0x0101010101010101};

// One entry: its tag and the value its tag names. Returns the end of what it wrote.
char* put_track_entry(char* p, uint8_t tag, const double* value) {
  using namespace track_layout;
  store_le(p, tag, kTagWidth);
  p += kTagWidth;
  if (tag == kReal.tag) {
    store_le(p, std::bit_cast<uint64_t>(*value), kReal.width);
    p += kReal.width;
  } else if (tag == kInt16.tag) {
    store_le(p, static_cast<uint16_t>(static_cast<int16_t>(*value)), kInt16.width);
    p += kInt16.width;
  }
  return p;
}

// Eight entries that all hold doubles, the common case, with no test per entry.
char* put_run_of_reals(char* p, const double* values) {
#pragma GCC unroll 8
  for (int i = 0; i < kRun; ++i) {
    store_le(p, track_layout::kReal.tag, track_layout::kTagWidth);
    store_le(p + track_layout::kTagWidth, std::bit_cast<uint64_t>(values[i]),
             track_layout::kReal.width);
    p += kWidestElement;
  }
  return p;
}

// Hands one axis of the plan to `put`, metre 0 first. Entries are staged a
// block at a time in a local buffer with room for every entry of the block at
// its widest, so that an entry costs a few stores and no test of the room left.
void put_track_axis(const BlockSink& put, const Tracciato& tracciato, int axis) {
  constexpr int32_t kBlockEntries = 6000;  // a block of at most 60 000 bytes
  const uint8_t* tags = tracciato.tag_column(axis);
  const double* values = tracciato.value_column(axis);
  const int32_t metres = tracciato.last_metre() + 1;
  char block[kBlockEntries * kWidestElement];
  for (int32_t m = 0; m < metres;) {
    const int32_t end = m + std::min(metres - m, kBlockEntries);
    char* p = block;
    for (uint64_t run_tags; m + kRun <= end;) {
      std::memcpy(&run_tags, tags + m, kRun);
      if (run_tags == kRunOfReals) {
        p = put_run_of_reals(p, values + m);
        m += kRun;
      } else {
        p = put_track_entry(p, tags[m], values + m);
        ++m;
      }
    }
    for (; m < end; ++m) p = put_track_entry(p, tags[m], values + m);
    put(std::string_view(block, static_cast<std::size_t>(p - block)));
  }
}

void check_text_length(const voce& v, int index) {
  const std::string& text = station_layout::testo.text(v);
  if (text.size() > station_layout::kMaxTextLength) {
    throw RunTimeFailure("entry " + std::to_string(index) + ": text of " +
                         std::to_string(text.size()) + " bytes is longer than " +
                         std::to_string(station_layout::kMaxTextLength));
  }
}

// The head fields, the text, then the tail fields counted from the text's end.
void put_station_record(ByteWriter& out, const voce& v) {
  using namespace station_layout;
  char* head = out.room(kTextStart);
  for_each_field(kHeadFields, [&](const auto& field) { field.store(head, v); });
  testo.store_length(head, v);
  out.put_bytes(testo.text(v));
  char* tail = out.room(kTailSize);
  for_each_field(kTailFields, [&](const auto& field) { field.store(tail, v); });
}

void put_cell(ByteWriter& out, const cella& c) {
  char* record = out.room(cell_layout::kSize);
  for_each_field(cell_layout::kFields, [&](const auto& field) { field.store(record, c); });
}

}  // namespace

void encode_track_plan(const Tracciato& tracciato, const BlockSink& put) {
  if (!tracciato.exists()) return;
  for (int axis = 0; axis < 2; ++axis) put_track_axis(put, tracciato, axis);
}

std::string encode_track_plan(const Tracciato& tracciato) {
  std::string bytes;
  // Room for every entry at its widest: the exact size for a traced plan.
  bytes.reserve(2 * static_cast<std::size_t>(tracciato.last_metre() + 1) * kWidestElement);
  encode_track_plan(tracciato, [&](std::string_view block) { bytes.append(block); });
  return bytes;
}

std::string encode_station_table(const Tabella& tabella) {
  std::size_t size = 0;
  for (int k = 0; k < kTableEntries; ++k) {
    check_text_length(tabella[k], k);
    size += station_layout::kFixedSize + station_layout::testo.text(tabella[k]).size();
  }
  ByteWriter out(size);
  for (const voce& v : tabella) put_station_record(out, v);
  return out.take();
}

std::string encode_route_cells(const std::vector<cella>& percorso) {
  ByteWriter out(cell_layout::kSize * percorso.size());
  for (const cella& c : percorso) put_cell(out, c);
  return out.take();
}

}  // namespace scenario
