// The open documents kept in step with the editor's edits, and the file
// URIs they are named by.
#include "scenarioc/lsp/document_store.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

namespace scenario::lsp {
namespace {

Json edit(int64_t line, int64_t from, int64_t to, const std::string& text) {
  return {{"range", range_json({{line, from}, {line, to}})}, {"text", text}};
}

TEST(DocumentStoreTest, AppliesEachChangeInOrderInUtf16Columns) {
  DocumentStore store;
  store.open("file:///s/A_linea.txt", "x \xf0\x9f\x9a\x82 y\r\nsecond", 1);
  // The character of two UTF-16 units is replaced by "à", then "y" by "z", then
  // a line is added; a whole text replaces everything.
  const Json changes =
      Json::array({edit(0, 2, 4, "\xc3\xa0"), edit(0, 4, 5, "z"), edit(1, 6, 6, "\nthird")});
  ASSERT_TRUE(store.change("file:///s/A_linea.txt", changes, 2));
  const Document* document = store.find("file:///s/A_linea.txt");
  EXPECT_EQ(document->text.utf8(), "x \xc3\xa0 z\r\nsecond\nthird");
  EXPECT_EQ(document->text.bytes(), "x \xe0 z\r\nsecond\nthird");
  EXPECT_EQ(document->version, 2);
  ASSERT_TRUE(store.change("file:///s/A_linea.txt", Json::array({{{"text", "new"}}}), 3));
  EXPECT_EQ(document->text.utf8(), "new");
}

TEST(DocumentStoreTest, AChangeOfNeitherFormLeavesTheDocumentAsItWas) {
  DocumentStore store;
  store.open("file:///s/A_linea.txt", "abc", 1);
  const Json faulty[] = {
      Json::array({edit(0, 0, 1, "x"), {{"range", 5}, {"text", "y"}}}),
      Json::array({{{"range", range_json({{0, 0}, {0, 1}})}}}),
      Json::object(),
      // Positions outside the protocol's range.
      Json::array({edit(-1, 0, 1, "x")}),
      Json::array({edit(0, 0, kLargestCoordinate + 1, "x")}),
      Json::array({edit(std::numeric_limits<int64_t>::max(), 0, 0, "x")}),
  };
  for (const Json& changes : faulty) {
    EXPECT_FALSE(store.change("file:///s/A_linea.txt", changes, 2)) << changes.dump();
  }
  EXPECT_EQ(store.find("file:///s/A_linea.txt")->text.utf8(), "abc");
  EXPECT_FALSE(store.change("file:///s/other.txt", Json::array(), 2));
}

TEST(DocumentStoreTest, FileUrisAndPathsGoBothWays) {
  EXPECT_EQ(path_of_uri("file:///tmp/a%20b/Citt%C3%A0_linea.txt"),
            std::filesystem::path("/tmp/a b/Citt\xc3\xa0_linea.txt"));
  EXPECT_EQ(path_of_uri("file://localhost/x"), std::filesystem::path("/x"));
  EXPECT_FALSE(path_of_uri("untitled:Untitled-1"));
  EXPECT_FALSE(path_of_uri("file://server/share/x"));
  EXPECT_EQ(uri_of_path("/tmp/a b/Citt\xc3\xa0_linea.txt"),
            "file:///tmp/a%20b/Citt%C3%A0_linea.txt");
}

}  // namespace
}  // namespace scenario::lsp
