// A device such as NUL is no file to read on Windows either.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "source/byte_source.h"
#include "test_support.h"

namespace scenario {
namespace {

TEST(FileByteSourceWin32Test, DeviceIsRefusedWithWhatItIs) {
  EXPECT_EQ(testing::failure_message([] { FileByteSource source(L"NUL"); }),
            "cannot read 'NUL': it is a character device, not a regular file");
}

}  // namespace
}  // namespace scenario
