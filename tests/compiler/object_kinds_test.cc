// The table of object kinds: every code's texts and properties as the dump,
// the diagnostics and the placement rules read them, and the codes no rule
// produces, which the decoder refuses and the texts name by number.
#include "compiler/object_kinds.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/run_time_failure.h"
#include "compiler/diagnostics/diagnostics.h"
#include "compiler/format/cell_text.h"
#include "compiler/format/compiled_file_decoder.h"
#include "compiler/format/compiled_files.h"

namespace scenario {
namespace {

TEST(ObjectKindsTest, EveryCodeTextsAndProperties) {
  const struct {
    int code;
    const char* name;  // the dump's
    const char* noun;  // the diagnostics'
    bool free;
    bool from_line_file;
  } rows[] = {
      {0, "no object", "no object", true, false},
      {1, "signal", "signal", false, false},
      {2, "slowdown end", "slowdown end", false, false},
      {3, "slowdown start", "slowdown start", false, false},
      {4, "slowdown warning", "slowdown warning", false, false},
      {5, "countdown marker", "countdown marker", false, false},
      {6, "speed board", "speed-indicator board", false, true},
      {7, "kind 7", "kind 7", false, false},
      {8, "kind 8", "kind 8", false, false},
      {9, "kind 9", "kind 9", false, false},
      {10, "station mark", "station mark", false, false},
      {11, "tunnel light", "tunnel light", true, true},
      {12, "abbattimento", "abbattimento", false, false},
      {13, "abbattimento without value", "abbattimento without value", false, false},
      {14, "indication board", "indication board", false, true},
      {15, "kind 15", "kind 15", false, false},
      {255, "kind 255", "kind 255", false, false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.code);
    const auto code = static_cast<uint8_t>(row.code);
    EXPECT_EQ(object_kind_name(code), row.name);
    EXPECT_EQ(occupant_name(code), row.noun);
    EXPECT_EQ(is_free_kind(code), row.free);
    const ObjectKindRow* kind = find_object_kind(code);
    EXPECT_EQ(kind != nullptr && kind->placed_by == PlacedBy::line_file, row.from_line_file);
  }
}

// What a note says of the record that placed an object, one kind after another.
TEST(ObjectKindsTest, PlacedObjectInWords) {
  BuildContext ctx;
  const auto placed = [&ctx](uint8_t oggetto) {
    return placed_object(ctx, {3, oggetto, {SourceFile::train, 4, 1}, 1650});
  };
  EXPECT_EQ(placed(kSignal), "the signal at 1650 m");
  EXPECT_EQ(placed(kSlowdownEnd), "the end of the slowdown at 1650 m");
  EXPECT_EQ(placed(kCountdownMarker), "a countdown marker of the slowdown at 1650 m");
  EXPECT_EQ(placed(kSpeedBoard), "the speed-indicator board at 1650 m");
  EXPECT_EQ(placed(kStationMark), "the stop mark of the station at 1650 m");
  EXPECT_EQ(placed(kTunnelLight), "a tunnel light of the mountain stretch from 1650 m");
  EXPECT_EQ(placed(kAbbattimento), "the abbattimento at 1650 m");
  EXPECT_EQ(placed(8), "the kind 8 at 1650 m");
  ctx.trail.rallentamenti.push_back({1650, 34, -1, {SourceFile::train, 4, 1}, 200});
  EXPECT_EQ(placed(kAbbattimento), "an abbattimento marker of the slowdown at 1650 m");
}

// The decoder reads a cell of every kind in the table and refuses every other code.
TEST(ObjectKindsTest, DecoderReadsExactlyTheKindsOfTheTable) {
  std::vector<cella> percorso(4);
  percorso[1].dato1 = 5121;
  for (int code = 0; code <= 255; ++code) {
    SCOPED_TRACE(code);
    percorso[3].oggetto = static_cast<uint8_t>(code);
    const std::string bytes = encode_route_cells(percorso);
    bool read = true;
    try {
      decode_route_cells(bytes);
    } catch (const RunTimeFailure&) {
      read = false;
    }
    EXPECT_EQ(read, find_object_kind(static_cast<uint8_t>(code)) != nullptr);
  }
}

}  // namespace
}  // namespace scenario
