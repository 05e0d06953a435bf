#include "compiler/compiled_file_decoder.h"

#include <cstddef>
#include <limits>
#include <string>

#include "base/run_time_failure.h"
#include "compiler/binary_layout.h"

namespace scenario {
namespace {

[[noreturn]] void fail_at(std::size_t offset, const std::string& what) {
  throw RunTimeFailure("byte " + std::to_string(offset) + ": " + what);
}

const track_layout::ElementKind& kind_of_tag(uint16_t tag, std::size_t offset) {
  for (const track_layout::ElementKind& kind : track_layout::kElementKinds) {
    if (kind.tag == tag) return kind;
  }
  fail_at(offset, "unknown element tag " + std::to_string(tag));
}

// Checks the element at `offset` and returns the offset of the next one.
std::size_t next_element(std::string_view bytes, std::size_t offset) {
  const std::size_t left = bytes.size() - offset;
  if (left < track_layout::kTagWidth) {
    fail_at(offset, "element tag cut short by the end of the file");
  }
  const uint16_t tag = load_u16(bytes.data() + offset);
  const std::size_t width = kind_of_tag(tag, offset).width;
  if (left - track_layout::kTagWidth < width) {
    fail_at(offset, "element with tag " + std::to_string(tag) + " needs " + std::to_string(width) +
                        " value bytes, " + std::to_string(left - track_layout::kTagWidth) +
                        " left");
  }
  return offset + track_layout::kTagWidth + width;
}

std::size_t count_elements(std::string_view bytes) {
  std::size_t count = 0;
  for (std::size_t offset = 0; offset < bytes.size(); offset = next_element(bytes, offset)) ++count;
  return count;
}

void store_element(Tracciato& plan, int32_t metre, int axis, const char* p) {
  const uint16_t tag = load_u16(p);
  if (tag == track_layout::kInt16.tag) {
    plan.set_int16(metre, axis, load_i16(p + track_layout::kTagWidth));
  } else if (tag == track_layout::kReal.tag) {
    plan.set_real(metre, axis, load_f64(p + track_layout::kTagWidth));
  }
}

// A bounded view of one station record, the fields after the text counted
// from the text's end.
struct RecordView {
  const char* head;
  const char* tail;
};

RecordView view_station_record(std::string_view bytes, std::size_t offset, int index) {
  using namespace station_layout;
  const std::size_t left = bytes.size() - offset;
  const std::string name = "record " + std::to_string(index);
  if (left < kTextStart) {
    fail_at(offset, name + " cut short: " + std::to_string(left) + " bytes left, at least " +
                        std::to_string(kFixedSize) + " needed");
  }
  const std::size_t length = testo.load_length(bytes.data() + offset);
  if (left - kTextStart < length) {
    fail_at(offset + kTextStart, "text of " + name + " (" + std::to_string(length) +
                                     " bytes) runs past the end of the file");
  }
  if (left - kTextStart - length < kTailSize) {
    fail_at(offset + kTextStart + length,
            name + " cut short after its text: " + std::to_string(left - kTextStart - length) +
                " bytes left, " + std::to_string(kTailSize) + " needed");
  }
  const char* head = bytes.data() + offset;
  return {head, head + kTextStart + length};
}

voce read_station_record(const RecordView& r) {
  using namespace station_layout;
  voce v;
  for_each_field(kHeadFields, [&](const auto& field) { field.load(r.head, v); });
  testo.text(v).assign(r.head + kTextStart, r.tail);
  for_each_field(kTailFields, [&](const auto& field) { field.load(r.tail, v); });
  return v;
}

cella read_cell(const char* p) {
  cella c;
  for_each_field(cell_layout::kFields, [&](const auto& field) { field.load(p, c); });
  return c;
}

}  // namespace

DecodedTrackPlan decode_track_plan(std::string_view bytes) {
  const std::size_t count = count_elements(bytes);
  if (count % 2 != 0) {
    fail_at(bytes.size(), std::to_string(count) + " elements do not split into two equal columns");
  }
  const std::size_t metres = count / 2;
  if (metres > static_cast<std::size_t>(std::numeric_limits<int32_t>::max())) {
    fail_at(bytes.size(), std::to_string(metres) + " metres are more than a plan can hold");
  }
  DecodedTrackPlan plan;
  plan.metri_totali = static_cast<int32_t>(metres) - 1;
  if (count == 0) return plan;
  plan.tracciato.create(plan.metri_totali);
  std::size_t offset = 0;
  for (int axis = 0; axis < 2; ++axis) {
    for (int32_t m = 0; m <= plan.metri_totali; ++m) {
      store_element(plan.tracciato, m, axis, bytes.data() + offset);
      offset = next_element(bytes, offset);
    }
  }
  return plan;
}

Tabella decode_station_table(std::string_view bytes) {
  Tabella tabella;
  std::size_t offset = 0;
  for (int k = 0; k < kTableEntries; ++k) {
    const RecordView record = view_station_record(bytes, offset, k);
    tabella[k] = read_station_record(record);
    offset = static_cast<std::size_t>(record.tail - bytes.data()) + station_layout::kTailSize;
  }
  if (offset != bytes.size()) {
    fail_at(offset, std::to_string(bytes.size() - offset) + " trailing bytes after record " +
                        std::to_string(kTableEntries - 1) + ", the last one");
  }
  return tabella;
}

std::vector<cella> decode_route_cells(std::string_view bytes) {
  const std::size_t whole = bytes.size() / cell_layout::kSize;
  if (bytes.size() % cell_layout::kSize != 0) {
    fail_at(whole * cell_layout::kSize,
            "file size " + std::to_string(bytes.size()) + " is not a multiple of 15: cell " +
                std::to_string(whole) + " has " +
                std::to_string(bytes.size() % cell_layout::kSize) + " of its 15 bytes");
  }
  std::vector<cella> percorso;
  percorso.reserve(whole);
  for (std::size_t i = 0; i < whole; ++i)
    percorso.push_back(read_cell(bytes.data() + i * cell_layout::kSize));
  return percorso;
}

}  // namespace scenario
