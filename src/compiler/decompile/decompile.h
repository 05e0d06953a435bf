// From a compiled set back to editable sources: the three files the simulator
// loads turned into a line source and a train source that compile to the same
// bytes. The entry point of the decompiler for `scenarioc decompile` and for
// every command that takes a compiled set in place of the sources.
#pragma once

#include <string>
#include <vector>

#include "compiler/decompile/compiled_set.h"
#include "compiler/decompile/recovered_scenario.h"

namespace scenario {

// One thing the sources do not give back as the set holds it, and the lines
// that show it (the first differences, the errors a compile records).
struct DecompileWarning {
  std::string message;
  std::vector<std::string> details;
};

struct DecompiledScenario {
  // The scenario name and train number of the set's station table, UTF-8.
  std::string nome;
  std::string treno;
  // The two source files' bytes: Windows-1252, CR LF after every line.
  std::string line;
  std::string train;
  // What the sources do not give back as the set holds it, in words: a part
  // left out, a compile of them that records errors or writes other bytes.
  std::vector<DecompileWarning> warnings;
  // Whether compiling the sources gave the set's three files byte for byte
  // (known only after `decompile`).
  bool identical = false;
};

// The records of the set's two sources. Throws RunTimeFailure "FILE: where:
// why" for a set that no compile writes; `notes` receives what is left out.
RecoveredScenario recover_scenario(const DecodedSet& set, std::vector<std::string>& notes);

// The sources, without compiling them: for a command that compiles them
// itself. Throws as recover_scenario does.
DecompiledScenario decompile_sources(const CompiledSet& files);
DecompiledScenario sources_of(const DecodedSet& set);

// The sources, compiled in memory and compared with the set: `identical`
// tells whether they give it back, and the warnings say where they do not and
// which errors their compile records.
DecompiledScenario decompile(const CompiledSet& files);

}  // namespace scenario
