// A file as the readers' source: opened once, only when it is a regular file,
// and a missing one told apart from one that cannot be read.
#include "source/byte_source.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/file_naming.h"
#include "test_support.h"

namespace scenario {
namespace {

using testing::failure_message;
using ::testing::HasSubstr;
using ::testing::StartsWith;
using testing::TempDir;
using testing::write_file;

TEST(FileByteSourceTest, OpensARegularFileOnce) {
  TempDir dir;
  write_file(dir / "Prova_linea.txt", "[generale]\r\n");
  const std::unique_ptr<FileByteSource> source =
      FileByteSource::open_if_present(dir / "Prova_linea.txt");
  ASSERT_NE(source, nullptr);
  EXPECT_EQ(source->size(), 12u);
  char bytes[32];
  EXPECT_EQ(std::string(bytes, source->read(bytes, sizeof bytes)), "[generale]\r\n");
}

TEST(FileByteSourceTest, MissingFileIsNoneOrAFailure) {
  TempDir dir;
  EXPECT_EQ(FileByteSource::open_if_present(dir / "assente.txt"), nullptr);
  EXPECT_THAT(failure_message([&] { FileByteSource source(dir / "assente.txt"); }),
              StartsWith("cannot open '"));
}

TEST(FileByteSourceTest, FolderIsRefusedWithWhatItIs) {
  TempDir dir;
  std::filesystem::create_directory(dir / "Prova_linea.txt");
  for (const bool missing_allowed : {false, true}) {
    const std::string message = failure_message([&] {
      if (missing_allowed) {
        FileByteSource::open_if_present(dir / "Prova_linea.txt");
      } else {
        FileByteSource source(dir / "Prova_linea.txt");
      }
    });
    EXPECT_THAT(message, StartsWith("cannot read '"));
    EXPECT_THAT(message, HasSubstr("Prova_linea.txt': it is a directory, not a regular file"));
  }
}

}  // namespace
}  // namespace scenario
