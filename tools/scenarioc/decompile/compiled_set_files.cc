#include "scenarioc/decompile/compiled_set_files.h"

#include <algorithm>
#include <system_error>

#include "base/file_naming.h"
#include "base/run_time_failure.h"
#include "compiler/format/binary_layout.h"
#include "scenarioc/command_exit.h"
#include "source/byte_source.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kTrackPlanSuffix = "_linea.dat";

bool ends_with(std::string_view s, std::string_view suffix) {
  return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

std::string file_name(const fs::path& path) { return utf8_of_path(path.filename()); }

// The files of a folder that form sets: NAME_NUMBER.sim with NAME_NUMBER.dat
// beside it and NAME_linea.dat, the longest NAME that fits.
std::vector<CompiledSetPaths> sets_in(const fs::path& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (it->is_regular_file(ec)) names.push_back(file_name(it->path()));
  }
  if (ec) throw RunTimeFailure("cannot read folder '" + folder.string() + "': " + ec.message());
  std::sort(names.begin(), names.end());
  std::vector<CompiledSetPaths> sets;
  for (const std::string& table : names) {
    if (!ends_with(table, ".sim")) continue;
    const std::string stem = table.substr(0, table.size() - 4);
    if (!std::binary_search(names.begin(), names.end(), stem + ".dat")) continue;
    std::string plan;
    for (const std::string& candidate : names) {
      if (!ends_with(candidate, kTrackPlanSuffix)) continue;
      const std::string nome = candidate.substr(0, candidate.size() - kTrackPlanSuffix.size());
      if (stem.rfind(nome + "_", 0) == 0 && candidate.size() > plan.size()) plan = candidate;
    }
    if (plan.empty()) continue;
    sets.push_back({file_in(folder, plan), file_in(folder, table), file_in(folder, stem + ".dat")});
  }
  return sets;
}

// The three files in their slots: by their names when those tell the three
// kinds apart, else in the order given.
CompiledSetPaths paths_of_three(const std::vector<std::string>& files) {
  CompiledSetPaths by_name;
  int plans = 0, tables = 0, cells = 0;
  for (const std::string& file : files) {
    const fs::path path = path_from_utf8(file);
    const std::string name = file_name(path);
    if (ends_with(name, kTrackPlanSuffix)) {
      by_name.track_plan = path;
      ++plans;
    } else if (ends_with(name, ".sim")) {
      by_name.station_table = path;
      ++tables;
    } else if (ends_with(name, ".dat")) {
      by_name.route_cells = path;
      ++cells;
    }
  }
  if (plans == 1 && tables == 1 && cells == 1) return by_name;
  return {path_from_utf8(files[0]), path_from_utf8(files[1]), path_from_utf8(files[2])};
}

fs::path folder_of(const fs::path& file) {
  const fs::path folder = file.parent_path();
  return folder.empty() ? fs::path(".") : folder;
}

// Decompiled sources in memory under the names of the files they stand for,
// which the diagnostics quote; kept when the compile would delete them.
class DecompiledSources : public MemorySources {
 public:
  DecompiledSources(const DecompiledScenario& sources, const ScenarioFiles& names)
      : MemorySources(sources.line, sources.train),
        line_name_(utf8_of_path(names.line_file)),
        train_name_(utf8_of_path(names.train_file)) {}
  void remove(SourceFile) override {}
  std::string display_name(SourceFile which) const override {
    return which == SourceFile::line ? line_name_ : train_name_;
  }

 private:
  std::string line_name_;
  std::string train_name_;
};

}  // namespace

bool names_compiled_set(const std::vector<std::string>& files) {
  if (files.size() == 3) return true;
  std::error_code ec;
  return files.size() == 1 && fs::is_directory(path_from_utf8(files[0]), ec);
}

std::optional<CompiledSetPaths> compiled_set_paths(const std::vector<std::string>& files,
                                                   std::string& error) {
  if (files.size() == 3) return paths_of_three(files);
  if (files.size() != 1) {
    error = "a compiled set is three files, TRACK_PLAN STATION_TABLE CELLS, or a folder";
    return std::nullopt;
  }
  const fs::path folder = path_from_utf8(files[0]);
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) {
    error = (fs::exists(folder, ec) ? "'" + files[0] + "' is not a folder"
                                    : "there is no folder '" + files[0] + "'") +
            "; a compiled set is three files, TRACK_PLAN STATION_TABLE CELLS, or a folder "
            "holding them";
    return std::nullopt;
  }
  const std::vector<CompiledSetPaths> sets = sets_in(folder);
  if (sets.size() == 1) return sets[0];
  if (sets.empty()) {
    error = "no compiled set in '" + files[0] +
            "': no NAME_linea.dat with NAME_NUMBER.sim and NAME_NUMBER.dat beside it";
    return std::nullopt;
  }
  error = "'" + files[0] + "' holds " + std::to_string(sets.size()) + " compiled sets (";
  for (size_t i = 0; i < sets.size(); ++i) {
    error += (i > 0 ? ", " : "") + file_name(sets[i].station_table);
  }
  error += "); give the three files of one";
  return std::nullopt;
}

CompiledSet CompiledSetBytes::set() const {
  CompiledSet s;
  s.track_plan = track_plan;
  s.station_table = station_table;
  s.route_cells = route_cells;
  s.track_plan_name = track_plan_name;
  s.station_table_name = station_table_name;
  s.route_cells_name = route_cells_name;
  return s;
}

CompiledSetBytes read_compiled_set(const CompiledSetPaths& paths) {
  CompiledSetBytes bytes;
  bytes.track_plan = read_file_up_to(paths.track_plan, track_layout::kMaxFileSize);
  bytes.station_table = read_file_up_to(paths.station_table, station_layout::kMaxFileSize);
  bytes.route_cells = read_file_up_to(paths.route_cells, cell_layout::kMaxFileSize);
  bytes.track_plan_name = utf8_of_path(paths.track_plan);
  bytes.station_table_name = utf8_of_path(paths.station_table);
  bytes.route_cells_name = utf8_of_path(paths.route_cells);
  return bytes;
}

Identifiers decompiled_identifiers(const CommandLine& line, const DecompiledScenario& sources) {
  const Identifiers ids{line.name.value_or(sources.nome), line.train.value_or(sources.treno)};
  const std::string why = unusable_identifiers(ids.nome, ids.treno);
  if (why.empty()) return ids;
  if (line.name || line.train) throw UsageFailure(why);
  throw UsageFailure(why + " (the station table's own; give others with --name NAME and --train " +
                     "NUMBER)");
}

CompiledSetScenario compiled_set_scenario(const CommandLine& line, CompileOptions options) {
  std::string error;
  std::optional<CompiledSetPaths> paths = compiled_set_paths(line.files, error);
  if (!paths) throw UsageFailure(error);
  const DecompiledScenario decompiled = decompile_sources(read_compiled_set(*paths).set());
  const Identifiers ids = decompiled_identifiers(line, decompiled);
  const fs::path folder = folder_of(paths->station_table);
  const ScenarioFiles scenario{file_in(folder, line_source_name(ids.nome)),
                               file_in(folder, train_source_name(ids.nome, ids.treno)), ids.nome,
                               ids.treno};
  auto texts = std::make_unique<DecompiledSources>(decompiled, scenario);
  auto compiled = std::make_unique<AuthorCompile>(scenario, std::move(texts), options);
  return {std::move(*paths), scenario, decompiled.warnings, std::move(compiled)};
}

}  // namespace scenario
