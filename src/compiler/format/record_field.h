// A field of a compiled record as one row of its layout table: its name, the
// member of the record that holds it, where its bytes lie and whether it is
// signed. A layout is a tuple of such rows; one fold over the tuple stores,
// loads or shows every field of a record.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>

namespace scenario {

enum Signedness : bool { kUnsigned = false, kSigned = true };

// Stores the low `width` bytes of `v` at `p`, least significant first: on a
// little-endian machine one store of the number's own bytes.
inline void store_le(char* p, uint64_t v, std::size_t width) {
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(p, &v, width);
  } else {
    for (std::size_t i = 0; i < width; ++i) p[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
  }
}

// Little-endian load of `width` bytes from `p`; the caller has checked that the bytes exist.
inline uint64_t load_le(const char* p, std::size_t width) {
  uint64_t v = 0;
  for (std::size_t i = 0; i < width; ++i) {
    v |= static_cast<uint64_t>(static_cast<unsigned char>(p[i])) << (8 * i);
  }
  return v;
}

// A number field of `Record`: `width` bytes at `offset`, little-endian, two's
// complement when signed.
template <typename Record, typename Value>
struct RecordField {
  std::string_view name;
  Value Record::*member;
  std::size_t offset;
  std::size_t width;
  Signedness sign;

  constexpr std::size_t end() const { return offset + width; }
  // The member holds exactly the field's bytes: no value is cut or widened on its way.
  constexpr bool fits_member() const {
    return width == sizeof(Value) && sign == std::is_signed_v<Value>;
  }

  int64_t value(const Record& r) const { return r.*member; }
  void store(char* record, const Record& r) const {
    store_le(record + offset, static_cast<std::make_unsigned_t<Value>>(r.*member), width);
  }
  void load(const char* record, Record& r) const {
    uint64_t bits = load_le(record + offset, width);
    if (sign == kSigned && width < sizeof(uint64_t) && (bits >> (8 * width - 1)) != 0) {
      bits |= ~uint64_t{0} << (8 * width);
    }
    r.*member = static_cast<Value>(bits);
  }
};

// Spelled out for compilers without deduction from an aggregate's braces.
template <typename Record, typename Value>
RecordField(std::string_view, Value Record::*, std::size_t, std::size_t, Signedness)
    -> RecordField<Record, Value>;

// A text field of `Record`: its length in bytes, `length_width` bytes unsigned
// at `length_offset`, followed directly by its bytes.
template <typename Record>
struct TextField {
  std::string_view name;
  std::string Record::*member;
  std::size_t length_offset;
  std::size_t length_width;

  constexpr std::size_t text_start() const { return length_offset + length_width; }
  constexpr std::size_t max_length() const { return (std::size_t{1} << (8 * length_width)) - 1; }

  const std::string& text(const Record& r) const { return r.*member; }
  std::string& text(Record& r) const { return r.*member; }
  void store_length(char* record, const Record& r) const {
    store_le(record + length_offset, (r.*member).size(), length_width);
  }
  std::size_t load_length(const char* record) const {
    return static_cast<std::size_t>(load_le(record + length_offset, length_width));
  }
};

template <typename Record>
TextField(std::string_view, std::string Record::*, std::size_t, std::size_t) -> TextField<Record>;

template <typename Field>
inline constexpr bool is_text_field_type = false;
template <typename Record>
inline constexpr bool is_text_field_type<TextField<Record>> = true;
// Whether a row, as a visitor receives it, is a text field.
template <typename Field>
inline constexpr bool is_text_field = is_text_field_type<std::remove_cvref_t<Field>>;

// Calls `visit` with every row of `fields`, in table order. With a constant
// table and `visit` inlined this is the same code as the rows written out.
template <typename Fields, typename Visit>
constexpr void for_each_field(const Fields& fields, Visit&& visit) {
  std::apply([&](const auto&... field) { (visit(field), ...); }, fields);
}

// Whether two rows are the same field of the same record.
template <typename A, typename B>
constexpr bool same_field(const A& a, const B& b) {
  if constexpr (std::is_same_v<A, B>) {
    return a.member == b.member;
  } else {
    return false;
  }
}

// Whether `fields`, in table order, cover the bytes 0 to `size` one after the
// other with no gap and no overlap, each held by a member of its own width and
// signedness.
template <typename Fields>
constexpr bool covers_exactly(const Fields& fields, std::size_t size) {
  std::size_t next = 0;
  bool covered = true;
  for_each_field(fields, [&](const auto& field) {
    covered = covered && field.offset == next && field.fits_member();
    next = field.end();
  });
  return covered && next == size;
}

// Converts to any type, so that an aggregate takes as many of it between its
// braces as it has members.
struct AnyMember {
  template <typename T>
  operator T() const;
};

// The number of members of the aggregate `Record`: lets a layout prove that it
// has a row for every member.
template <typename Record, typename... Given>
constexpr std::size_t member_count() {
  if constexpr (requires { Record{Given{}..., AnyMember{}}; }) {
    return member_count<Record, Given..., AnyMember>();
  } else {
    return sizeof...(Given);
  }
}

}  // namespace scenario
