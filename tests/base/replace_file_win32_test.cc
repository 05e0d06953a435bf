// The replace-file rule with Windows calls: a file that another program holds
// open keeps its old content, and the message names the file and the system's
// reason; a set whose name a move could not take changes nothing; folders
// named in any script work.
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

const std::vector<std::string> kSet = {"Velmora_Dorsel_linea.dat", "Velmora_Dorsel_904.sim",
                                       "Velmora_Dorsel_904.dat"};

// A name that a move could not take, checked before the first rename: the set
// changes nothing, rather than leave the simulator a track plan of this build
// beside a station table of the last.
TEST(FileSetWin32Test, RefusedNameChangesNothing) {
  enum class Refused { kFolder, kReadOnly, kHeldOpen };
  const struct {
    Refused refused;
    std::string reason;
  } rows[] = {
      {Refused::kFolder, "Is a directory"},
      {Refused::kReadOnly, system_reason(ERROR_ACCESS_DENIED)},
      {Refused::kHeldOpen, system_reason(ERROR_SHARING_VIOLATION)},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.reason);
    TempDir dir;
    for (const std::string& name : kSet) write_file(dir / name, "vecchio");
    const fs::path refused = dir / kSet[1];
    HANDLE held = INVALID_HANDLE_VALUE;
    switch (row.refused) {
      case Refused::kFolder:
        fs::remove(refused);
        fs::create_directory(refused);
        break;
      case Refused::kReadOnly:
        ASSERT_TRUE(::SetFileAttributesW(refused.c_str(), FILE_ATTRIBUTE_READONLY));
        break;
      case Refused::kHeldOpen:
        // As a simulator that reads the file: sharing reads only.
        held = ::CreateFileW(refused.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        break;
    }
    const std::vector<std::string> before = list_folder(dir.path());
    const std::string message = failure_message([&] {
      FileSet set(dir.path());
      for (const std::string& name : kSet)
        set.stage(name, [](const BlockSink& put) { put("nuovo"); });
      set.commit();
    });
    if (held != INVALID_HANDLE_VALUE) ::CloseHandle(held);
    if (row.refused == Refused::kReadOnly) {
      ::SetFileAttributesW(refused.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    EXPECT_EQ(message, "cannot replace '" + utf8_path(refused) + "': " + row.reason +
                           "; none of the 3 files was replaced");
    EXPECT_EQ(list_folder(dir.path()), before);
    EXPECT_EQ(read_file(dir / kSet[0]), "vecchio");
    EXPECT_EQ(read_file(dir / kSet[2]), "vecchio");
  }
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
