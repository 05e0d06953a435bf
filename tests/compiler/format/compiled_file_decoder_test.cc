// Reading the compiled files back: round trips through the encoders, and
// damaged files that must fail at the right byte without reading past the end.
#include "compiler/format/compiled_file_decoder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "base/run_time_failure.h"
#include "compiler/format/cell_text.h"
#include "compiler/format/compiled_files.h"

namespace scenario {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

// The decoders get a heap block of exactly the file's size, so that a read past
// its end is caught by the address sanitizer.
template <typename Decode>
auto decode_exact(Decode decode, const std::string& bytes) {
  const std::vector<char> block(bytes.begin(), bytes.end());
  return decode(std::string_view(block.data(), block.size()));
}

template <typename Decode>
std::string failure_of(Decode decode, const std::string& bytes) {
  try {
    decode_exact(decode, bytes);
  } catch (const RunTimeFailure& e) {
    return e.what();
  }
  return "<no failure>";
}

const auto kDecodeCells = [](std::string_view b) { return decode_route_cells(b); };
const auto kDecodeTable = [](std::string_view b) { return decode_station_table(b); };
const auto kDecodePlan = [](std::string_view b) { return decode_track_plan(b); };

std::string le16(uint16_t v) { return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)}; }

// ---- route cells ----

std::vector<cella> sample_cells() {
  std::vector<cella> percorso(6);
  percorso[1] = {0, 5121, 2527, 0, 0, 0, 0, 0, 30, 100, 7};
  percorso[2] = {kSignal, 41, -2, 32767, -32768, 9, 4, 12, 24, 96, 255};
  percorso[5] = {kTunnelLight, 0, 0, 0, 0, 0, 0, 11, 16, 255, 0};
  return percorso;
}

TEST(RouteCellsDecoderTest, RoundTripsEveryField) {
  const std::vector<cella> percorso = sample_cells();
  const std::vector<cella> back = decode_exact(kDecodeCells, encode_route_cells(percorso));
  ASSERT_EQ(back.size(), percorso.size());
  for (std::size_t i = 0; i < percorso.size(); ++i) {
    EXPECT_EQ(describe_cell(i, back[i]), describe_cell(i, percorso[i]));
  }
  EXPECT_EQ(describe_cell(2, back[2]),
            "cell 2: signal dato1=41 dato2=-2 dato3=32767 dato4=-32768 tempo_segnale=9 "
            "preavviso=4 montagna=12 velocita=24 pendenza=96 aderenza=255");
}

// What the compiler never writes, each at the byte where it shows.
TEST(RouteCellsDecoderTest, DamagedFilesFailAtTheirOffset) {
  const std::string good = encode_route_cells(sample_cells());
  const auto with = [&](std::size_t at, const std::string& bytes) {
    std::string file = good;
    file.replace(at, bytes.size(), bytes);
    return file;
  };
  const struct {
    const char* what;
    std::string bytes;
    const char* prefix;
    const char* detail;
  } cases[] = {
      {"empty file", "", "byte 0: ", "0 cells; the compiler writes at least cells 0 and 1"},
      {"no header cell", good.substr(0, 15), "byte 15: ", "1 cells"},
      {"1 byte", good.substr(0, 1), "byte 0: ", "not a multiple of 15"},
      {"14 bytes", good.substr(0, 14), "byte 0: ", "not a multiple of 15"},
      {"a byte of cell 1", good.substr(0, 16), "byte 15: ", "not a multiple of 15"},
      {"cell 5 cut short", good.substr(0, 89), "byte 75: ", "cell 5 has 14 of its 15 bytes"},
      {"header value missing", with(16, le16(0)),
       "byte 16: ", "cell 1, the header cell: dato1 is 0, not 5121"},
      {"negative code", with(18, le16(0xFFFF)), "byte 18: ", "dato2 is -1, no competition code"},
      {"code beyond 25 x 255", with(18, le16(6376)), "byte 18: ", "dato2 is 6376"},
      {"an object kind never placed", with(45, "\x07"),
       "byte 45: ", "cell 3: object kind 7, which the compiler never writes"},
      {"kind 200", with(75, "\xC8"), "byte 75: ", "cell 5: object kind 200"},
      {"longer than the longest route", std::string(15 * 20142, '\0'),
       "byte 302115: ", "larger than the 302115 bytes of the largest route cell file"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string message = failure_of(kDecodeCells, c.bytes);
    EXPECT_THAT(message, StartsWith(c.prefix));
    EXPECT_THAT(message, HasSubstr(c.detail));
  }
}

TEST(RouteCellsDecoderTest, LongestRouteDecodes) {
  std::vector<cella> percorso(20141);
  percorso[1] = sample_cells()[1];
  EXPECT_EQ(decode_exact(kDecodeCells, encode_route_cells(percorso)).size(), 20141u);
}

// ---- station table ----

Tabella sample_table() {
  Tabella tabella;
  tabella[1] = {2, 14400, 15650, 15000, 1, "Velmora", 30, -5, 1, 2, 3, 4, 5, 6, 7, 21600};
  tabella[80].testo = "Galleria \xC8";
  tabella[81] = {0, 150000, 243100, 1, 0, "", 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  tabella[85].testo = "Velmora_Dorsel";
  tabella[85].colonna7 = 610;
  tabella[85].orario = 34724;
  tabella[86] = {0, 1000, 2000, 4, 0, "904", 3, 0, -1, -32768, 32767, 0, 0, 0, 0, 0};
  return tabella;
}

TEST(StationTableDecoderTest, RoundTripsEveryField) {
  const std::string file = encode_station_table(sample_table());
  const Tabella back = decode_exact(kDecodeTable, file);
  EXPECT_EQ(encode_station_table(back), file);
  EXPECT_EQ(back[1].testo, "Velmora");
  EXPECT_EQ(back[1].colonna8, -5);
  EXPECT_EQ(back[1].colonna5, 7);
  EXPECT_EQ(back[1].orario, 21600);
  EXPECT_EQ(back[80].testo, "Galleria \xC8");
  EXPECT_EQ(back[86].colonna11, -32768);
}

TEST(StationTableDecoderTest, LongestTextsRoundTrip) {
  Tabella tabella = sample_table();
  for (int k = 1; k <= 80; ++k) tabella[k].testo.assign(65535, '\xFF');
  tabella[1].orario = -1;
  const std::string file = encode_station_table(tabella);
  const Tabella back = decode_exact(kDecodeTable, file);
  EXPECT_EQ(back[80].testo, tabella[80].testo);
  EXPECT_EQ(back[1].orario, -1);
  EXPECT_EQ(encode_station_table(back), file);
}

// Where the fields after the text of record `k` start.
std::size_t tail_of(const Tabella& tabella, int k) {
  std::size_t offset = 0;
  for (int i = 0; i < k; ++i) offset += 34 + tabella[i].testo.size();
  return offset + 16 + tabella[k].testo.size();
}

// Well-formed records that the compiler never writes.
TEST(StationTableDecoderTest, BrokenInvariantsFailAtTheirOffset) {
  const Tabella good = sample_table();
  const auto with = [&](void (*change)(Tabella&)) {
    Tabella t = good;
    change(t);
    return t;
  };
  const struct {
    const char* what;
    Tabella tabella;
    std::size_t offset;
    const char* detail;
  } cases[] = {
      {"record 0 holds a number", with([](Tabella& t) { t[0].valore2 = 1; }), 0,
       "record 0, which the compiler never fills, holds a value in valore2"},
      {"record 0 holds a text", with([](Tabella& t) { t[0].testo = "x"; }), 0, "in testo"},
      {"header value missing", with([](Tabella& t) { t[85].colonna7 = 0; }), tail_of(good, 85),
       "record 85, the header: colonna7 is 0, not 610"},
      {"code of another train", with([](Tabella& t) { t[86].testo = "905"; }),
       tail_of(good, 85) + 14,
       "orario is 34724, not the competition code 34727 of the texts of records 86 and 85"},
      {"code changed", with([](Tabella& t) { t[85].orario = 34725; }), tail_of(good, 85) + 14,
       "orario is 34725"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string message = failure_of(kDecodeTable, encode_station_table(c.tabella));
    EXPECT_THAT(message, StartsWith("byte " + std::to_string(c.offset) + ": "));
    EXPECT_THAT(message, HasSubstr(c.detail));
  }
  const std::string too_large(87 * (34 + 65535) + 1, '\0');
  EXPECT_THAT(failure_of(kDecodeTable, too_large),
              StartsWith("byte 5704503: the file is larger than the 5704503 bytes of the largest "
                         "station table"));
}

TEST(StationTableDecoderTest, DamagedFilesFailAtTheirOffset) {
  const std::string good = encode_station_table(Tabella{});  // 87 records of 34 bytes
  std::string long_text = good;
  long_text.replace(5 * 34 + 14, 2, le16(21));  // record 5 claims a text that runs on
  std::string past_end = good;
  past_end.replace(86 * 34 + 14, 2, le16(19));  // one byte more than the file has after it
  const struct {
    const char* what;
    std::string bytes;
    const char* prefix;
    const char* detail;
  } cases[] = {
      {"empty file", "", "byte 0: ", "record 0 cut short"},
      {"record 0 cut in its head", good.substr(0, 15), "byte 0: ", "record 0 cut short"},
      {"record 3 missing", good.substr(0, 3 * 34), "byte 102: ", "record 3 cut short"},
      {"last byte missing", good.substr(0, good.size() - 1),
       "byte 2940: ", "record 86 cut short after its text"},
      {"text runs past the end", past_end, "byte 2940: ", "text of record 86 (19 bytes)"},
      {"a longer text shifts the rest", long_text, "byte ", "cut short"},
      {"a trailing byte", good + "\x01", "byte 2958: ", "1 trailing bytes after record 86"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string message = failure_of(kDecodeTable, c.bytes);
    EXPECT_THAT(message, StartsWith(c.prefix));
    EXPECT_THAT(message, HasSubstr(c.detail));
  }
}

TEST(StationTableDecoderTest, EveryShorterPrefixFails) {
  const std::string file = encode_station_table(sample_table());
  for (std::size_t size = 0; size < file.size(); ++size) {
    ASSERT_THAT(failure_of(kDecodeTable, file.substr(0, size)), StartsWith("byte ")) << size;
  }
}

// ---- track plan ----

Tracciato sample_plan(int32_t metri_totali) {
  Tracciato plan;
  plan.create(metri_totali);
  for (int axis = 0; axis < 2; ++axis) {
    plan.set_int16(0, axis, 0);
    plan.set_int16(1, axis, static_cast<int16_t>(axis));
    for (int32_t m = 2; m <= metri_totali - 2; ++m) plan.set_real(m, axis, (axis ? 0.7 : -0.3) * m);
  }
  return plan;
}

std::string describe_entry(const TrackEntry& e) {
  return std::to_string(static_cast<int>(e.tag)) + ":" +
         std::to_string(std::bit_cast<uint64_t>(e.value));
}

TEST(TrackPlanDecoderTest, RoundTripsTagsAndBits) {
  Tracciato plan = sample_plan(9);
  plan.set_real(4, 0, -0.0);
  plan.set_real(5, 1, std::numeric_limits<double>::denorm_min());
  plan.set_real(6, 0, std::numeric_limits<double>::quiet_NaN());
  const DecodedTrackPlan back = decode_exact(kDecodePlan, encode_track_plan(plan));
  ASSERT_EQ(back.metri_totali, 9);
  ASSERT_EQ(back.tracciato.last_metre(), 9);
  for (int axis = 0; axis < 2; ++axis) {
    for (int32_t m = 0; m <= 9; ++m) {
      SCOPED_TRACE(std::to_string(axis) + "/" + std::to_string(m));
      EXPECT_EQ(describe_entry(back.tracciato.entry(m, axis)), describe_entry(plan.entry(m, axis)));
    }
  }
  EXPECT_EQ(back.tracciato.entry(9, 1).tag, TrackTag::empty);
  EXPECT_EQ(back.tracciato.entry(1, 1).tag, TrackTag::int16);
  EXPECT_EQ(back.tracciato.value(1, 1), 1.0);
}

TEST(TrackPlanDecoderTest, LongestRouteRoundTrips) {
  const int32_t metri_totali = 1007000;
  const std::string file = encode_track_plan(sample_plan(metri_totali));
  const DecodedTrackPlan back = decode_track_plan(file);
  EXPECT_EQ(back.metri_totali, metri_totali);
  EXPECT_EQ(encode_track_plan(back.tracciato), file);
}

// A parse that stopped before the curves leaves every metre empty.
TEST(TrackPlanDecoderTest, PlanWithNothingTracedDecodes) {
  Tracciato plan;
  plan.create(40);
  const DecodedTrackPlan back = decode_exact(kDecodePlan, encode_track_plan(plan));
  EXPECT_EQ(back.metri_totali, 40);
  EXPECT_EQ(back.tracciato.entry(0, 0).tag, TrackTag::empty);
}

TEST(TrackPlanDecoderTest, DamagedFilesFailAtTheirOffset) {
  const std::string good = encode_track_plan(sample_plan(5));  // per column: 4 4 10 10 2 2
  std::string unknown_tag = good;
  unknown_tag.replace(8, 2, le16(7));
  const std::string odd = good.substr(0, 32) + le16(0);  // the x column and one empty y
  const auto plan_with = [](int32_t metri_totali, void (*change)(Tracciato&)) {
    Tracciato plan = sample_plan(metri_totali);
    change(plan);
    return encode_track_plan(plan);
  };
  Tracciato untraced;
  untraced.create(5);
  untraced.set_real(3, 0, 1.0);
  untraced.set_real(3, 1, 1.0);
  const struct {
    const char* what;
    std::string bytes;
    const char* prefix;
    const char* detail;
  } cases[] = {
      {"unknown tag", unknown_tag, "byte 8: ", "unknown element tag 7"},
      {"tag cut short", good.substr(0, 9), "byte 8: ", "tag cut short"},
      {"double cut short", good.substr(0, 13), "byte 8: ", "tag 5 needs 8 value bytes, 3 left"},
      {"integer cut short", good.substr(0, 3), "byte 0: ", "tag 2 needs 2 value bytes, 1 left"},
      {"odd element count", odd, "byte 34: ", "7 elements do not split into two equal columns"},
      {"empty file", "", "byte 0: ", "0 metres; the compiler writes 2 to 1007001"},
      {"one metre", good.substr(0, 4) + le16(2) + le16(0), "byte 8: ", "1 metres"},
      {"x and y of two types", plan_with(5, [](Tracciato& p) { p.set_int16(3, 1, 0); }),
       "byte 50: ", "metre 3, y: tag 2 where x has tag 5; a metre's x and y are of one type"},
      {"metre 0 as a double",
       plan_with(5, [](Tracciato& p) { p.set_real(0, 0, 0), p.set_real(0, 1, 0); }),
       "byte 0: ", "metre 0, x: not the 16-bit integer 0 at which every plan starts"},
      {"metre 1 elsewhere", plan_with(5, [](Tracciato& p) { p.set_int16(1, 1, 2); }),
       "byte 36: ", "metre 1, y: not the 16-bit integer 1"},
      {"an integer past metre 1",
       plan_with(5, [](Tracciato& p) { p.set_int16(3, 0, 5), p.set_int16(3, 1, 5); }),
       "byte 18: ", "metre 3, x: a 16-bit integer, which only metres 0 and 1 hold"},
      {"a value in the last two metres",
       plan_with(5, [](Tracciato& p) { p.set_real(4, 0, 1), p.set_real(4, 1, 1); }),
       "byte 28: ", "metre 4, x: a value in one of the last two metres, which are always empty"},
      {"a value in a plan never traced", encode_track_plan(untraced),
       "byte 6: ", "metre 3, x: a value in a plan whose metre 0 is empty"},
      // The first 2000 of the 18002 elements of a plan: half of its x values
      // would otherwise show as y values.
      {"a plan cut short", encode_track_plan(sample_plan(9000)).substr(0, 8 + 1998 * 10),
       "byte 9968: ", "metre 998, x: a value in one of the last two metres"},
      {"more metres than the longest route", std::string(4 * 1007002, '\0'),
       "byte 4028008: ", "1007002 metres; the compiler writes 2 to 1007001"},
      {"larger than the longest route", std::string(20140021, '\0'),
       "byte 20140020: ", "larger than the 20140020 bytes of the largest track plan"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string message = failure_of(kDecodePlan, c.bytes);
    EXPECT_THAT(message, StartsWith(c.prefix));
    EXPECT_THAT(message, HasSubstr(c.detail));
  }
}

// A gap: metre 3 empty in both columns, metre 4 traced.
TEST(TrackPlanDecoderTest, TracedMetresRunWithoutAGap) {
  Tracciato plan;
  plan.create(8);
  for (int axis = 0; axis < 2; ++axis) {
    plan.set_int16(0, axis, 0);
    plan.set_int16(1, axis, static_cast<int16_t>(axis));
    plan.set_real(2, axis, 1);
    plan.set_real(4, axis, 1);
  }
  const std::string message = failure_of(kDecodePlan, encode_track_plan(plan));
  EXPECT_THAT(message, StartsWith("byte 20: "));  // x of metres 0 to 3: 4, 4, 10, 2 bytes
  EXPECT_THAT(message, HasSubstr("metre 4, x: a value after the empty metre 3"));
}

TEST(TrackPlanDecoderTest, EveryShorterPrefixFails) {
  const std::string file = encode_track_plan(sample_plan(6));
  for (std::size_t size = 0; size < file.size(); ++size) {
    ASSERT_THAT(failure_of(kDecodePlan, file.substr(0, size)), StartsWith("byte ")) << size;
  }
}

}  // namespace
}  // namespace scenario
