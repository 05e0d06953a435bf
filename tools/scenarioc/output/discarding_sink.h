// Where a compile that only wants the build context puts the compiled files:
// nowhere. The report is drawn from the context and the check reads its
// diagnostics, so the files are neither kept nor encoded (the track plan alone
// is 5 MB for the built-in route, 20 MB for the longest, and is not even traced).
#pragma once

#include <string>

#include "compiler/compiled_file_sink.h"

namespace scenario {

class DiscardingSink : public CompiledFileSink {
 public:
  using CompiledFileSink::write_file;
  void write_file(const std::string&, const ContentWriter&) override {}
  void write_file(const std::string&, const PlacedContent&) override {}
};

}  // namespace scenario
