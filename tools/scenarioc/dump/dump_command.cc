#include "scenarioc/dump/dump_command.h"

#include <algorithm>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "base/file_naming.h"
#include "base/replace_file.h"
#include "base/run_time_failure.h"
#include "compiler/format/binary_layout.h"
#include "compiler/format/compiled_file_decoder.h"
#include "scenarioc/command_exit.h"
#include "scenarioc/dump/dump_text.h"
#include "scenarioc/folder_access.h"
#include "source/byte_source.h"

namespace scenario {
namespace {

std::optional<CompiledFileKind> kind_from_flag(const std::string& kind) {
  if (kind == "track") return CompiledFileKind::track_plan;
  if (kind == "stations") return CompiledFileKind::station_table;
  if (kind == "cells") return CompiledFileKind::route_cells;
  return std::nullopt;
}

// The largest file of the kind that the compiler writes.
std::size_t largest_file(CompiledFileKind kind) {
  switch (kind) {
    case CompiledFileKind::track_plan:
      return track_layout::kMaxFileSize;
    case CompiledFileKind::station_table:
      return station_layout::kMaxFileSize;
    case CompiledFileKind::route_cells:
      break;
  }
  return cell_layout::kMaxFileSize;
}

// Empty when the options fit the kind.
std::string options_misfit(const CommandLine& line, CompiledFileKind kind) {
  if (line.points && kind != CompiledFileKind::track_plan) {
    return "--points applies to a track plan only";
  }
  if (line.all && kind != CompiledFileKind::route_cells) return "--all applies to route cells only";
  return "";
}

// The station table that belongs to route cells NAME_NUMBER.dat:
// NAME_NUMBER.sim beside them, when it is there and sound.
std::optional<Tabella> station_table_beside(const std::string& cells_file) {
  std::filesystem::path sim = cells_file;
  sim.replace_extension(".sim");
  if (!file_exists(sim)) return std::nullopt;
  try {
    return decode_station_table(read_file_up_to(sim, station_layout::kMaxFileSize));
  } catch (const RunTimeFailure&) {
    return std::nullopt;
  }
}

std::filesystem::path folder_of(const std::filesystem::path& file) {
  const std::filesystem::path folder = file.parent_path();
  return folder.empty() ? std::filesystem::path(".") : folder;
}

std::string render(CompiledFileKind kind, std::string_view bytes, DumpView view) {
  switch (kind) {
    case CompiledFileKind::track_plan:
      return dump_track_plan(decode_track_plan(bytes), view);
    case CompiledFileKind::station_table:
      return dump_station_table(decode_station_table(bytes), view);
    case CompiledFileKind::route_cells:
      break;
  }
  const std::vector<cella> cells = decode_route_cells(bytes);
  const std::optional<Tabella> stations =
      view.json ? std::nullopt : station_table_beside(view.file);
  if (stations) view.stations = &*stations;
  return dump_route_cells(cells, view);
}

}  // namespace

int run_dump(const CommandLine& line, std::istream&, std::ostream& out, std::ostream& err) {
  const std::string& file = line.files[0];
  std::optional<CompiledFileKind> kind;
  if (line.kind) {
    kind = kind_from_flag(*line.kind);
    if (!kind) {
      throw UsageFailure("unknown kind '" + *line.kind + "': track, stations or cells");
    }
  } else {
    kind = compiled_file_kind(path_from_utf8(file).filename().string());
    if (!kind) {
      throw UsageFailure("cannot tell the kind of '" + file +
                         "' from its name (NAME_linea.dat, NAME_NUMBER.sim or "
                         "NAME_NUMBER.dat); give --kind track, stations or cells");
    }
  }
  const std::string misfit = options_misfit(line, *kind);
  if (!misfit.empty()) throw UsageFailure(misfit);
  // A set that a killed run left half replaced is made whole before it is read.
  make_set_whole(folder_of(path_from_utf8(file)), told_on(err));
  const std::string bytes = read_file_up_to(path_from_utf8(file), largest_file(*kind));
  try {
    out << render(*kind, bytes, DumpView{file, bytes.size(), line.all, line.json, line.points});
  } catch (const RunTimeFailure& failure) {
    // A failure to read names the file itself; a failure to decode gets it as a prefix.
    throw RunTimeFailure(file + ": " + failure.what());
  }
  return kExitOk;
}

}  // namespace scenario
