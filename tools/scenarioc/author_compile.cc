#include "scenarioc/author_compile.h"

#include <utility>

#include "scenarioc/output/discarding_sink.h"
#include "scenarioc/timetable/train_model_files.h"

namespace scenario {
namespace {

std::unique_ptr<SourceFiles> opened_files(const ScenarioFiles& scenario) {
  auto files = std::make_unique<AuthorSources>(scenario.line_file, scenario.train_file);
  check_sources(*files);
  return files;
}

// The options with the scenario's train model, unless they name one already.
CompileOptions with_train_model(const ScenarioFiles& scenario, CompileOptions options) {
  if (!options.timetable) options.timetable = train_model_of(scenario);
  return options;
}

}  // namespace

AuthorCompile::AuthorCompile(const ScenarioFiles& scenario, CompileOptions options)
    : AuthorCompile(scenario, opened_files(scenario), with_train_model(scenario, options)) {}

AuthorCompile::AuthorCompile(const ScenarioFiles& scenario, std::unique_ptr<SourceFiles> texts,
                             CompileOptions options)
    : scenario_(scenario),
      sources_(std::move(texts)),
      lines_(*sources_),
      compilation_(BuildIdentity{scenario.nome, scenario.treno, {}}, options) {}

void AuthorCompile::compile(CompiledFileSink& sink) {
  has_compiled_ = true;
  scenario::compile(compilation_, *sources_, sink);
}

void AuthorCompile::compile() {
  DiscardingSink nowhere;
  compile(nowhere);
}

}  // namespace scenario
