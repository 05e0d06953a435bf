// `salva_testo`: every entry up to the end marker as one CR LF line, written
// in its folder with nothing left beside it.
#include "source/text_writer.h"

#include <gtest/gtest.h>

#include <string>

#include "base/run_time_failure.h"
#include "test_support.h"

namespace scenario {
namespace {

using testing::list_folder;
using testing::read_file;
using testing::TempDir;

const std::string kMarker(kEndMarker);

TEST(TextWriterTest, WrittenBytes) {
  const struct {
    const char* name;
    Righe righe;
    std::string bytes;
  } rows[] = {
      {"CR LF after every line",
       {"[generale]", "sabbia,    200", kMarker},
       "[generale]\r\nsabbia,    200\r\n"},
      {"an empty entry is an empty line",
       {"[cartelli]", "", "[indicazioni]", kMarker},
       "[cartelli]\r\n\r\n[indicazioni]\r\n"},
      {"nothing after the marker", {"[fine]", kMarker, "dopo", kMarker, ""}, "[fine]\r\n"},
      {"a marker first writes nothing", {kMarker, "[generale]"}, ""},
      {"the marker only as the whole entry",
       {kMarker + " ", "x" + kMarker, kMarker},
       kMarker + " \r\nx" + kMarker + "\r\n"},
      {"0xE0 stays one byte", {"citt\xE0", kMarker}, "citt\xE0\r\n"},
      {"trailing blanks kept",
       {"orologio,    10              32            40 ", kMarker},
       "orologio,    10              32            40 \r\n"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(text_file_bytes(row.righe), row.bytes) << row.name;
  }
}

TEST(TextWriterTest, WritesTheFileInTheFolder) {
  TempDir dir;
  salva_testo(dir.path(), "Velmora_Dorsel_linea.txt", {"[generale]", "", "citt\xE0", kMarker});
  EXPECT_EQ(read_file(dir / "Velmora_Dorsel_linea.txt"), "[generale]\r\n\r\ncitt\xE0\r\n");
  EXPECT_EQ(list_folder(dir.path()), std::vector<std::string>{"Velmora_Dorsel_linea.txt"});
}

TEST(TextWriterTest, MissingFolderFails) {
  TempDir dir;
  EXPECT_THROW(salva_testo(dir / "assente", "Velmora_Dorsel_linea.txt", {"x", kMarker}),
               RunTimeFailure);
  EXPECT_TRUE(list_folder(dir.path()).empty());
}

}  // namespace
}  // namespace scenario
