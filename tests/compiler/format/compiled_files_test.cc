// The byte layouts the encoders write: sizes, field offsets, little-endian
// values, track plan tags.
#include "compiler/format/compiled_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "base/run_time_failure.h"

namespace scenario {
namespace {

using namespace std::string_literals;

std::string bytes_at(const std::string& file, std::size_t offset, std::size_t width) {
  return offset + width <= file.size() ? file.substr(offset, width) : "<outside the file>";
}

std::string le(uint64_t v, int width) {
  std::string out;
  for (int i = 0; i < width; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
  return out;
}

// ---- station table ----

TEST(StationTableTest, RecordSizeIs34PlusText) {
  const struct {
    std::size_t text_length;
    std::size_t record_size;
  } cases[] = {{0, 34}, {1, 35}, {12, 46}, {255, 289}, {256, 290}, {65535, 65569}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text_length);
    Tabella tabella;
    tabella[40].testo.assign(c.text_length, 'x');
    const std::string file = encode_station_table(tabella);
    EXPECT_EQ(file.size(), 86 * 34 + c.record_size);
    // Record 40 starts after 40 empty records; its length field says L.
    EXPECT_EQ(bytes_at(file, 40 * 34 + 14, 2), le(c.text_length, 2));
    // Record 41 starts right after it.
    EXPECT_EQ(bytes_at(file, 40 * 34 + c.record_size + 14, 2), le(0, 2));
  }
}

TEST(StationTableTest, EmptyTableIs87BlankRecords) {
  EXPECT_EQ(encode_station_table(Tabella{}), std::string(87 * 34, '\0'));
}

TEST(StationTableTest, FieldsAtTheirOffsets) {
  voce v;
  v.genere = 0xA1;
  v.valore1 = -2;
  v.valore2 = 0x01020304;
  v.valore3 = 243000;
  v.colonna4 = 0xB2;
  v.testo = "Ab\xE0";
  v.colonna7 = 610;
  v.colonna8 = -32768;
  v.colonna10 = 0x0506;
  v.colonna11 = -1;
  v.colonna12 = 32767;
  v.colonna9 = 0xC3;
  v.colonna13 = 0xD4;
  v.colonna6 = 0xE5;
  v.colonna5 = 0xF6;
  v.orario = -86399;
  Tabella tabella;
  tabella[0] = v;
  const std::string file = encode_station_table(tabella);
  const struct {
    const char* field;
    std::size_t offset;
    std::string bytes;
  } cases[] = {
      {"genere", 0, "\xA1"},
      {"valore1", 1, "\xFE\xFF\xFF\xFF"},
      {"valore2", 5, "\x04\x03\x02\x01"},
      {"valore3", 9, le(243000, 4)},
      {"colonna4", 13, "\xB2"},
      {"text length", 14, le(3, 2)},
      {"testo", 16, "Ab\xE0"},
      {"colonna7", 19, le(610, 2)},
      {"colonna8", 21, le(0x8000, 2)},
      {"colonna10", 23, "\x06\x05"},
      {"colonna11", 25, "\xFF\xFF"},
      {"colonna12", 27, "\xFF\x7F"},
      {"colonna9", 29, "\xC3"},
      {"colonna13", 30, "\xD4"},
      {"colonna6", 31, "\xE5"},
      {"colonna5", 32, "\xF6"},
      {"orario", 33, le(static_cast<uint32_t>(-86399), 4)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.field);
    EXPECT_EQ(bytes_at(file, c.offset, c.bytes.size()), c.bytes);
  }
  EXPECT_EQ(file.size(), 87 * 34 + 3);
}

TEST(StationTableTest, HeaderRecordFollowsTheTextsBeforeIt) {
  Tabella tabella;
  tabella[1].testo = "Velmora";         // 7
  tabella[80].testo = "Galleria Nord";  // 13
  tabella[85].testo = "Velmora_Dorsel";
  tabella[85].colonna7 = 610;
  tabella[85].orario = 34724;
  tabella[86].testo = "904";
  const std::string file = encode_station_table(tabella);
  const std::size_t record85 = 85 * 34 + 7 + 13;
  EXPECT_EQ(bytes_at(file, record85 + 14, 2), le(14, 2));
  EXPECT_EQ(bytes_at(file, record85 + 16, 14), "Velmora_Dorsel");
  EXPECT_EQ(bytes_at(file, record85 + 30, 2), le(610, 2));
  EXPECT_EQ(bytes_at(file, record85 + 44, 4), le(34724, 4));
  const std::size_t record86 = record85 + 34 + 14;
  EXPECT_EQ(bytes_at(file, record86 + 14, 5), le(3, 2) + "904");
  EXPECT_EQ(file.size(), record86 + 34 + 3);
}

TEST(StationTableTest, TextTooLongForItsLengthFieldFails) {
  Tabella tabella;
  tabella[85].testo.assign(65536, 'x');
  EXPECT_THROW(encode_station_table(tabella), RunTimeFailure);
}

// ---- route cells ----

TEST(RouteCellsTest, FileIs15BytesPerCell) {
  for (std::size_t cells : {0, 1, 2, 5001, 20141}) {
    SCOPED_TRACE(cells);
    EXPECT_EQ(encode_route_cells(std::vector<cella>(cells)).size(), 15 * cells);
  }
}

TEST(RouteCellsTest, FieldsAtTheirOffsets) {
  std::vector<cella> percorso(4);
  cella& c = percorso[3];
  c.oggetto = kSignal;
  c.dato1 = 41;
  c.dato2 = -2;
  c.dato3 = -32768;
  c.dato4 = 0x1234;
  c.tempo_segnale = 0x91;
  c.preavviso = 0x92;
  c.montagna = 0x93;
  c.velocita = 0x94;
  c.pendenza = 0x95;
  c.aderenza = 0x96;
  const std::string file = encode_route_cells(percorso);
  const std::string expected =
      "\x01"s + "\x29\x00"s + "\xFE\xFF"s + "\x00\x80"s + "\x34\x12"s + "\x91\x92\x93\x94\x95\x96"s;
  ASSERT_EQ(expected.size(), 15u);
  EXPECT_EQ(bytes_at(file, 45, 15), expected);
  EXPECT_EQ(file.substr(0, 45), std::string(45, '\0'));
}

TEST(RouteCellsTest, HeaderCellValuesAtFileOffsets16And18) {
  std::vector<cella> percorso(3);
  percorso[1].dato1 = 5121;
  percorso[1].dato2 = 2527;
  percorso[1].velocita = 30;
  const std::string file = encode_route_cells(percorso);
  EXPECT_EQ(bytes_at(file, 16, 2), le(5121, 2));
  EXPECT_EQ(bytes_at(file, 18, 2), le(2527, 2));
  EXPECT_EQ(bytes_at(file, 27, 1), "\x1E");
}

// Enough cells to pass through the writer's staging area many times; every
// cell differs from its neighbours, so a cell written twice or skipped shows.
TEST(RouteCellsTest, EveryCellOfALongRowAtItsOffset) {
  std::vector<cella> percorso(2000);
  std::string expected;
  for (std::size_t i = 0; i < percorso.size(); ++i) {
    cella& c = percorso[i];
    c.oggetto = static_cast<uint8_t>(i % 15);
    c.dato1 = static_cast<int16_t>(i * 7 - 5000);
    c.dato4 = static_cast<int16_t>(i);
    c.aderenza = static_cast<uint8_t>(i % 251);
    expected += le(c.oggetto, 1) + le(static_cast<uint16_t>(c.dato1), 2) + le(0, 2) + le(0, 2) +
                le(c.dato4, 2) + le(0, 5) + le(c.aderenza, 1);
  }
  EXPECT_EQ(encode_route_cells(percorso), expected);
}

// ---- track plan ----

// The plan a short route leaves: metres 0 and 1 as integers, doubles after,
// the last two metres empty.
Tracciato small_plan(const std::vector<double>& x, const std::vector<double>& y) {
  Tracciato plan;
  plan.create(static_cast<int32_t>(x.size()) + 3);
  plan.set_int16(0, 0, 0);
  plan.set_int16(0, 1, 0);
  plan.set_int16(1, 0, 0);
  plan.set_int16(1, 1, 1);
  for (std::size_t i = 0; i < x.size(); ++i) {
    plan.set_real(static_cast<int32_t>(i) + 2, 0, x[i]);
    plan.set_real(static_cast<int32_t>(i) + 2, 1, y[i]);
  }
  return plan;
}

std::string int16_element(int16_t v) { return le(2, 2) + le(static_cast<uint16_t>(v), 2); }
std::string real_element(double v) { return le(5, 2) + le(std::bit_cast<uint64_t>(v), 8); }
std::string empty_element() { return le(0, 2); }

TEST(TrackPlanTest, XColumnThenYColumnWithTags) {
  const std::string file = encode_track_plan(small_plan({0.25, -1e300}, {2.0, 3.5}));
  const std::string expected = int16_element(0) + int16_element(0) + real_element(0.25) +
                               real_element(-1e300) + empty_element() + empty_element() +
                               int16_element(0) + int16_element(1) + real_element(2.0) +
                               real_element(3.5) + empty_element() + empty_element();
  EXPECT_EQ(file, expected);
}

TEST(TrackPlanTest, DoublesAreWrittenBitForBit) {
  const double values[] = {0.1 + 0.2,
                           -0.0,
                           std::numeric_limits<double>::denorm_min(),
                           std::numeric_limits<double>::max(),
                           -std::numeric_limits<double>::infinity(),
                           std::nextafter(1.0, 2.0)};
  for (double v : values) {
    SCOPED_TRACE(v);
    const std::string file = encode_track_plan(small_plan({v}, {v}));
    EXPECT_EQ(bytes_at(file, 8, 10), real_element(v));
  }
}

TEST(TrackPlanTest, NegativeIntegerEntry) {
  Tracciato plan;
  plan.create(0);
  plan.set_int16(0, 0, -3);
  plan.set_int16(0, 1, -32768);
  EXPECT_EQ(encode_track_plan(plan), int16_element(-3) + int16_element(-32768));
}

TEST(TrackPlanTest, SizeOfARouteOf243000Metres) {
  Tracciato plan;
  const int32_t metri_totali = 250000;
  plan.create(metri_totali);
  for (int axis = 0; axis < 2; ++axis) {
    plan.set_int16(0, axis, 0);
    plan.set_int16(1, axis, static_cast<int16_t>(axis));
    for (int32_t m = 2; m <= metri_totali - 2; ++m) plan.set_real(m, axis, m * 0.5);
  }
  const std::string file = encode_track_plan(plan);
  const std::size_t column = 2 * 4 + (metri_totali - 3) * 10 + 2 * 2;
  ASSERT_EQ(file.size(), 2 * column);
  EXPECT_EQ(bytes_at(file, column - 14, 14),
            real_element(124999.0) + empty_element() + empty_element());
  EXPECT_EQ(bytes_at(file, column, 8), int16_element(0) + int16_element(1));
}

// Integers and empty entries among the doubles at every place relative to the
// encoder's runs of eight and blocks of entries, in a plan whose length is no
// multiple of either. The plan goes out in blocks of at most 60 000 bytes.
TEST(TrackPlanTest, MixedEntriesAnywhereInALongPlan) {
  Tracciato plan;
  const int32_t metri_totali = 13001;
  plan.create(metri_totali);
  std::string expected;
  for (int axis = 0; axis < 2; ++axis) {
    for (int32_t m = 0; m <= metri_totali; ++m) {
      if (m % 13 == 5 || m % 509 == 0 || (m > 5990 && m < 6010)) {
        expected += empty_element();
      } else if (m % 7 == 3 || m % 6000 == 0 || m % 6000 == 5999) {
        plan.set_int16(m, axis, static_cast<int16_t>(-m));
        expected += int16_element(static_cast<int16_t>(-m));
      } else {
        plan.set_real(m, axis, m * 0.25 + axis);
        expected += real_element(m * 0.25 + axis);
      }
    }
  }
  std::string streamed;
  std::size_t largest_block = 0;
  encode_track_plan(plan, [&](std::string_view block) {
    largest_block = std::max(largest_block, block.size());
    streamed.append(block);
  });
  EXPECT_EQ(streamed, expected);
  EXPECT_LE(largest_block, 60000u);
  EXPECT_EQ(encode_track_plan(plan), expected);
}

TEST(TrackPlanTest, PlanNeverCreatedGivesNoBytes) { EXPECT_EQ(encode_track_plan(Tracciato{}), ""); }

}  // namespace
}  // namespace scenario
