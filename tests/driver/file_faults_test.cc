// File-system faults: a folder the program may not write, a file name taken by
// a folder, a full disk, and source files that vanish, cannot be read or cannot
// be deleted. A fault ends the build with one line naming the file and the
// system's reason, and leaves the files of an earlier build exactly as they were.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "base/file_naming.h"
#include "base/run_time_failure.h"
#include "compiler/compile.h"
#include "compiler/scenario_records.h"
#include "compiler/source_files.h"
#include "driver/program_runs.h"
#include "process_support.h"
#include "source/builtin_line.h"
#include "source/builtin_train.h"
#include "test_support.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;
using testing::builtin_identity;
using testing::changed_files;
using testing::ChildLimits;
using testing::lines_of;
using testing::list_folder;
using testing::ProgramRun;
using testing::read_file;
using testing::run_in;
using testing::run_program;
using testing::Snapshot;
using testing::snapshot;
using testing::TempDir;
using testing::unprivileged_run_missing;

// The built-in scenario's two sources, written into `folder` as the build writes them.
void write_builtin_sources(const fs::path& folder) {
  BuildIdentity ctx = builtin_identity(folder);
  dati_linea(ctx);
  dati_treno(ctx);
}

// Readable and searchable by everyone, writable by no one but root.
void make_read_only(const fs::path& folder) {
  using fs::perms;
  fs::permissions(folder, perms::owner_read | perms::owner_exec | perms::group_read |
                              perms::group_exec | perms::others_read | perms::others_exec);
}

class FileFaultsTest : public ::testing::Test {
 protected:
  // Installs the program in the test's folder and builds there once, as an
  // earlier run would have.
  void build_once() {
    fs::copy_file(SCENARIO_VELMORA_DORSEL, dir_ / "velmora_dorsel");
    const ProgramRun first = run_program(dir_.path());
    ASSERT_EQ(first.status, 0) << first.output;
    earlier_ = snapshot(dir_.path());
  }

  std::string path_of(const std::string& name) const { return (dir_ / name).string(); }

  TempDir dir_;
  Snapshot earlier_;
};

TEST_F(FileFaultsTest, FolderWithoutWritePermission) {
  ASSERT_NO_FATAL_FAILURE(build_once());
  make_read_only(dir_.path());
  const ProgramRun run = run_program(dir_.path(), {.unprivileged = true});
  const std::string missing = unprivileged_run_missing(run, dir_.path());
  if (!missing.empty()) GTEST_SKIP() << missing;
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(lines_of(run.output),
            std::vector<std::string>{"velmora_dorsel: cannot create '" +
                                     path_of("Velmora_Dorsel_linea.txt") + "': Permission denied"});
  EXPECT_EQ(changed_files(earlier_, snapshot(dir_.path())), std::vector<std::string>{});
}

TEST_F(FileFaultsTest, FileNameTakenByAFolder) {
  fs::copy_file(SCENARIO_VELMORA_DORSEL, dir_ / "velmora_dorsel");
  fs::create_directory(dir_ / "Velmora_Dorsel_904.dat");
  const ProgramRun run = run_program(dir_.path());
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(lines_of(run.output),
            std::vector<std::string>{"velmora_dorsel: cannot replace '" +
                                     path_of("Velmora_Dorsel_904.dat") +
                                     "': Is a directory; none of the 3 files was replaced"});

  // The documents are as a good build writes them; the sources are gone, no
  // compiled file is there, and no temporary file is left.
  TempDir good;
  fs::copy_file(SCENARIO_VELMORA_DORSEL, good / "velmora_dorsel");
  ASSERT_EQ(run_program(good.path()).status, 0);
  Snapshot expected = snapshot(good.path());
  expected.erase("Velmora_Dorsel_linea.dat");
  expected.erase("Velmora_Dorsel_904.sim");
  expected["Velmora_Dorsel_904.dat"] = "<folder>";
  EXPECT_EQ(changed_files(expected, snapshot(dir_.path())), std::vector<std::string>{});
  EXPECT_TRUE(fs::is_empty(dir_ / "Velmora_Dorsel_904.dat"));
}

// A build that fails after it wrote its sources takes them with it.
TEST_F(FileFaultsTest, FailedBuildLeavesNoSourceFile) {
  fs::copy_file(SCENARIO_VELMORA_DORSEL, dir_ / "velmora_dorsel");
  fs::create_directory(dir_ / "Velmora_Dorsel_904_note.txt");
  const ProgramRun run = run_program(dir_.path());
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(lines_of(run.output),
            std::vector<std::string>{"velmora_dorsel: cannot replace '" +
                                     path_of("Velmora_Dorsel_904_note.txt") + "': Is a directory"});
  EXPECT_EQ(list_folder(dir_.path()),
            (std::vector<std::string>{"Velmora_Dorsel_904_note.txt", "velmora_dorsel"}));
}

TEST_F(FileFaultsTest, FullDiskKeepsTheEarlierFiles) {
  ASSERT_NO_FATAL_FAILURE(build_once());
  const struct {
    rlim_t max_file_size;
    const char* failing_file;
  } rows[] = {
      {2048, "Velmora_Dorsel_linea.txt"},     // the first file the build writes
      {1 << 20, "Velmora_Dorsel_linea.dat"},  // the track plan, about 5 MB
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.failing_file);
    const ProgramRun run = run_program(dir_.path(), {.max_file_size = row.max_file_size});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(lines_of(run.output),
              std::vector<std::string>{"velmora_dorsel: cannot write '" +
                                       path_of(row.failing_file) + "': File too large"});
    EXPECT_EQ(changed_files(earlier_, snapshot(dir_.path())), std::vector<std::string>{});
  }
}

// Out of memory (here: a limit below what the build needs, which is little:
// the track plan is written as it is traced) is one line, as any failure is;
// the build's sources go, no temporary file stays, and the compiled files of
// the earlier build are kept.
TEST_F(FileFaultsTest, OutOfMemoryKeepsTheEarlierFiles) {
  if (testing::kAddressSanitizer) GTEST_SKIP() << "AddressSanitizer runs under no memory limit";
  ASSERT_NO_FATAL_FAILURE(build_once());
  const ProgramRun run = run_program(dir_.path(), {.max_data = 256 << 10});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(lines_of(run.output), std::vector<std::string>{"velmora_dorsel: out of memory"});
  EXPECT_EQ(changed_files(earlier_, snapshot(dir_.path())), std::vector<std::string>{});
}

// --- The authoring tool: the same faults end it with status 2 ---

// scenarioc compiles the built-in sources beside it into the folder out/.
class ScenariocFaultsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::copy_file(SCENARIO_SCENARIOC, dir_ / "scenarioc");
    write_builtin_sources(dir_.path());
  }

  ProgramRun compile(const ChildLimits& limits = {}) {
    return run_in(dir_.path(),
                  {"./scenarioc", "compile", "Velmora_Dorsel_linea.txt", "Velmora_Dorsel_904-.txt",
                   "-o", "out"},
                  limits);
  }

  void compile_once() {
    const ProgramRun first = compile();
    ASSERT_EQ(first.status, 0) << first.output;
    earlier_ = snapshot(dir_ / "out");
  }

  TempDir dir_;
  Snapshot earlier_;
};

TEST_F(ScenariocFaultsTest, OutputFolderWithoutWritePermission) {
  ASSERT_NO_FATAL_FAILURE(compile_once());
  make_read_only(dir_.path());
  make_read_only(dir_ / "out");
  const ProgramRun run = compile({.unprivileged = true});
  const std::string missing = unprivileged_run_missing(run, dir_.path());
  if (!missing.empty()) GTEST_SKIP() << missing;
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(lines_of(run.output),
            std::vector<std::string>{
                "scenarioc: cannot create 'out/Velmora_Dorsel_linea.dat': Permission denied"});
  EXPECT_EQ(changed_files(earlier_, snapshot(dir_ / "out")), std::vector<std::string>{});
}

TEST_F(ScenariocFaultsTest, OutputNameTakenByAFolder) {
  ASSERT_NO_FATAL_FAILURE(compile_once());
  fs::remove(dir_ / "out" / "Velmora_Dorsel_904.dat");
  fs::create_directory(dir_ / "out" / "Velmora_Dorsel_904.dat");
  const ProgramRun run = compile();
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(lines_of(run.output),
            std::vector<std::string>{"scenarioc: cannot replace 'out/Velmora_Dorsel_904.dat': Is a "
                                     "directory; none of the 3 files was replaced"});
  earlier_["Velmora_Dorsel_904.dat"] = "<folder>";
  EXPECT_EQ(changed_files(earlier_, snapshot(dir_ / "out")), std::vector<std::string>{});
}

TEST_F(ScenariocFaultsTest, FullDiskKeepsTheEarlierFiles) {
  ASSERT_NO_FATAL_FAILURE(compile_once());
  const ProgramRun run = compile({.max_file_size = 1 << 20});
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(lines_of(run.output),
            std::vector<std::string>{
                "scenarioc: cannot write 'out/Velmora_Dorsel_linea.dat': File too large"});
  EXPECT_EQ(changed_files(earlier_, snapshot(dir_ / "out")), std::vector<std::string>{});
}

TEST_F(ScenariocFaultsTest, OutOfMemoryKeepsTheEarlierFiles) {
  if (testing::kAddressSanitizer) GTEST_SKIP() << "AddressSanitizer runs under no memory limit";
  ASSERT_NO_FATAL_FAILURE(compile_once());
  // The longest route, under a limit below what even its compile needs.
  std::string line = read_file(dir_ / "Velmora_Dorsel_linea.txt");
  line.replace(line.find("243000"), 6, "1000000");
  testing::write_file(dir_ / "Velmora_Dorsel_linea.txt", line);
  const ProgramRun run = compile({.max_data = 256 << 10});
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(lines_of(run.output), std::vector<std::string>{"scenarioc: out of memory"});
  EXPECT_EQ(changed_files(earlier_, snapshot(dir_ / "out")), std::vector<std::string>{});
}

// --- Sources that vanish or cannot be read, seen by the parser ---

// The build's own sources in a folder of their own, written as the build writes them.
struct BuildSources {
  BuildSources() : ctx(builtin_identity(dir.path())) { write_builtin_sources(dir.path()); }
  fs::path line_path() const { return dir / line_source_name(ctx.nome); }
  fs::path train_path() const { return dir / train_source_name(ctx.nome, ctx.treno); }

  TempDir dir;
  Compilation ctx;
};

TEST(SourceFaultsTest, TrainSourceMissingOrNotAFile) {
  const struct {
    const char* name;
    bool make_folder;
    const char* reason;
  } rows[] = {
      {"removed", false, "cannot open '%s': No such file or directory"},
      {"a folder", true, "cannot read '%s': it is a directory, not a regular file"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    BuildSources build;
    fs::remove(build.train_path());
    if (row.make_folder) fs::create_directory(build.train_path());
    FolderSources sources(build.dir.path(), build.ctx.nome, build.ctx.treno);
    MemorySink sink;
    compile(build.ctx, sources, sink);

    ASSERT_EQ(build.ctx.codice_errore, 25);
    std::string reason = row.reason;
    reason.replace(reason.find("%s"), 2, build.train_path().string());
    EXPECT_EQ(build.ctx.trail.recordings.back().text, reason);
    EXPECT_EQ(build.ctx.trail.recordings.back().where.file, SourceFile::train);
    // The line file was read whole: the cells exist and the files are written.
    EXPECT_EQ(sink.files.size(), 3u);
    EXPECT_FALSE(fs::exists(build.line_path()));
    EXPECT_EQ(fs::is_directory(build.train_path()), row.make_folder);
  }
}

// A line source that exists but is no file is no missing file (101): reading
// it fails, and the failure trap deletes the train source as it would after
// any failure.
TEST(SourceFaultsTest, LineSourceThatIsAFolderCannotBeRead) {
  BuildSources build;
  fs::remove(build.line_path());
  fs::create_directory(build.line_path());
  FolderSources sources(build.dir.path(), build.ctx.nome, build.ctx.treno);
  MemorySink sink;
  compile(build.ctx, sources, sink);
  EXPECT_EQ(build.ctx.codice_errore, 25);
  EXPECT_EQ(build.ctx.trail.recordings.back().text, "cannot read '" + build.line_path().string() +
                                                        "': it is a directory, not a regular file");
  EXPECT_TRUE(build.ctx.result.cell_row_missing);
  EXPECT_TRUE(sink.files.empty());
  EXPECT_TRUE(fs::is_directory(build.line_path()));
  EXPECT_FALSE(fs::exists(build.train_path()));
}

// Deletes each source as soon as the parser has opened it.
class VanishingSources : public FolderSources {
 public:
  using FolderSources::FolderSources;
  std::unique_ptr<ByteSource> open(SourceFile which) override {
    std::unique_ptr<ByteSource> source = FolderSources::open(which);
    fs::remove(path(which));
    return source;
  }
};

TEST(SourceFaultsTest, SourcesDeletedWhileOpenAreStillReadWhole) {
  BuildSources vanishing;
  VanishingSources sources(vanishing.dir.path(), vanishing.ctx.nome, vanishing.ctx.treno);
  MemorySink sink;
  compile(vanishing.ctx, sources, sink);
  EXPECT_EQ(vanishing.ctx.codice_errore, 0);
  EXPECT_TRUE(list_folder(vanishing.dir.path()).empty());

  // The same bytes as a build whose sources stay put.
  BuildSources steady;
  FolderSources steady_sources(steady.dir.path(), steady.ctx.nome, steady.ctx.treno);
  MemorySink steady_sink;
  compile(steady.ctx, steady_sources, steady_sink);
  EXPECT_EQ(steady.ctx.codice_errore, 0);
  EXPECT_EQ(sink.files.size(), 3u);
  EXPECT_EQ(changed_files(steady_sink.files, sink.files), std::vector<std::string>{});
}

// The line source cannot be deleted once read, as when the system refuses it.
class UndeletableLineSource : public FolderSources {
 public:
  using FolderSources::FolderSources;
  void remove(SourceFile which) override {
    if (which == SourceFile::line) {
      throw RunTimeFailure("cannot delete '" + path(which).string() + "': Operation not permitted");
    }
    FolderSources::remove(which);
  }
};

// The parser's failure trap tries the deletion once more; when that fails too
// the compile ends with the failure, never with a success that leaves a
// source behind.
TEST(SourceFaultsTest, SourceThatCannotBeDeletedEndsTheCompile) {
  BuildSources build;
  UndeletableLineSource sources(build.dir.path(), build.ctx.nome, build.ctx.treno);
  MemorySink sink;
  try {
    compile(build.ctx, sources, sink);
    ADD_FAILURE() << "the compile ended normally";
  } catch (const RunTimeFailure& failure) {
    EXPECT_EQ(std::string(failure.what()),
              "cannot delete '" + build.line_path().string() + "': Operation not permitted");
  }
  EXPECT_TRUE(sink.files.empty());
}

}  // namespace
}  // namespace scenario
