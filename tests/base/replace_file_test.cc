// The replace-file rule: the name holds the old file or exactly the new bytes,
// and a failure names the file and leaves no temporary file behind.
#include "base/replace_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/run_time_failure.h"
#include "test_support.h"

namespace scenario {
namespace {

using testing::failure_message;
using testing::list_folder;
using testing::read_file;
using testing::TempDir;
using testing::write_file;

TEST(ReplaceFileTest, CreatesAMissingFile) {
  TempDir dir;
  replace_file(dir / "Velmora_Dorsel_904.sim", std::string("\0\1\2", 3));
  EXPECT_EQ(read_file(dir / "Velmora_Dorsel_904.sim"), std::string("\0\1\2", 3));
  EXPECT_EQ(list_folder(dir.path()), std::vector<std::string>{"Velmora_Dorsel_904.sim"});
}

TEST(ReplaceFileTest, NameTakenByAFolderFailsNamingTheFile) {
  TempDir dir;
  std::filesystem::create_directory(dir / "Velmora_Dorsel_linea.dat");
  const std::string message =
      failure_message([&] { replace_file(dir / "Velmora_Dorsel_linea.dat", "x"); });
  EXPECT_NE(message.find((dir / "Velmora_Dorsel_linea.dat").string()), std::string::npos)
      << message;
  EXPECT_TRUE(std::filesystem::is_directory(dir / "Velmora_Dorsel_linea.dat"));
  EXPECT_EQ(list_folder(dir.path()), std::vector<std::string>{"Velmora_Dorsel_linea.dat"});
}

TEST(ReplaceFileTest, ContentWrittenInBlocksArrivesInOrder) {
  TempDir dir;
  write_file(dir / "Velmora_Dorsel_linea.dat", std::string(100000, 'v'));
  replace_file(dir / "Velmora_Dorsel_linea.dat", [](const BlockSink& put) {
    put("uno");
    put("");
    put(std::string(70000, 'd'));
    put("tre");
  });
  EXPECT_EQ(read_file(dir / "Velmora_Dorsel_linea.dat"), "uno" + std::string(70000, 'd') + "tre");
  EXPECT_EQ(list_folder(dir.path()), std::vector<std::string>{"Velmora_Dorsel_linea.dat"});
}

// Content that fails half-way is no file: the old one stays and the
// temporary file goes.
TEST(ReplaceFileTest, ContentThatFailsKeepsTheOldFile) {
  TempDir dir;
  write_file(dir / "Velmora_Dorsel_linea.dat", "vecchio");
  const std::string message = failure_message([&] {
    replace_file(dir / "Velmora_Dorsel_linea.dat", [](const BlockSink& put) {
      put(std::string(70000, 'n'));
      throw RunTimeFailure("entry 3: text of 70000 bytes is longer than 65535");
    });
  });
  EXPECT_EQ(message, "entry 3: text of 70000 bytes is longer than 65535");
  EXPECT_EQ(read_file(dir / "Velmora_Dorsel_linea.dat"), "vecchio");
  EXPECT_EQ(list_folder(dir.path()), std::vector<std::string>{"Velmora_Dorsel_linea.dat"});
}

TEST(ReplaceFileTest, MissingFolderFailsNamingTheFile) {
  TempDir dir;
  const std::string message =
      failure_message([&] { replace_file(dir / "assente" / "Velmora_Dorsel_904.dat", "x"); });
  EXPECT_NE(message.find("Velmora_Dorsel_904.dat"), std::string::npos) << message;
  EXPECT_TRUE(list_folder(dir.path()).empty());
}

// ---- files replaced as a set ----

const std::vector<std::string> kSet = {"Velmora_Dorsel_linea.dat", "Velmora_Dorsel_904.sim",
                                       "Velmora_Dorsel_904.dat"};

void stage_set(FileSet& set, const std::string& content) {
  for (const std::string& name : kSet) set.stage(name, [&](const BlockSink& put) { put(content); });
}

TEST(FileSetTest, NothingChangesUntilCommit) {
  TempDir dir;
  for (const std::string& name : kSet) write_file(dir / name, "vecchio");
  FileSet set(dir.path());
  stage_set(set, "nuovo");
  for (const std::string& name : kSet) EXPECT_EQ(read_file(dir / name), "vecchio");
  EXPECT_EQ(list_folder(dir.path()).size(), 6u);  // three temporary files beside them
  set.commit();
  for (const std::string& name : kSet) EXPECT_EQ(read_file(dir / name), "nuovo");
  EXPECT_EQ(list_folder(dir.path()).size(), 3u);
}

// A set that is never committed, or whose content fails, leaves nothing.
TEST(FileSetTest, UncommittedSetLeavesNoTemporaryFile) {
  TempDir dir;
  {
    FileSet set(dir.path());
    stage_set(set, "nuovo");
  }
  EXPECT_TRUE(list_folder(dir.path()).empty());
  const std::string message = failure_message([&] {
    FileSet set(dir.path());
    set.stage(kSet[0], [](const BlockSink& put) { put("nuovo"); });
    set.stage(kSet[1], [](const BlockSink& put) {
      put("nuo");
      throw RunTimeFailure("entry 3: text of 70000 bytes is longer than 65535");
    });
  });
  EXPECT_EQ(message, "entry 3: text of 70000 bytes is longer than 65535");
  EXPECT_TRUE(list_folder(dir.path()).empty());
}

// Content whose blocks come with their offsets, in any order, makes the file
// they add up to; blocks outside its size or short of it fail naming the file,
// and the set leaves nothing behind.
TEST(FileSetTest, PlacedBlocksMakeTheFileOrFail) {
  TempDir dir;
  FileSet set(dir.path());
  set.stage(kSet[0], PlacedContent{9, [](const PlacedBlockSink& put) {
                                     put(6, "yyy");
                                     put(0, "xxx");
                                     put(3, "");
                                     put(3, "xyz");
                                   }});
  set.commit();
  EXPECT_EQ(read_file(dir / kSet[0]), "xxxxyzyyy");

  const std::string path = (dir / kSet[1]).string();
  const struct {
    const char* name;
    PlacedContent content;
    std::string message;
  } cases[] = {
      {"past the end",
       {4, [](const PlacedBlockSink& put) { put(2, "abc"); }},
       "cannot write '" + path + "': a block of 3 bytes at offset 2 lies outside its 4 bytes"},
      {"short",
       {4, [](const PlacedBlockSink& put) { put(0, "abc"); }},
       "cannot write '" + path + "': its blocks hold 3 of its 4 bytes"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string message = failure_message([&] {
      FileSet failing(dir.path());
      failing.stage(kSet[1], c.content);
    });
    EXPECT_EQ(message, c.message);
    EXPECT_EQ(list_folder(dir.path()), std::vector<std::string>{kSet[0]});
  }
}

TEST(ReplaceFileTest, DeleteFile) {
  TempDir dir;
  write_file(dir / "Velmora_Dorsel_linea.txt", "x");
  EXPECT_TRUE(file_exists(dir / "Velmora_Dorsel_linea.txt"));
  delete_file(dir / "Velmora_Dorsel_linea.txt");
  EXPECT_FALSE(file_exists(dir / "Velmora_Dorsel_linea.txt"));
  delete_file(dir / "Velmora_Dorsel_linea.txt");  // already gone: nothing to do
  std::filesystem::create_directory(dir / "cartella");
  EXPECT_FALSE(file_exists(dir / "cartella"));
  EXPECT_THROW(delete_file(dir / "cartella"), RunTimeFailure);
}

}  // namespace
}  // namespace scenario
