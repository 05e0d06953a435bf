// An author's scenario as the tool compiles it: its two sources, files on
// disk or the editor's texts, under its name and train number, and the
// compilation made of them. Every command that compiles goes through it.
#pragma once

#include <filesystem>
#include <memory>

#include "compiler/compile.h"
#include "compiler/source_files.h"
#include "scenarioc/output/compile_report.h"
#include "scenarioc/output/source_excerpt.h"
#include "scenarioc/scenario_inputs.h"

namespace scenario {

class AuthorCompile {
 public:
  // The two files of `scenario`, both opened at once: throws RunTimeFailure
  // naming one that cannot be read. A missing line file is left to the
  // compile (error 101). Unless `options` name a train model, the timetable
  // is judged with the scenario's (train_model_of), which throws as well.
  explicit AuthorCompile(const ScenarioFiles& scenario, CompileOptions options = {});
  // The scenario read from `texts`, such as the editor's texts, with the
  // train model of `options` alone.
  AuthorCompile(const ScenarioFiles& scenario, std::unique_ptr<SourceFiles> texts,
                CompileOptions options = {});
  AuthorCompile(const AuthorCompile&) = delete;
  AuthorCompile& operator=(const AuthorCompile&) = delete;

  // Compiles, the compiled files into `sink`. Throws RunTimeFailure when one
  // cannot be written; what was recorded until then stays.
  void compile(CompiledFileSink& sink);
  // Compiles and writes no file, for what needs only the records and their trail.
  void compile();
  // Whether a compile has begun: from then on the records are its, even
  // when writing a file failed.
  bool has_compiled() const { return has_compiled_; }

  const Compilation& compilation() const { return compilation_; }
  // The files, name and train number it was made for.
  const ScenarioFiles& scenario() const { return scenario_; }
  SourceFiles& sources() { return *sources_; }
  const SourceFiles& sources() const { return *sources_; }
  // The source lines that the diagnostics quote, each file read once.
  SourceLines& lines() { return lines_; }
  // The compile as the diagnostics tell it, its files written into `out_dir`.
  CompileOutcome outcome(const std::filesystem::path& out_dir = {}) const {
    return {compilation_, compilation_.result, *sources_, out_dir};
  }

 private:
  ScenarioFiles scenario_;
  std::unique_ptr<SourceFiles> sources_;
  SourceLines lines_;
  Compilation compilation_;
  bool has_compiled_ = false;
};

}  // namespace scenario
