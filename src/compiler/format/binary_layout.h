// The byte layouts of the three compiled files, each record's fields stated
// once as a table that the encoders, the decoder and the dumps all walk; with
// the little-endian writer the encoders append with and the loads the decoder
// reads with. docs/compiled-files.md describes the same layouts.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>

#include "compiler/format/record_field.h"
#include "compiler/scenario_records.h"

namespace scenario {

// Route cell file: cell i is the 15 bytes at 15 × i, cell 0 first.
namespace cell_layout {
inline constexpr RecordField oggetto{"oggetto", &cella::oggetto, 0, 1, kUnsigned};
inline constexpr RecordField dato1{"dato1", &cella::dato1, 1, 2, kSigned};
inline constexpr RecordField dato2{"dato2", &cella::dato2, 3, 2, kSigned};
inline constexpr RecordField dato3{"dato3", &cella::dato3, 5, 2, kSigned};
inline constexpr RecordField dato4{"dato4", &cella::dato4, 7, 2, kSigned};
inline constexpr RecordField tempo_segnale{"tempo_segnale", &cella::tempo_segnale, 9, 1, kUnsigned};
inline constexpr RecordField preavviso{"preavviso", &cella::preavviso, 10, 1, kUnsigned};
inline constexpr RecordField montagna{"montagna", &cella::montagna, 11, 1, kUnsigned};
inline constexpr RecordField velocita{"velocita", &cella::velocita, 12, 1, kUnsigned};
inline constexpr RecordField pendenza{"pendenza", &cella::pendenza, 13, 1, kUnsigned};
inline constexpr RecordField aderenza{"aderenza", &cella::aderenza, 14, 1, kUnsigned};
inline constexpr std::size_t kSize = 15;

// Every field in file order: the encoder, the decoder and every text of a
// cell walk this table.
inline constexpr std::tuple kFields{oggetto,   dato1,    dato2,    dato3,    dato4,   tempo_segnale,
                                    preavviso, montagna, velocita, pendenza, aderenza};

// Cell 1 is the header cell.
inline constexpr std::size_t kHeaderCell = 1;
inline constexpr int16_t kHeaderValue = 5121;  // its dato1; dato2 is codice_gara_og

// The longest route gives cells 0 to (1000000 + 7000) / 50, the largest file.
inline constexpr std::size_t kMaxCells =
    static_cast<std::size_t>(cell_ending_at(kMaxRouteLength + kRowBeyondEnd)) + 1;
static_assert(on_cell_grid(kMaxRouteLength + kRowBeyondEnd));
inline constexpr std::size_t kMaxFileSize = kSize * kMaxCells;
}  // namespace cell_layout

// Station table file: the 87 records in index order, each 34 + L bytes where L
// is the length of its text. The fields after the text start at 16 + L, so
// their offsets count from the end of the text.
namespace station_layout {
inline constexpr RecordField genere{"genere", &voce::genere, 0, 1, kUnsigned};
inline constexpr RecordField valore1{"valore1", &voce::valore1, 1, 4, kSigned};
inline constexpr RecordField valore2{"valore2", &voce::valore2, 5, 4, kSigned};
inline constexpr RecordField valore3{"valore3", &voce::valore3, 9, 4, kSigned};
inline constexpr RecordField colonna4{"colonna4", &voce::colonna4, 13, 1, kUnsigned};
inline constexpr TextField testo{"testo", &voce::testo, 14, 2};
inline constexpr std::size_t kTextStart = testo.text_start();

inline constexpr RecordField colonna7{"colonna7", &voce::colonna7, 0, 2, kSigned};
inline constexpr RecordField colonna8{"colonna8", &voce::colonna8, 2, 2, kSigned};
inline constexpr RecordField colonna10{"colonna10", &voce::colonna10, 4, 2, kSigned};
inline constexpr RecordField colonna11{"colonna11", &voce::colonna11, 6, 2, kSigned};
inline constexpr RecordField colonna12{"colonna12", &voce::colonna12, 8, 2, kSigned};
inline constexpr RecordField colonna9{"colonna9", &voce::colonna9, 10, 1, kUnsigned};
inline constexpr RecordField colonna13{"colonna13", &voce::colonna13, 11, 1, kUnsigned};
inline constexpr RecordField colonna6{"colonna6", &voce::colonna6, 12, 1, kUnsigned};
inline constexpr RecordField colonna5{"colonna5", &voce::colonna5, 13, 1, kUnsigned};
inline constexpr RecordField orario{"orario", &voce::orario, 14, 4, kSigned};
inline constexpr std::size_t kTailSize = 18;

// The fields before the text, offsets from the start of the record, and the
// fields after it, offsets from the end of the text; each in file order.
inline constexpr std::tuple kHeadFields{genere, valore1, valore2, valore3, colonna4};
inline constexpr std::tuple kTailFields{colonna7, colonna8,  colonna10, colonna11, colonna12,
                                        colonna9, colonna13, colonna6,  colonna5,  orario};

inline constexpr std::size_t kFixedSize = kTextStart + kTailSize;  // 34: a record with no text
inline constexpr std::size_t kMaxTextLength = testo.max_length();

// Calls `visit` with every field of a record in file order: the head fields,
// the text, the tail fields.
template <typename Visit>
constexpr void for_each_record_field(Visit&& visit) {
  for_each_field(kHeadFields, visit);
  visit(testo);
  for_each_field(kTailFields, visit);
}

// Record 85 carries the header: colonna7 = 610, orario = codice_gara_st.
inline constexpr int16_t kHeaderColonna7 = 610;

// Every record with the longest text.
inline constexpr std::size_t kMaxFileSize = kTableEntries * (kFixedSize + kMaxTextLength);
}  // namespace station_layout

// Track plan file: 2 × (metri_totali + 1) tagged elements, the x column for
// every metre, then the y column. Each element is a 2-byte unsigned tag and
// the value the tag names.
namespace track_layout {
inline constexpr std::size_t kTagWidth = 2;

// What a tag names: the entry type it holds and the width of its value.
struct ElementKind {
  uint16_t tag;
  TrackTag type;
  std::size_t width;
};
inline constexpr ElementKind kEmpty{0, TrackTag::empty, 0};
inline constexpr ElementKind kInt16{2, TrackTag::int16, 2};  // signed
inline constexpr ElementKind kReal{5, TrackTag::real, 8};    // IEEE-754 double, bit for bit
inline constexpr std::array kElementKinds{kEmpty, kInt16, kReal};

inline constexpr std::size_t kWidestElement = kTagWidth + kReal.width;

// The longest route gives metres 0 to 1000000 + 7000; the largest file holds
// every element of both columns at its widest.
inline constexpr std::size_t kMaxMetres =
    static_cast<std::size_t>(kMaxRouteLength + kRowBeyondEnd) + 1;
inline constexpr std::size_t kMaxFileSize = 2 * kMaxMetres * kWidestElement;
}  // namespace track_layout

// A record's rows cover its bytes one after the other with no gap, each as
// wide and as signed as the member that holds it, and every member of the
// record has its row: a field added to `cella` or `voce` fails here until its
// table has it.
static_assert(covers_exactly(cell_layout::kFields, cell_layout::kSize),
              "cell_layout::kFields must cover the kSize bytes of a cell in order");
static_assert(std::tuple_size_v<decltype(cell_layout::kFields)> == member_count<cella>(),
              "every member of cella needs its row in cell_layout::kFields");
static_assert(covers_exactly(station_layout::kHeadFields, station_layout::testo.length_offset),
              "station_layout::kHeadFields must cover the bytes before the text length in order");
static_assert(covers_exactly(station_layout::kTailFields, station_layout::kTailSize),
              "station_layout::kTailFields must cover the bytes after the text in order");
static_assert(std::tuple_size_v<decltype(station_layout::kHeadFields)> + 1 +
                      std::tuple_size_v<decltype(station_layout::kTailFields)> ==
                  member_count<voce>(),
              "every member of voce needs its row in station_layout's tables");

// The encoder writes the plan's own tag byte as the element's tag.
static_assert([] {
  for (const track_layout::ElementKind& kind : track_layout::kElementKinds) {
    if (kind.tag != static_cast<uint16_t>(kind.type)) return false;
  }
  return true;
}());

// Builds one file's bytes in a buffer: fixed-layout records are filled in
// place in a small staging area that goes to the buffer in one append when it
// fills, so that a field costs a store rather than a call; texts are appended
// as they are.
class ByteWriter {
 public:
  explicit ByteWriter(std::size_t size) { bytes_.reserve(size); }
  ByteWriter(const ByteWriter&) = delete;
  ByteWriter& operator=(const ByteWriter&) = delete;

  // Room for a fixed-layout record of `n` bytes (at most 4096), which the
  // caller fills in place at its fields' offsets before the next call.
  char* room(std::size_t n) {
    if (next_ + n > staged_ + kStagedBytes) flush();
    char* record = next_;
    next_ += n;
    return record;
  }
  void put_bytes(std::string_view v) {
    flush();
    bytes_.append(v);
  }

  std::size_t size() const { return bytes_.size() + static_cast<std::size_t>(next_ - staged_); }
  std::string take() {
    flush();
    return std::move(bytes_);
  }

 private:
  static constexpr std::size_t kStagedBytes = 4096;

  void flush() {
    bytes_.append(staged_, static_cast<std::size_t>(next_ - staged_));
    next_ = staged_;
  }

  std::string bytes_;
  char staged_[kStagedBytes];
  char* next_ = staged_;
};

// Little-endian loads from `p`; the caller has checked that the bytes exist.
inline uint8_t load_u8(const char* p) { return static_cast<uint8_t>(p[0]); }
inline uint16_t load_u16(const char* p) { return static_cast<uint16_t>(load_le(p, 2)); }
inline int16_t load_i16(const char* p) { return static_cast<int16_t>(load_u16(p)); }
inline int32_t load_i32(const char* p) { return static_cast<int32_t>(load_le(p, 4)); }
inline double load_f64(const char* p) { return std::bit_cast<double>(load_le(p, 8)); }

}  // namespace scenario
