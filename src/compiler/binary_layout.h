// The byte layouts of the three compiled files as tables of named offsets and
// widths, with the little-endian writer the encoders append with and the loads
// the decoder reads with. docs/compiled-files.md describes the same layouts.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>

namespace scenario {

// A field of a fixed-layout record: where it starts and how many bytes it takes.
struct ByteField {
  std::size_t offset;
  std::size_t width;
  constexpr std::size_t end() const { return offset + width; }
};

// Route cell file: cell i is the 15 bytes at 15 × i, cell 0 first.
namespace cell_layout {
inline constexpr ByteField oggetto{0, 1};
inline constexpr ByteField dato1{1, 2};
inline constexpr ByteField dato2{3, 2};
inline constexpr ByteField dato3{5, 2};
inline constexpr ByteField dato4{7, 2};
inline constexpr ByteField tempo_segnale{9, 1};
inline constexpr ByteField preavviso{10, 1};
inline constexpr ByteField montagna{11, 1};
inline constexpr ByteField velocita{12, 1};
inline constexpr ByteField pendenza{13, 1};
inline constexpr ByteField aderenza{14, 1};
inline constexpr std::size_t kSize = 15;

// Cell 1 is the header cell.
inline constexpr std::size_t kHeaderCell = 1;
inline constexpr int16_t kHeaderValue = 5121;  // its dato1; dato2 is codice_gara_og
}  // namespace cell_layout

// Station table file: the 87 records in index order, each 34 + L bytes where L
// is the length of its text. The fields after the text start at 16 + L, so
// their offsets below count from the end of the text.
namespace station_layout {
inline constexpr ByteField genere{0, 1};
inline constexpr ByteField valore1{1, 4};
inline constexpr ByteField valore2{5, 4};
inline constexpr ByteField valore3{9, 4};
inline constexpr ByteField colonna4{13, 1};
inline constexpr ByteField text_length{14, 2};
inline constexpr std::size_t kTextStart = 16;

inline constexpr ByteField colonna7{0, 2};
inline constexpr ByteField colonna8{2, 2};
inline constexpr ByteField colonna10{4, 2};
inline constexpr ByteField colonna11{6, 2};
inline constexpr ByteField colonna12{8, 2};
inline constexpr ByteField colonna9{10, 1};
inline constexpr ByteField colonna13{11, 1};
inline constexpr ByteField colonna6{12, 1};
inline constexpr ByteField colonna5{13, 1};
inline constexpr ByteField orario{14, 4};
inline constexpr std::size_t kTailSize = 18;

inline constexpr std::size_t kFixedSize = kTextStart + kTailSize;  // 34: a record with no text
inline constexpr std::size_t kMaxTextLength = 0xFFFF;

// Record 85 carries the header: colonna7 = 610, orario = codice_gara_st.
inline constexpr int16_t kHeaderColonna7 = 610;
}  // namespace station_layout

// Track plan file: 2 × (metri_totali + 1) tagged elements, the x column for
// every metre, then the y column. Each element is a 2-byte tag and its value.
namespace track_layout {
inline constexpr std::size_t kTagWidth = 2;
inline constexpr uint16_t kTagEmpty = 0;
inline constexpr uint16_t kTagInt16 = 2;
inline constexpr uint16_t kTagReal = 5;
inline constexpr std::size_t kEmptyWidth = 0;
inline constexpr std::size_t kInt16Width = 2;
inline constexpr std::size_t kRealWidth = 8;
}  // namespace track_layout

// The encoders append fields in table order: each field must start where the
// one before it ends.
static_assert(cell_layout::dato1.offset == cell_layout::oggetto.end() &&
              cell_layout::dato2.offset == cell_layout::dato1.end() &&
              cell_layout::dato3.offset == cell_layout::dato2.end() &&
              cell_layout::dato4.offset == cell_layout::dato3.end() &&
              cell_layout::tempo_segnale.offset == cell_layout::dato4.end() &&
              cell_layout::preavviso.offset == cell_layout::tempo_segnale.end() &&
              cell_layout::montagna.offset == cell_layout::preavviso.end() &&
              cell_layout::velocita.offset == cell_layout::montagna.end() &&
              cell_layout::pendenza.offset == cell_layout::velocita.end() &&
              cell_layout::aderenza.offset == cell_layout::pendenza.end() &&
              cell_layout::kSize == cell_layout::aderenza.end());
static_assert(station_layout::valore1.offset == station_layout::genere.end() &&
              station_layout::valore2.offset == station_layout::valore1.end() &&
              station_layout::valore3.offset == station_layout::valore2.end() &&
              station_layout::colonna4.offset == station_layout::valore3.end() &&
              station_layout::text_length.offset == station_layout::colonna4.end() &&
              station_layout::kTextStart == station_layout::text_length.end());
static_assert(station_layout::colonna8.offset == station_layout::colonna7.end() &&
              station_layout::colonna10.offset == station_layout::colonna8.end() &&
              station_layout::colonna11.offset == station_layout::colonna10.end() &&
              station_layout::colonna12.offset == station_layout::colonna11.end() &&
              station_layout::colonna9.offset == station_layout::colonna12.end() &&
              station_layout::colonna13.offset == station_layout::colonna9.end() &&
              station_layout::colonna6.offset == station_layout::colonna13.end() &&
              station_layout::colonna5.offset == station_layout::colonna6.end() &&
              station_layout::orario.offset == station_layout::colonna5.end() &&
              station_layout::kTailSize == station_layout::orario.end());

// Stores the low `width` bytes of `v` at `p`, least significant first: on a
// little-endian machine one store of the number's own bytes.
inline void store_le(char* p, uint64_t v, std::size_t width) {
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(p, &v, width);
  } else {
    for (std::size_t i = 0; i < width; ++i) p[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
  }
}

// Stores the field `field` of the record at `record`.
inline void store_field(char* record, ByteField field, uint64_t v) {
  store_le(record + field.offset, v, field.width);
}

// Appends little-endian numbers and raw bytes to one buffer, whatever the
// byte order of the machine. Numbers gather in a small staging area that goes
// to the buffer in one append when it fills, so that a number costs a few
// stores rather than a call per byte.
class ByteWriter {
 public:
  explicit ByteWriter(std::size_t size) { bytes_.reserve(size); }
  ByteWriter(const ByteWriter&) = delete;
  ByteWriter& operator=(const ByteWriter&) = delete;

  void put_u8(uint8_t v) { put_le(v, 1); }
  void put_u16(uint16_t v) { put_le(v, 2); }
  void put_i16(int16_t v) { put_le(static_cast<uint16_t>(v), 2); }
  void put_i32(int32_t v) { put_le(static_cast<uint32_t>(v), 4); }
  void put_f64(double v) { put_le(std::bit_cast<uint64_t>(v), 8); }
  void put_bytes(std::string_view v) {
    flush();
    bytes_.append(v);
  }

  // Room for a fixed-layout record of `n` bytes (at most 4096), which the
  // caller fills in place at its fields' offsets.
  char* room(std::size_t n) {
    if (next_ + n > staged_ + kStagedBytes) flush();
    char* record = next_;
    next_ += n;
    return record;
  }

  std::size_t size() const { return bytes_.size() + static_cast<std::size_t>(next_ - staged_); }
  std::string take() {
    flush();
    return std::move(bytes_);
  }

 private:
  static constexpr std::size_t kStagedBytes = 4096;

  void put_le(uint64_t v, std::size_t width) {
    if (next_ + width > staged_ + kStagedBytes) flush();
    store_le(next_, v, width);
    next_ += width;
  }
  void flush() {
    bytes_.append(staged_, static_cast<std::size_t>(next_ - staged_));
    next_ = staged_;
  }

  std::string bytes_;
  char staged_[kStagedBytes];
  char* next_ = staged_;
};

// Little-endian loads from `p`; the caller has checked that the bytes exist.
inline uint64_t load_le(const char* p, std::size_t width) {
  uint64_t v = 0;
  for (std::size_t i = 0; i < width; ++i) {
    v |= static_cast<uint64_t>(static_cast<unsigned char>(p[i])) << (8 * i);
  }
  return v;
}
inline uint8_t load_u8(const char* p) { return static_cast<uint8_t>(p[0]); }
inline uint16_t load_u16(const char* p) { return static_cast<uint16_t>(load_le(p, 2)); }
inline int16_t load_i16(const char* p) { return static_cast<int16_t>(load_u16(p)); }
inline int32_t load_i32(const char* p) { return static_cast<int32_t>(load_le(p, 4)); }
inline double load_f64(const char* p) { return std::bit_cast<double>(load_le(p, 8)); }

}  // namespace scenario
