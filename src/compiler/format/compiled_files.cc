#include "compiler/format/compiled_files.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <utility>

#include "base/run_time_failure.h"
#include "compiler/format/binary_layout.h"

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

// An entry that holds a double.
inline void put_real(char* p, double value) {
  store_le(p, track_layout::kReal.tag, track_layout::kTagWidth);
  store_le(p + track_layout::kTagWidth, std::bit_cast<uint64_t>(value), track_layout::kReal.width);
}

// Eight entries that all hold doubles, the common case, with no test per entry.
char* put_run_of_reals(char* p, const double* values) {
#pragma GCC unroll 8
  for (int i = 0; i < kRun; ++i) {
    put_real(p, values[i]);
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

// --- A traced plan, written without holding it ---

constexpr int32_t kColumnBlockElements = 12000;  // blocks of at most 120 000 bytes
constexpr std::size_t kColumnBlockBytes = kColumnBlockElements * kWidestElement;

std::size_t element_width(TrackTag tag) {
  using namespace track_layout;
  for (const ElementKind& kind : kElementKinds) {
    if (kind.type == tag) return kTagWidth + kind.width;
  }
  return kTagWidth;
}

// A plan's metres: 0 and 1 as set (where the plan reaches them), then the
// traced ones as doubles, then every later one empty.
int32_t start_metres(const TracedPlan& plan) { return std::min(plan.last_metre(), 1) + 1; }
int64_t traced_metres(const TracedPlan& plan) { return int64_t{plan.last_traced_metre()} - 1; }
int64_t empty_metres(const TracedPlan& plan) {
  return int64_t{plan.last_metre()} + 1 - start_metres(plan) - traced_metres(plan);
}

uint64_t column_size(const TracedPlan& plan, int axis) {
  uint64_t size = 0;
  for (int32_t m = 0; m < start_metres(plan); ++m) {
    size += element_width(plan.start_entry(m, axis).tag);
  }
  return size + static_cast<uint64_t>(traced_metres(plan)) * kWidestElement +
         static_cast<uint64_t>(empty_metres(plan)) * track_layout::kTagWidth;
}

// One column of the plan file on its way out: elements are staged in a block,
// which goes to `put` at the column's next offset whenever it is full.
class ColumnBlocks {
 public:
  ColumnBlocks(const PlacedBlockSink& put, uint64_t offset, char* block)
      : put_(put), offset_(offset), block_(block), end_(block) {}

  // How many of `n` elements at their widest fit, at least one: a full block
  // is handed on first.
  int32_t room_for(int32_t n) {
    auto free = static_cast<int32_t>((kColumnBlockBytes - used()) / kWidestElement);
    if (free == 0) {
      flush();
      free = kColumnBlockElements;
    }
    return std::min(n, free);
  }
  char*& end() { return end_; }
  void flush() {
    if (used() == 0) return;
    put_(offset_, std::string_view(block_, used()));
    offset_ += used();
    end_ = block_;
  }

 private:
  std::size_t used() const { return static_cast<std::size_t>(end_ - block_); }

  const PlacedBlockSink& put_;
  uint64_t offset_;
  char* block_;
  char* end_;
};

void put_empty_elements(ColumnBlocks& column, int64_t count) {
  static_assert(track_layout::kEmpty.tag == 0, "an empty element is two zero bytes");
  while (count > 0) {
    const int32_t n = column.room_for(static_cast<int32_t>(std::min<int64_t>(count, INT32_MAX)));
    std::memset(column.end(), 0, n * track_layout::kTagWidth);
    column.end() += n * track_layout::kTagWidth;
    count -= n;
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

uint64_t track_plan_size(const TracedPlan& plan) {
  if (!plan.exists()) return 0;
  return column_size(plan, 0) + column_size(plan, 1);
}

void encode_track_plan(const TracedPlan& plan, const PlacedBlockSink& put) {
  if (!plan.exists()) return;
  const auto blocks = std::make_unique_for_overwrite<char[]>(2 * kColumnBlockBytes);
  ColumnBlocks x(put, 0, blocks.get());
  ColumnBlocks y(put, column_size(plan, 0), blocks.get() + kColumnBlockBytes);
  for (int32_t m = 0; m < start_metres(plan); ++m) {
    for (auto [column, axis] : {std::pair{&x, 0}, std::pair{&y, 1}}) {
      const TrackEntry e = plan.start_entry(m, axis);
      column->room_for(1);
      column->end() = put_track_entry(column->end(), static_cast<uint8_t>(e.tag), &e.value);
    }
  }
  TracedPlan::Walker walker(plan);
  while (walker.left() > 0) {
    const int32_t n = y.room_for(x.room_for(walker.left()));
    // Local pointers: the stores through them cannot move them.
    char* x_end = x.end();
    char* y_end = y.end();
    walker.next(n, [&](const track_steps::Point& point) {
      put_real(x_end, point.x);
      put_real(y_end, point.y);
      x_end += kWidestElement;
      y_end += kWidestElement;
    });
    x.end() = x_end;
    y.end() = y_end;
  }
  put_empty_elements(x, empty_metres(plan));
  put_empty_elements(y, empty_metres(plan));
  x.flush();
  y.flush();
}

std::string encode_track_plan(const TracedPlan& plan) {
  std::string bytes(track_plan_size(plan), '\0');
  encode_track_plan(plan, [&](uint64_t offset, std::string_view block) {
    block.copy(bytes.data() + offset, block.size());
  });
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
