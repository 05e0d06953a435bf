#include "compiler/compiled_files.h"

#include <cstddef>

#include "build/run_time_failure.h"
#include "compiler/binary_layout.h"

namespace scenario {
namespace {

std::size_t value_width(TrackTag tag) {
  switch (tag) {
    case TrackTag::empty:
      return track_layout::kEmptyWidth;
    case TrackTag::int16:
      return track_layout::kInt16Width;
    case TrackTag::real:
      return track_layout::kRealWidth;
  }
  throw RunTimeFailure("track plan entry with unknown type " +
                       std::to_string(static_cast<int>(tag)));
}

std::size_t track_plan_size(const Tracciato& tracciato) {
  std::size_t size = 0;
  for (int axis = 0; axis < 2; ++axis) {
    for (int32_t m = 0; m <= tracciato.last_metre(); ++m) {
      size += track_layout::kTagWidth + value_width(tracciato.entry(m, axis).tag);
    }
  }
  return size;
}

void put_track_entry(ByteWriter& out, const TrackEntry& entry) {
  out.put_u16(static_cast<uint16_t>(entry.tag));
  if (entry.tag == TrackTag::int16) {
    out.put_i16(static_cast<int16_t>(entry.value));
  } else if (entry.tag == TrackTag::real) {
    out.put_f64(entry.value);
  }
}

void check_text_length(const voce& v, int index) {
  if (v.testo.size() > station_layout::kMaxTextLength) {
    throw RunTimeFailure("entry " + std::to_string(index) + ": text of " +
                         std::to_string(v.testo.size()) + " bytes is longer than 65535");
  }
}

void put_station_record(ByteWriter& out, const voce& v) {
  out.put_u8(v.genere);
  out.put_i32(v.valore1);
  out.put_i32(v.valore2);
  out.put_i32(v.valore3);
  out.put_u8(v.colonna4);
  out.put_u16(static_cast<uint16_t>(v.testo.size()));
  out.put_bytes(v.testo);
  out.put_i16(v.colonna7);
  out.put_i16(v.colonna8);
  out.put_i16(v.colonna10);
  out.put_i16(v.colonna11);
  out.put_i16(v.colonna12);
  out.put_u8(v.colonna9);
  out.put_u8(v.colonna13);
  out.put_u8(v.colonna6);
  out.put_u8(v.colonna5);
  out.put_i32(v.orario);
}

void put_cell(ByteWriter& out, const cella& c) {
  out.put_u8(c.oggetto);
  out.put_i16(c.dato1);
  out.put_i16(c.dato2);
  out.put_i16(c.dato3);
  out.put_i16(c.dato4);
  out.put_u8(c.tempo_segnale);
  out.put_u8(c.preavviso);
  out.put_u8(c.montagna);
  out.put_u8(c.velocita);
  out.put_u8(c.pendenza);
  out.put_u8(c.aderenza);
}

}  // namespace

std::string encode_track_plan(const Tracciato& tracciato) {
  ByteWriter out(track_plan_size(tracciato));
  for (int axis = 0; axis < 2; ++axis) {
    for (int32_t m = 0; m <= tracciato.last_metre(); ++m)
      put_track_entry(out, tracciato.entry(m, axis));
  }
  return out.take();
}

std::string encode_station_table(const Tabella& tabella) {
  std::size_t size = 0;
  for (int k = 0; k < kTableEntries; ++k) {
    check_text_length(tabella[k], k);
    size += station_layout::kFixedSize + tabella[k].testo.size();
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
