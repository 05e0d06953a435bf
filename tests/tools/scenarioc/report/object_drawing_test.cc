// How the report draws each kind: every kind stands in a band the page has, and
// a code no rule produces is drawn as kind 0 is.
#include "scenarioc/report/object_drawing.h"

#include <gtest/gtest.h>

#include <string_view>

#include "scenarioc/report/report_bands.h"

namespace scenario {
namespace {

TEST(ObjectDrawingTest, EveryKindStandsInABandOfThePage) {
  for (const ObjectDrawing& drawing : kObjectDrawings) {
    SCOPED_TRACE(static_cast<int>(drawing.code));
    EXPECT_EQ(std::string_view(BandLayout::band(drawing.band).name), drawing.band);
    EXPECT_TRUE(!drawing.label_drawn || drawing.label != ObjectLabel::none);
  }
}

TEST(ObjectDrawingTest, UnknownCodesDrawAsKindZero) {
  for (const int code : {7, 8, 9, 15, 255}) {
    EXPECT_EQ(&drawing_of(static_cast<uint8_t>(code)), &kObjectDrawings[0]) << code;
  }
  EXPECT_EQ(std::string_view(drawing_of(kIndicationBoard).band), "indications");
}

}  // namespace
}  // namespace scenario
