// The one-line text of a cell names its kind in words and lists every field.
#include "compiler/format/cell_text.h"

#include <gtest/gtest.h>

namespace scenario {
namespace {

TEST(CellTextTest, EveryFieldInFileOrder) {
  const cella c{kSpeedBoard, 1614, -1, 0, 22, 1, 2, 3, 28, 97, 200};
  EXPECT_EQ(describe_cell(5000, c),
            "cell 5000: speed board dato1=1614 dato2=-1 dato3=0 dato4=22 tempo_segnale=1 "
            "preavviso=2 montagna=3 velocita=28 pendenza=97 aderenza=200");
  EXPECT_EQ(describe_cell(0, cella{}),
            "cell 0: no object dato1=0 dato2=0 dato3=0 dato4=0 tempo_segnale=0 preavviso=0 "
            "montagna=0 velocita=0 pendenza=0 aderenza=0");
}

}  // namespace
}  // namespace scenario
