// The replace-file rule with Windows calls: a file that another program holds
// open keeps its old content, and the message names the file and the system's
// reason; folders named in any script work.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/file_naming.h"
#include "base/replace_file.h"
#include "base/wide_text.h"
#include "source/byte_source.h"
#include "test_support.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;
using testing::failure_message;
using ::testing::HasSubstr;
using testing::list_folder;
using testing::read_file;
using ::testing::StartsWith;
using testing::TempDir;
using testing::write_file;

std::string utf8_path(const fs::path& path) { return utf8_of(path.native()); }

// "cannot replace 'PATH': " and then the system's words.
void expect_names_file_and_reason(const std::string& message, const fs::path& path) {
  const std::string start = "cannot replace '" + utf8_path(path) + "': ";
  EXPECT_THAT(message, StartsWith(start));
  EXPECT_GT(message.size(), start.size()) << message;
}

TEST(ReplaceFileWin32Test, FileHeldOpenByAnotherProgramKeepsItsContent) {
  TempDir dir;
  const fs::path target = dir / "Velmora_Dorsel_904.dat";
  write_file(target, "vecchio");
  // As a simulator that has the file open: reading, sharing reads only.
  const HANDLE held = ::CreateFileW(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const std::string message = failure_message([&] { replace_file(target, "nuovo"); });
  ::CloseHandle(held);
  expect_names_file_and_reason(message, target);
  EXPECT_EQ(read_file(target), "vecchio");
  EXPECT_EQ(list_folder(dir.path()), std::vector<std::string>{"Velmora_Dorsel_904.dat"});
}

// Folder names in the user's own language and script, with blanks.
TEST(ReplaceFileWin32Test, FoldersInAnyScript) {
  for (const std::string folder_name :
       {"Città", "Nuova cartella (2)", "Σενάριο", "Сценарий поезда", "東京 線"}) {
    SCOPED_TRACE(folder_name);
    TempDir dir;
    const fs::path folder = file_in(dir.path(), folder_name);
    ASSERT_TRUE(fs::create_directory(folder));
    const fs::path target = file_in(folder, "Velmora_Dorsel_linea.dat");
    replace_file(target, "primo");
    replace_file(target, "secondo");
    EXPECT_TRUE(file_exists(target));
    {
      FileByteSource source(target);
      char bytes[16];
      EXPECT_EQ(std::string(bytes, source.read(bytes, sizeof bytes)), "secondo");
    }
    EXPECT_EQ(list_folder(folder), std::vector<std::string>{"Velmora_Dorsel_linea.dat"});
    delete_file(target);
    EXPECT_FALSE(file_exists(target));

    // A failure names the path in UTF-8.
    const fs::path missing = file_in(folder, "assente") / "Velmora_Dorsel_904.dat";
    EXPECT_THAT(failure_message([&] { replace_file(missing, "x"); }), HasSubstr(utf8_path(folder)));
    EXPECT_THAT(failure_message([&] { FileByteSource unread(missing); }),
                StartsWith("cannot open '" + utf8_path(missing) + "': "));
  }
}

}  // namespace
}  // namespace scenario
