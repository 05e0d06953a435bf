// File-system faults: a folder the program may not write, a file name taken by
// a folder, a full disk, and source files that vanish, cannot be read or cannot
// be deleted. A fault ends the build with one line naming the file and the
// system's reason, and leaves the files of an earlier build exactly as they were.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/file_naming.h"
#include "base/run_time_failure.h"
#include "compiler/compile_step.h"
#include "compiler/scenario_records.h"
#include "compiler/source_files.h"
#include "source/builtin_line.h"
#include "source/builtin_train.h"
#include "test_support.h"

extern char** environ;

namespace scenario {
namespace {

namespace fs = std::filesystem;
using testing::builtin_context;
using testing::list_folder;
using testing::read_file;
using testing::TempDir;

// Exit statuses of the child itself, before the program runs.
constexpr int kCannotDropPrivileges = 125;
constexpr int kCannotStart = 126;

struct ChildLimits {
  rlim_t max_file_size = RLIM_INFINITY;  // with SIGXFSZ ignored, a longer write fails
  bool unprivileged = false;             // as root, run as the user nobody
};

struct ProgramRun {
  int status = -1;  // the exit status; -1 when a signal ended the program
  std::string output;
};

// Everything in a folder, name to content; a folder shows as "<folder>".
using Snapshot = std::map<std::string, std::string>;

Snapshot snapshot(const fs::path& folder) {
  Snapshot files;
  for (const std::string& name : list_folder(folder)) {
    files[name] = fs::is_directory(folder / name) ? "<folder>" : read_file(folder / name);
  }
  return files;
}

// The names whose content differs between two snapshots or that only one holds;
// a failing check then names files instead of printing megabytes.
std::vector<std::string> changed_files(const Snapshot& before, const Snapshot& after) {
  std::vector<std::string> names;
  for (const auto& [name, content] : before) {
    const auto found = after.find(name);
    if (found == after.end() || found->second != content) names.push_back(name);
  }
  for (const auto& [name, content] : after) {
    if (before.count(name) == 0) names.push_back(name);
  }
  return names;
}

// The environment without DISPLAY, so that no window opens.
std::vector<char*> environment_without_display() {
  std::vector<char*> env;
  for (char** e = environ; *e != nullptr; ++e) {
    if (std::strncmp(*e, "DISPLAY=", 8) != 0) env.push_back(*e);
  }
  env.push_back(nullptr);
  return env;
}

// Only async-signal-safe calls between fork and exec.
[[noreturn]] void exec_child(const char* folder, char** argv, char** env, const ChildLimits& limits,
                             int output) {
  ::dup2(output, STDOUT_FILENO);
  ::dup2(output, STDERR_FILENO);
  if (limits.max_file_size != RLIM_INFINITY) {
    const rlimit limit = {limits.max_file_size, limits.max_file_size};
    ::signal(SIGXFSZ, SIG_IGN);
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(kCannotStart);
  }
  if (limits.unprivileged && ::geteuid() == 0) {
    if (!testing::become_nobody()) ::_exit(kCannotDropPrivileges);
  }
  if (::chdir(folder) != 0) ::_exit(kCannotStart);
  ::execve(argv[0], argv, env);
  ::_exit(kCannotStart);
}

// Runs `command` (a program installed in `folder`, then its arguments) with
// `folder` as the current folder, and collects what it prints on both streams.
ProgramRun run_in(const fs::path& folder, std::vector<std::string> command,
                  const ChildLimits& limits = {}) {
  const std::string where = folder.string();
  std::vector<char*> argv;
  for (std::string& word : command) argv.push_back(word.data());
  argv.push_back(nullptr);
  std::vector<char*> env = environment_without_display();
  ProgramRun run;
  int pipe_ends[2];
  if (::pipe2(pipe_ends, O_CLOEXEC) != 0) return run;
  const pid_t pid = ::fork();
  if (pid == 0) exec_child(where.c_str(), argv.data(), env.data(), limits, pipe_ends[1]);
  ::close(pipe_ends[1]);
  char buffer[4096];
  for (ssize_t n; (n = ::read(pipe_ends[0], buffer, sizeof buffer)) != 0;) {
    if (n > 0) run.output.append(buffer, static_cast<size_t>(n));
    if (n < 0 && errno != EINTR) break;
  }
  ::close(pipe_ends[0]);
  int status = 0;
  if (pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status)) {
    run.status = WEXITSTATUS(status);
  }
  return run;
}

ProgramRun run_program(const fs::path& folder, const ChildLimits& limits = {}) {
  return run_in(folder, {"./velmora_dorsel"}, limits);
}

// Why an unprivileged run did not take place, or "" when it did.
std::string unprivileged_run_missing(const ProgramRun& run, const fs::path& folder) {
  if (run.status == kCannotDropPrivileges) {
    return "running as root and the test cannot switch to the user nobody";
  }
  if (run.status == kCannotStart) return "the user nobody cannot reach " + folder.string();
  return "";
}

// The built-in scenario's two sources, written into `folder` as the build writes them.
void write_builtin_sources(const fs::path& folder) {
  BuildContext ctx = builtin_context(folder);
  dati_linea(ctx);
  dati_treno(ctx);
}

// Readable and searchable by everyone, writable by no one but root.
void make_read_only(const fs::path& folder) {
  using fs::perms;
  fs::permissions(folder, perms::owner_read | perms::owner_exec | perms::group_read |
                              perms::group_exec | perms::others_read | perms::others_exec);
}

// Splits the output at line feeds.
std::vector<std::string> lines_of(const std::string& output) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = output.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(output.substr(start, end - start));
  }
  if (start < output.size()) lines.push_back(output.substr(start));
  return lines;
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

// --- Sources that vanish or cannot be read, seen by the parser ---

// The build's own sources in a folder of their own, written as the build writes them.
struct BuildSources {
  BuildSources() : ctx(builtin_context(dir.path())) { write_builtin_sources(dir.path()); }
  fs::path line_path() const { return dir / line_source_name(ctx.nome); }
  fs::path train_path() const { return dir / train_source_name(ctx.nome, ctx.treno); }

  TempDir dir;
  BuildContext ctx;
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
    memorizza_percorso(build.ctx, kWriteTrackPlan, sources, sink);

    ASSERT_EQ(build.ctx.codice_errore, 25);
    std::string reason = row.reason;
    reason.replace(reason.find("%s"), 2, build.train_path().string());
    EXPECT_EQ(build.ctx.recordings.back().text, reason);
    EXPECT_EQ(build.ctx.recordings.back().where.file, SourceFile::train);
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
  const CompileResult result = memorizza_percorso(build.ctx, kWriteTrackPlan, sources, sink);
  EXPECT_EQ(build.ctx.codice_errore, 25);
  EXPECT_EQ(build.ctx.recordings.back().text, "cannot read '" + build.line_path().string() +
                                                  "': it is a directory, not a regular file");
  EXPECT_TRUE(result.cell_row_missing);
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
  memorizza_percorso(vanishing.ctx, kWriteTrackPlan, sources, sink);
  EXPECT_EQ(vanishing.ctx.codice_errore, 0);
  EXPECT_TRUE(list_folder(vanishing.dir.path()).empty());

  // The same bytes as a build whose sources stay put.
  BuildSources steady;
  FolderSources steady_sources(steady.dir.path(), steady.ctx.nome, steady.ctx.treno);
  MemorySink steady_sink;
  memorizza_percorso(steady.ctx, kWriteTrackPlan, steady_sources, steady_sink);
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
    memorizza_percorso(build.ctx, kWriteTrackPlan, sources, sink);
    ADD_FAILURE() << "the compile ended normally";
  } catch (const RunTimeFailure& failure) {
    EXPECT_EQ(std::string(failure.what()),
              "cannot delete '" + build.line_path().string() + "': Operation not permitted");
  }
  EXPECT_TRUE(sink.files.empty());
}

}  // namespace
}  // namespace scenario
