// Files that are no regular files on Linux: a FIFO is refused at once instead
// of waiting for a writer, a device instead of handing over endless bytes.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "source/byte_source.h"
#include "test_support.h"

namespace scenario {
namespace {

TEST(FileByteSourcePosixTest, FifoAndDevicesAreRefusedWithWhatTheyAre) {
  testing::TempDir dir;
  ASSERT_EQ(::mkfifo((dir / "Prova_1-.txt").c_str(), 0600), 0);
  const struct {
    std::filesystem::path path;
    const char* kind;
  } rows[] = {{dir / "Prova_1-.txt", "a FIFO"},
              {"/dev/zero", "a character device"},
              {"/dev/null", "a character device"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.path.string());
    EXPECT_EQ(
        testing::failure_message([&] { FileByteSource::open_if_present(row.path); }),
        "cannot read '" + row.path.string() + "': it is " + row.kind + ", not a regular file");
  }
}

}  // namespace
}  // namespace scenario
