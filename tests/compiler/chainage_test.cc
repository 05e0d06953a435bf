// The kilometric chainage from the references of the station table.
#include "compiler/chainage.h"

#include <gtest/gtest.h>

namespace scenario::testing {
namespace {

Tabella with_references(voce tre, voce due, voce uno) {
  Tabella t;
  t[kEntryRefTre] = tre;
  t[kEntryRefDue] = due;
  t[kEntryRefUno] = uno;
  return t;
}

voce reference(int32_t from, int32_t stored, int32_t flag) {
  voce v;
  v.valore1 = from;
  v.valore2 = stored;
  v.valore3 = flag;
  return v;
}

TEST(ChainageTest, TheBuiltInLineCountsDownFromKm350AsWritten) {
  // Written "0, 350000, 1", stored with 100 more; the boards give 350000 minus the position.
  const Chainage chainage(with_references({}, {}, reference(0, 350100, 1)));
  EXPECT_EQ(chainage.at(0), 350000);
  EXPECT_EQ(chainage.at(14800), 335200);
  EXPECT_EQ(chainage.at(139500), 210500);
  EXPECT_EQ(chainage_text(chainage.at(14800)), "335+200");
  const std::vector<KilometrePost> posts = chainage.kilometre_posts(0, 2500);
  ASSERT_EQ(posts.size(), 3u);
  EXPECT_EQ(posts[0].metres, 0);
  EXPECT_EQ(posts[0].kilometre, 350);
  EXPECT_EQ(posts[2].metres, 2000);
  EXPECT_EQ(posts[2].kilometre, 348);
}

TEST(ChainageTest, WithoutReferencesTheChainageIsThePosition) {
  const Chainage chainage(Tabella{});
  EXPECT_EQ(chainage.at(12345), 12345);
  EXPECT_EQ(chainage.kilometre_posts(500, 2000).size(), 2u);
}

TEST(ChainageTest, EachReferenceHoldsFromItsPositionToTheNext) {
  // Sorted entries hold the largest position first; flag 0 counts up.
  const Chainage chainage(
      with_references(reference(20000, 5000, 0), reference(10000, 80100, 1), reference(0, 0, 0)));
  ASSERT_EQ(chainage.references().size(), 2u);
  EXPECT_EQ(chainage.at(0), 90000);  // before the first reference, it is extended back
  EXPECT_EQ(chainage.at(15000), 75000);
  EXPECT_EQ(chainage.at(20000), 5000);
  EXPECT_EQ(chainage.at(21500), 6500);
  const std::vector<KilometrePost> posts = chainage.kilometre_posts(19000, 22000);
  ASSERT_EQ(posts.size(), 4u);
  EXPECT_EQ(posts[0].metres, 19000);  // km 71 on the decreasing stretch
  EXPECT_EQ(posts[0].kilometre, 71);
  EXPECT_EQ(posts[1].metres, 20000);
  EXPECT_EQ(posts[1].kilometre, 5);
  EXPECT_EQ(posts[3].metres, 22000);
}

TEST(ChainageTest, TextShowsKilometresPlusThreeDigitMetres) {
  EXPECT_EQ(chainage_text(0), "0+000");
  EXPECT_EQ(chainage_text(204676), "204+676");
  EXPECT_EQ(chainage_text(-50), "-0+050");
  EXPECT_EQ(chainage_text(-1250), "-1+250");
}

}  // namespace
}  // namespace scenario::testing
