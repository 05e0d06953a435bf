#include "compiler/format/compiled_file_decoder.h"

#include <array>
#include <cstddef>
#include <string>

#include "base/run_time_failure.h"
#include "compiler/competition_codes.h"
#include "compiler/format/binary_layout.h"
#include "compiler/object_kinds.h"

namespace scenario {
namespace {

[[noreturn]] void fail_at(std::size_t offset, const std::string& what) {
  throw RunTimeFailure("byte " + std::to_string(offset) + ": " + what);
}

std::string str(int64_t v) { return std::to_string(v); }

// Refused before anything is decoded: memory stays bounded whatever the input.
void check_size(std::string_view bytes, std::size_t largest, const char* kind) {
  if (bytes.size() > largest) {
    fail_at(largest, "the file is larger than the " + std::to_string(largest) +
                         " bytes of the largest " + kind + " the compiler writes");
  }
}

// ---- track plan ----

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

const char* axis_name(int axis) { return axis == 0 ? "x" : "y"; }

// What the compiler writes, metre by metre: metre 0 at (0, 0) and metre 1 at
// (0, 1) as 16-bit integers; then doubles, traced without a gap from metre 2;
// then nothing, at least over the last two metres. A parse that stopped before
// the curves leaves every metre empty. A metre's x and y are of one type.
class TrackPlanChecker {
 public:
  explicit TrackPlanChecker(int32_t metri_totali) : metri_totali_(metri_totali) {}

  // Metre `m` of column `axis`, at `offset`; the x column comes first.
  void check(const Tracciato& plan, int32_t m, int axis, TrackTag tag, const char* value,
             std::size_t offset) {
    const std::string where = "metre " + str(m) + ", " + axis_name(axis) + ": ";
    if (axis == 1) {
      const TrackTag x_tag = plan.entry(m, 0).tag;
      if (tag != x_tag) {
        fail_at(offset, where + "tag " + str(static_cast<int>(tag)) + " where x has tag " +
                            str(static_cast<int>(x_tag)) + "; a metre's x and y are of one type");
      }
    }
    if (m == 0 && axis == 0) traced_ = tag != TrackTag::empty;
    if (!traced_) {
      if (tag != TrackTag::empty) {
        fail_at(offset, where + "a value in a plan whose metre 0 is empty, where every metre is");
      }
      return;
    }
    if (m <= 1) {
      const int16_t expected = (m == 1 && axis == 1) ? 1 : 0;
      if (tag != TrackTag::int16 || load_i16(value) != expected) {
        fail_at(offset,
                where + "not the 16-bit integer " + str(expected) + " at which every plan starts");
      }
      return;
    }
    if (axis == 1) return;  // the x column has shown where the doubles run
    if (tag == TrackTag::int16) {
      fail_at(offset, where + "a 16-bit integer, which only metres 0 and 1 hold");
    }
    if (tag != TrackTag::real) return;
    if (m > metri_totali_ - 2) {
      fail_at(offset, where + "a value in one of the last two metres, which are always empty");
    }
    if (m > 2 && plan.entry(m - 1, 0).tag == TrackTag::empty) {
      fail_at(offset, where + "a value after the empty metre " + str(m - 1) +
                          "; the traced metres run from metre 2 without a gap");
    }
  }

 private:
  int32_t metri_totali_;
  bool traced_ = false;
};

void store_element(Tracciato& plan, int32_t metre, int axis, TrackTag tag, const char* value) {
  if (tag == TrackTag::int16) {
    plan.set_int16(metre, axis, load_i16(value));
  } else if (tag == TrackTag::real) {
    plan.set_real(metre, axis, load_f64(value));
  }
}

// ---- station table ----

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

// Record 0 is never filled; record 85 holds the header value and the
// competition code of the texts of records 86 and 85.
void check_station_table(const Tabella& tabella, const std::array<RecordView, kTableEntries>& at,
                         std::string_view bytes) {
  using namespace station_layout;
  const auto offset_of = [&](const char* p) { return static_cast<std::size_t>(p - bytes.data()); };
  std::string unused;
  for_each_record_field([&](const auto& field) {
    if constexpr (is_text_field<decltype(field)>) {
      if (unused.empty() && !field.text(tabella[0]).empty()) unused = "testo";
    } else {
      if (unused.empty() && field.value(tabella[0]) != 0) unused = field.name;
    }
  });
  if (!unused.empty()) {
    fail_at(0, "record 0, which the compiler never fills, holds a value in " + unused);
  }
  const voce& header = tabella[kEntryScenario];
  if (header.colonna7 != kHeaderColonna7) {
    fail_at(offset_of(at[kEntryScenario].tail) + colonna7.offset,
            "record 85, the header: colonna7 is " + str(header.colonna7) + ", not " +
                str(kHeaderColonna7));
  }
  const int32_t code = codice_gara_st(tabella);
  if (header.orario != code) {
    fail_at(offset_of(at[kEntryScenario].tail) + orario.offset,
            "record 85, the header: orario is " + str(header.orario) +
                ", not the competition code " + str(code) + " of the texts of records 86 and 85");
  }
}

// ---- route cells ----

cella read_cell(const char* p) {
  cella c;
  for_each_field(cell_layout::kFields, [&](const auto& field) { field.load(p, c); });
  return c;
}

// Every cell holds a kind of object the compiler places; the header cell holds
// the header value and a competition code.
void check_route_cells(const std::vector<cella>& percorso) {
  using namespace cell_layout;
  if (percorso.size() <= kHeaderCell) {
    fail_at(percorso.size() * kSize, str(static_cast<int64_t>(percorso.size())) +
                                         " cells; the compiler writes at least cells 0 and 1, "
                                         "the header cell");
  }
  for (std::size_t i = 0; i < percorso.size(); ++i) {
    if (find_object_kind(percorso[i].oggetto) == nullptr) {
      fail_at(i * kSize + oggetto.offset, "cell " + std::to_string(i) + ": object kind " +
                                              str(percorso[i].oggetto) +
                                              ", which the compiler never writes");
    }
  }
  const cella& header = percorso[kHeaderCell];
  if (header.dato1 != kHeaderValue) {
    fail_at(
        kHeaderCell * kSize + dato1.offset,
        "cell 1, the header cell: dato1 is " + str(header.dato1) + ", not " + str(kHeaderValue));
  }
  if (header.dato2 < 0 || header.dato2 > kMaxCodiceGaraOg) {
    fail_at(kHeaderCell * kSize + dato2.offset,
            "cell 1, the header cell: dato2 is " + str(header.dato2) +
                ", no competition code (0 to " + str(kMaxCodiceGaraOg) + ")");
  }
}

}  // namespace

DecodedTrackPlan decode_track_plan(std::string_view bytes) {
  check_size(bytes, track_layout::kMaxFileSize, "track plan");
  const std::size_t count = count_elements(bytes);
  if (count % 2 != 0) {
    fail_at(bytes.size(), std::to_string(count) + " elements do not split into two equal columns");
  }
  const std::size_t metres = count / 2;
  if (metres < 2 || metres > track_layout::kMaxMetres) {
    fail_at(bytes.size(), std::to_string(metres) + " metres; the compiler writes 2 to " +
                              std::to_string(track_layout::kMaxMetres));
  }
  DecodedTrackPlan plan;
  plan.metri_totali = static_cast<int32_t>(metres) - 1;
  plan.tracciato.create(plan.metri_totali);
  TrackPlanChecker checker(plan.metri_totali);
  std::size_t offset = 0;
  for (int axis = 0; axis < 2; ++axis) {
    for (int32_t m = 0; m <= plan.metri_totali; ++m) {
      const char* element = bytes.data() + offset;
      const auto tag = static_cast<TrackTag>(load_u16(element));
      const char* value = element + track_layout::kTagWidth;
      checker.check(plan.tracciato, m, axis, tag, value, offset);
      store_element(plan.tracciato, m, axis, tag, value);
      offset = next_element(bytes, offset);
    }
  }
  return plan;
}

Tabella decode_station_table(std::string_view bytes) {
  check_size(bytes, station_layout::kMaxFileSize, "station table");
  Tabella tabella;
  std::array<RecordView, kTableEntries> records;
  std::size_t offset = 0;
  for (int k = 0; k < kTableEntries; ++k) {
    records[k] = view_station_record(bytes, offset, k);
    tabella[k] = read_station_record(records[k]);
    offset = static_cast<std::size_t>(records[k].tail - bytes.data()) + station_layout::kTailSize;
  }
  if (offset != bytes.size()) {
    fail_at(offset, std::to_string(bytes.size() - offset) + " trailing bytes after record " +
                        std::to_string(kTableEntries - 1) + ", the last one");
  }
  check_station_table(tabella, records, bytes);
  return tabella;
}

std::vector<cella> decode_route_cells(std::string_view bytes) {
  check_size(bytes, cell_layout::kMaxFileSize, "route cell file");
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
  check_route_cells(percorso);
  return percorso;
}

}  // namespace scenario
