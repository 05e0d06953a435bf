#include "compiler/decompile/round_trip.h"

#include <algorithm>
#include <cstring>
#include <map>

#include "base/file_naming.h"
#include "base/text_encoding.h"
#include "compiler/compile.h"
#include "compiler/diagnostics/diagnostics.h"
#include "compiler/format/binary_layout.h"

namespace scenario {
namespace {

constexpr size_t kDifferencesPerFile = 5;

// Sources in memory named as the files a decompile writes, for the diagnostics.
class NamedSources : public MemorySources {
 public:
  NamedSources(const std::string& line, const std::string& train, const std::string& nome,
               const std::string& treno)
      : MemorySources(line, train),
        line_name_(line_source_name(nome)),
        train_name_(train_source_name(nome, treno)) {}
  std::string display_name(SourceFile which) const override {
    return which == SourceFile::line ? line_name_ : train_name_;
  }

 private:
  std::string line_name_;
  std::string train_name_;
};

// Compares each file the compile writes with the set's bytes as its blocks
// arrive, so that the compiled files are never held.
class ComparingSink : public CompiledFileSink {
 public:
  struct Seen {
    bool written = false;
    bool same = true;
  };

  void expect(const std::string& name, std::string_view bytes) { expected_[name] = bytes; }
  const Seen& seen(const std::string& name) { return seen_[name]; }

  using CompiledFileSink::write_file;
  void write_file(const std::string& name, const ContentWriter& content) override {
    Seen& seen = start(name);
    const std::string_view want = expected_[name];
    uint64_t offset = 0;
    content([&](std::string_view block) {
      compare(seen, want, offset, block);
      offset += block.size();
    });
    if (offset != want.size()) seen.same = false;
  }
  void write_file(const std::string& name, const PlacedContent& content) override {
    Seen& seen = start(name);
    const std::string_view want = expected_[name];
    if (content.size != want.size()) {
      seen.same = false;
      return;
    }
    content.write(
        [&](uint64_t offset, std::string_view block) { compare(seen, want, offset, block); });
  }

 private:
  Seen& start(const std::string& name) {
    Seen& seen = seen_[name];
    seen = {true, true};
    return seen;
  }
  static void compare(Seen& seen, std::string_view want, uint64_t offset, std::string_view block) {
    if (!seen.same) return;
    if (offset > want.size() || want.size() - offset < block.size() ||
        std::memcmp(want.data() + offset, block.data(), block.size()) != 0) {
      seen.same = false;
    }
  }

  std::map<std::string, std::string_view> expected_;
  std::map<std::string, Seen> seen_;
};

std::string str(int64_t v) { return std::to_string(v); }

// The fields of `fields` in which `want` and `got` differ, as words.
template <typename Fields, typename Record>
void field_differences(const Fields& fields, const std::string& where, const Record& want,
                       const Record& got, std::vector<std::string>& out, size_t& left) {
  for_each_field(fields, [&](const auto& field) {
    if (left == 0) return;
    if constexpr (is_text_field<decltype(field)>) {
      if (field.text(want) == field.text(got)) return;
      out.push_back(where + ": testo \"" + printable_from_1252(field.text(want)) +
                    "\" in the set, \"" + printable_from_1252(field.text(got)) +
                    "\" from the sources");
    } else {
      if (field.value(want) == field.value(got)) return;
      out.push_back(where + ": " + std::string(field.name) + " " + str(field.value(want)) +
                    " in the set, " + str(field.value(got)) + " from the sources");
    }
    --left;
  });
}

void cell_differences(const DecodedSet& set, const CompiledRecords& compiled,
                      std::vector<std::string>& out) {
  if (compiled.percorso.size() != set.percorso.size()) {
    out.push_back(set.files.route_cells_name + ": " + str(set.last_cell() + 1) +
                  " cells in the set, " + str(static_cast<int64_t>(compiled.percorso.size())) +
                  " from the sources");
    return;
  }
  size_t left = kDifferencesPerFile;
  for (size_t c = 0; c < compiled.percorso.size() && left > 0; ++c) {
    field_differences(cell_layout::kFields,
                      set.files.route_cells_name + ": " + cell_name(static_cast<int64_t>(c)),
                      set.percorso[c], compiled.percorso[c], out, left);
  }
}

void table_differences(const DecodedSet& set, const CompiledRecords& compiled,
                       std::vector<std::string>& out) {
  size_t left = kDifferencesPerFile;
  for (int k = 0; k < kTableEntries && left > 0; ++k) {
    const std::string where = set.files.station_table_name + ": record " + str(k);
    field_differences(station_layout::kHeadFields, where, set.tabella[k], compiled.tabella[k], out,
                      left);
    field_differences(std::tuple{station_layout::testo}, where, set.tabella[k], compiled.tabella[k],
                      out, left);
    field_differences(station_layout::kTailFields, where, set.tabella[k], compiled.tabella[k], out,
                      left);
  }
}

void plan_differences(const DecodedSet& set, const CompiledRecords& compiled,
                      std::vector<std::string>& out) {
  const int32_t want = set.plan.traced() ? set.plan.last_traced_metre() : -1;
  const int32_t got = compiled.tracciato.exists() ? compiled.tracciato.last_traced_metre() : -1;
  if (want != got) {
    out.push_back(set.files.track_plan_name + ": traced to metre " + str(want) +
                  " in the set, to metre " + str(got) +
                  " from the sources (a compile that stops on an error leaves the rest of the "
                  "plan empty)");
  } else {
    out.push_back(set.files.track_plan_name + ": the traced metres differ");
  }
}

}  // namespace

std::string set_nome(const DecodedSet& set) {
  return utf8_from_1252(set.tabella[kEntryScenario].testo);
}
std::string set_treno(const DecodedSet& set) {
  return utf8_from_1252(set.tabella[kEntrySignals].testo);
}

RoundTrip compile_and_compare(const DecodedSet& set, const std::string& line,
                              const std::string& train) {
  Compilation compiled(BuildIdentity{set_nome(set), set_treno(set), {}});
  NamedSources sources(line, train, compiled.nome, compiled.treno);
  ComparingSink sink;
  const std::string plan_name = track_plan_name(compiled.nome);
  const std::string table_name = station_table_name(compiled.nome, compiled.treno);
  const std::string cells_name = route_cells_name(compiled.nome, compiled.treno);
  sink.expect(plan_name, set.files.track_plan);
  sink.expect(table_name, set.files.station_table);
  sink.expect(cells_name, set.files.route_cells);
  compile(compiled, sources, sink);
  const CompileResult& result = compiled.result;

  RoundTrip trip;
  for (const Recording& r : compiled.trail.recordings)
    trip.errors.push_back(format_diagnostic(r, sources));
  if (result.fatal_error != 0) {
    trip.differences.push_back("the sources compile to no files: fatal error " +
                               str(result.fatal_error));
    return trip;
  }
  if (result.cell_row_missing) {
    trip.differences.push_back("the sources compile to no files: " +
                               cell_row_missing_reason(compiled));
    return trip;
  }
  const bool plan_same = sink.seen(plan_name).written && sink.seen(plan_name).same;
  const bool table_same = sink.seen(table_name).written && sink.seen(table_name).same;
  const bool cells_same = sink.seen(cells_name).written && sink.seen(cells_name).same;
  trip.identical = plan_same && table_same && cells_same;
  if (!plan_same) plan_differences(set, compiled, trip.differences);
  if (!table_same) table_differences(set, compiled, trip.differences);
  if (!cells_same) cell_differences(set, compiled, trip.differences);
  return trip;
}

}  // namespace scenario
