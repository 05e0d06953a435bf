// Reading the compiled files back: round trips through the encoders, and
// damaged files that must fail at the right byte without reading past the end.
#include "compiler/compiled_file_decoder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "base/run_time_failure.h"
#include "compiler/cell_text.h"
#include "compiler/compiled_files.h"

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

TEST(RouteCellsDecoderTest, EmptyFileHasNoCells) {
  EXPECT_TRUE(decode_exact(kDecodeCells, "").empty());
}

TEST(RouteCellsDecoderTest, SizeNotAMultipleOf15FailsAtTheLastCell) {
  const std::string file = encode_route_cells(sample_cells());
  const struct {
    std::size_t size;
    const char* prefix;
  } cases[] = {{1, "byte 0: "}, {14, "byte 0: "}, {16, "byte 15: "}, {89, "byte 75: "}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.size);
    const std::string message = failure_of(kDecodeCells, file.substr(0, c.size));
    EXPECT_THAT(message, StartsWith(c.prefix));
    EXPECT_THAT(message, HasSubstr("not a multiple of 15"));
  }
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

TEST(StationTableDecoderTest, LongestTextRoundTrips) {
  Tabella tabella;
  tabella[0].testo.assign(65535, '\xFF');
  tabella[0].orario = -1;
  const Tabella back = decode_exact(kDecodeTable, encode_station_table(tabella));
  EXPECT_EQ(back[0].testo, tabella[0].testo);
  EXPECT_EQ(back[0].orario, -1);
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
  plan.set_int16(6, 0, -32768);
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

TEST(TrackPlanDecoderTest, EmptyFileHasNoMetres) {
  const DecodedTrackPlan back = decode_exact(kDecodePlan, "");
  EXPECT_EQ(back.metri_totali, -1);
  EXPECT_FALSE(back.tracciato.exists());
}

TEST(TrackPlanDecoderTest, DamagedFilesFailAtTheirOffset) {
  const std::string good = encode_track_plan(sample_plan(5));  // per column: 4 4 10 10 2 2
  std::string unknown_tag = good;
  unknown_tag.replace(8, 2, le16(7));
  const std::string odd = good.substr(0, 32) + le16(0);  // the x column and one empty y
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
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string message = failure_of(kDecodePlan, c.bytes);
    EXPECT_THAT(message, StartsWith(c.prefix));
    EXPECT_THAT(message, HasSubstr(c.detail));
  }
}

// A prefix that ends on an element boundary with an even count is itself a
// plan; any other prefix fails.
TEST(TrackPlanDecoderTest, EveryPrefixDecodesWholeOrFails) {
  const std::string file = encode_track_plan(sample_plan(6));
  for (std::size_t size = 0; size < file.size(); ++size) {
    SCOPED_TRACE(size);
    const std::string prefix = file.substr(0, size);
    try {
      const DecodedTrackPlan back = decode_exact(kDecodePlan, prefix);
      EXPECT_EQ(encode_track_plan(back.tracciato), prefix);
    } catch (const RunTimeFailure& e) {
      EXPECT_THAT(e.what(), StartsWith("byte "));
    }
  }
}

}  // namespace
}  // namespace scenario
