#include "base/file_naming.h"

#include <set>

#include "base/run_time_failure.h"
#include "base/text_case.h"
#include "base/text_encoding.h"

namespace scenario {
namespace {

constexpr std::string_view kLineSourceEnd = "_linea.txt";
constexpr std::string_view kTrainSourceEnd = "-.txt";

// The line source among `nomi` whose NAME is the longest that starts
// `train_file` followed by "_"; none when there is none.
std::optional<std::string> owner_of(std::string_view train_file,
                                    const std::vector<std::string>& nomi) {
  std::optional<std::string> best;
  for (const std::string& nome : nomi) {
    const std::optional<TrainSourceName> split = split_train_source(train_file, nome);
    if (!split || split->nome != nome) continue;
    if (!best || nome.size() > best->size()) best = nome;
  }
  return best;
}

// Why `value` cannot name files; `what` says which it is ("the scenario name").
std::string unusable_identifier(const std::string& what, const std::string& value) {
  if (value.empty()) return what + " is empty";
  if (value.find_first_of("/\\") != std::string::npos) {
    return what + " '" + value + "' holds a path separator; it must name files in one folder";
  }
  if (value == "." || value == "..") return what + " '" + value + "' cannot start a file name";
  std::string refused;
  if (!text_1252_from_native(value, &refused)) {
    return what + " '" + value + "' holds '" + refused +
           "', which Windows-1252, the code page of the compiled files, cannot hold";
  }
  return "";
}

}  // namespace

std::filesystem::path path_from_utf8(std::string_view text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::filesystem::path file_in(const std::filesystem::path& folder, std::string_view name) {
  return folder / path_from_utf8(name);
}

std::string line_source_name(const std::string& nome) { return nome + "_linea.txt"; }

std::string train_source_name(const std::string& nome, const std::string& treno) {
  return nome + "_" + treno + "-.txt";
}

std::string notes_name(const std::string& nome, const std::string& treno) {
  return nome + "_" + treno + "_" + "note.txt";
}

std::string slowdown_order_name(const std::string& nome, const std::string& treno) {
  return nome + "_" + treno + "_" + "rallentamenti.txt";
}

std::string train_sheet_name(const std::string& nome, const std::string& treno) {
  return nome + "_" + treno + "_" + "scheda_treno.txt";
}

std::string track_plan_name(const std::string& nome) { return nome + "_linea.dat"; }

std::string station_table_name(const std::string& nome, const std::string& treno) {
  return nome + "_" + treno + ".sim";
}

std::string route_cells_name(const std::string& nome, const std::string& treno) {
  return nome + "_" + treno + ".dat";
}

std::string report_page_name(const std::string& nome, const std::string& treno) {
  return nome + "_" + treno + "_report.html";
}

std::string train_model_name(const std::string& nome, const std::string& treno) {
  return nome + "_" + treno + "_model.txt";
}

std::string unusable_identifiers(const std::string& nome, const std::string& treno) {
  std::string why = unusable_identifier("the scenario name", nome);
  if (why.empty()) why = unusable_identifier("the train number", treno);
  if (why.empty() && to_lower_1252(treno) == "linea") {
    why = "the train number '" + treno + "' would give the route cells the track plan's name, '" +
          route_cells_name(nome, treno) + "'";
  }
  return why;
}

std::optional<std::string> nome_of_line_source(std::string_view file_name) {
  if (!file_name.ends_with(kLineSourceEnd) || file_name.size() == kLineSourceEnd.size()) {
    return std::nullopt;
  }
  return std::string(file_name.substr(0, file_name.size() - kLineSourceEnd.size()));
}

std::optional<TrainSourceName> split_train_source(std::string_view file_name,
                                                  const std::optional<std::string>& nome) {
  if (!file_name.ends_with(kTrainSourceEnd)) return std::nullopt;
  const std::string_view stem = file_name.substr(0, file_name.size() - kTrainSourceEnd.size());
  if (nome && stem.size() > nome->size() + 1 && stem.starts_with(*nome) &&
      stem[nome->size()] == '_') {
    return TrainSourceName{*nome, std::string(stem.substr(nome->size() + 1))};
  }
  const size_t underscore = stem.rfind('_');
  if (underscore == std::string_view::npos || underscore == 0 || underscore + 1 == stem.size()) {
    return std::nullopt;
  }
  return TrainSourceName{std::string(stem.substr(0, underscore)),
                         std::string(stem.substr(underscore + 1))};
}

std::vector<PairedSources> pair_sources(const std::vector<std::string>& file_names) {
  std::vector<std::string> nomi;
  for (const std::string& file : file_names) {
    if (const std::optional<std::string> nome = nome_of_line_source(file)) nomi.push_back(*nome);
  }
  std::vector<PairedSources> pairs;
  std::set<std::string> paired;
  for (const std::string& file : file_names) {
    if (nome_of_line_source(file)) continue;
    const std::optional<TrainSourceName> split = split_train_source(file, std::nullopt);
    if (!split) continue;
    const std::optional<std::string> owner = owner_of(file, nomi);
    if (!owner) {
      pairs.push_back({"", file, split->nome, split->treno});
      continue;
    }
    paired.insert(*owner);
    pairs.push_back(
        {line_source_name(*owner), file, *owner, split_train_source(file, owner)->treno});
  }
  for (const std::string& nome : nomi) {
    if (!paired.count(nome)) pairs.push_back({line_source_name(nome), "", nome, ""});
  }
  return pairs;
}

std::optional<CompiledFileKind> compiled_file_kind(std::string_view file_name) {
  if (file_name.ends_with("_linea.dat")) return CompiledFileKind::track_plan;
  if (file_name.ends_with(".sim")) return CompiledFileKind::station_table;
  if (file_name.ends_with(".dat")) return CompiledFileKind::route_cells;
  return std::nullopt;
}

}  // namespace scenario
