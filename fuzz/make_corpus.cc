// Writes the seed corpus of the two fuzz targets: the built-in scenario, a
// small scenario and variants of it for the compile target (line source, "%%",
// train source), and small compiled files for the decode target. Usage:
//   make_corpus CORPUS_DIR [FIXTURES_DIR]
// Pairs of fixture files NAME_linea.txt and NAME_TRAIN-.txt found under
// FIXTURES_DIR become compile seeds too.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "compiler/compile_step.h"
#include "compiler/compiled_files.h"
#include "compiler/track_plan.h"
#include "source/builtin_line.h"
#include "source/builtin_train.h"
#include "source/text_writer.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;

const Righe kSmallLine = {
    "[generale]",
    "lunghezza percorso,    10000",
    "progressiva chilometrica uno,    0,    350000,    1",
    "progressiva chilometrica due,    0,    0,    0",
    "progressiva chilometrica tre,    0,    0,    0",
    "sfondo uno,    1",
    "sfondo due,    0",
    "sfondo tre,    0",
    "ripetizione segnali 4 codici,    1650,    9000",
    "[curve]",
    "curvas3, 1750, 600",
    "curvad5, 3000, 200",
    "[pendenze]",
    "pendenza,     0,   0",
    "pendenza,  5000,  -8",
    "pendenza,  7000,   0",
    "[montagne]",
    "montagna,   3000,  4500,  11",
    "montagna,   4600,  5000,  2",
    "[cartelli]",
    "indicatori_vmax,  700,  100,  110,  115,  2,  ,  ,  ,  0",
    "",
    "[indicazioni]",
    "- a comment line",
    "cartello_indicatore,  4400, (Km 345+557)",
    "[fine]",
};

const Righe kSmallTrain = {
    "[generale]",
    "numero vetture,    14",
    "percentuale massa frenata,    130",
    "sabbia,    200",
    "orologio,    10              32            40 ",
    "[aderenze]",
    "aderenza,    0,  100",
    "aderenza, 6000,   80",
    "[vel_limite]",
    "velocita,     0,  115",
    "velocita,  1950,  160",
    "[stazioni]",
    "stazione,       0,  8,  500,  0, 0, 0,  1,1,0,  4,1,1,    1,  10,33, 0, ORIGINE",
    "stazione,    3500,  5,  300,  0, 0, 0,  1,1,0,  4,1,1,    0,   0, 0, 0, FERMATA",
    "stazione,    6900, 12,  600,  0, 0, 1,  1,1,0,  4,1,1,   45,  10,40, 0, ALTRA-STAZIONE",
    "stazione,    8000, 28,  200,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, BIVIO",
    "[rallentamenti]",
    "rallentamento,  5500,  60,  400,  1,  1,  0",
    "[segnali]",
    "segnale,    1650,   2, 4, 0,  0, 0,    2,  1,0,0, 0",
    "segnale,    4900,   2, 4, 0,  0, 0,    2,  1,0,0, 30",
    "[codici]",
    "abbattimento,  6200,  120",
    "[fine]",
};

// Replaces the first line that starts with `prefix`.
Righe with_line(Righe righe, const std::string& prefix, const std::string& line) {
  for (std::string& riga : righe) {
    if (riga.rfind(prefix, 0) == 0) {
      riga = line;
      break;
    }
  }
  return righe;
}

std::string compile_input(const Righe& line, const Righe& train) {
  return text_file_bytes(line) + "%%" + text_file_bytes(train);
}

std::string without_final_line_end(std::string text) {
  text.resize(text.size() - 2);
  return text;
}

void write(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

std::map<std::string, std::string> compile_seeds() {
  const Righe line = builtin_line_source();
  const Righe train = builtin_train_source();
  std::map<std::string, std::string> seeds = {
      {"builtin", compile_input(line, train)},
      {"builtin_line_only", text_file_bytes(line)},
      {"small", compile_input(kSmallLine, kSmallTrain)},
      {"small_no_final_line_end", without_final_line_end(compile_input(kSmallLine, kSmallTrain))},
      {"route_1000000",
       compile_input(with_line(kSmallLine, "lunghezza", "lunghezza percorso, 1000000"),
                     kSmallTrain)},
      {"route_beyond_limit",
       compile_input(with_line(kSmallLine, "lunghezza", "lunghezza percorso, 1000001"),
                     kSmallTrain)},
      {"no_general_part", "lunghezza percorso, 1000\r\n%%[generale]\r\n"},
      {"object_beyond_row",
       compile_input(with_line(kSmallLine, "pendenza,  7000", "pendenza,  16950, 3"), kSmallTrain)},
      {"signal_on_station_mark",
       compile_input(kSmallLine, with_line(kSmallTrain, "segnale,    4900",
                                           "segnale,    7250,   2, 4, 0,  0, 0,    2,  1,0,0, 0"))},
      {"value_out_of_range",
       compile_input(kSmallLine, with_line(kSmallTrain, "sabbia", "sabbia, 40000"))},
      {"curve_without_class",
       compile_input(with_line(kSmallLine, "curvad5", "curvad7, 3000, 200"), kSmallTrain)},
      {"header_cell_taken",
       compile_input(kSmallLine, with_line(kSmallTrain, "abbattimento", "abbattimento, 50, 120"))},
  };
  return seeds;
}

// NAME_linea.txt with every NAME_TRAIN-.txt beside it.
void add_fixture_seeds(const fs::path& fixtures, std::map<std::string, std::string>& seeds) {
  if (fixtures.empty() || !fs::is_directory(fixtures)) return;
  for (const auto& entry : fs::recursive_directory_iterator(fixtures)) {
    const std::string name = entry.path().filename().string();
    const std::string suffix = "_linea.txt";
    if (name.size() <= suffix.size() ||
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
      continue;
    const std::string nome = name.substr(0, name.size() - suffix.size());
    for (const auto& other : fs::directory_iterator(entry.path().parent_path())) {
      const std::string train = other.path().filename().string();
      if (train.rfind(nome + "_", 0) != 0 || train.size() < 6 ||
          train.compare(train.size() - 5, 5, "-.txt") != 0)
        continue;
      std::ifstream l(entry.path(), std::ios::binary), t(other.path(), std::ios::binary);
      const std::string bytes = std::string(std::istreambuf_iterator<char>(l), {}) + "%%" +
                                std::string(std::istreambuf_iterator<char>(t), {});
      const std::string key = fs::relative(entry.path().parent_path(), fixtures).string();
      seeds["fixture_" + (key == "." ? nome : key)] = bytes;
    }
  }
}

// A track plan of 21 metres with every kind of element, as the decoder reads it.
std::string small_track_plan() {
  Tracciato plan;
  plan.create(20);
  plan.set_int16(0, 0, 0);
  plan.set_int16(0, 1, 0);
  plan.set_int16(1, 0, 0);
  plan.set_int16(1, 1, 1);
  for (int32_t m = 2; m <= 18; ++m) {
    plan.set_real(m, 0, 0.0001 * m * m);
    plan.set_real(m, 1, m - 1.0);
  }
  return encode_track_plan(plan);
}

std::map<std::string, std::string> decode_seeds() {
  BuildContext ctx;
  ctx.nome = "Prova";
  ctx.treno = "1";
  MemorySources sources(text_file_bytes(kSmallLine), text_file_bytes(kSmallTrain));
  MemorySink sink;
  memorizza_percorso(ctx, 0, sources, sink);
  const std::string track = small_track_plan();
  const std::string table = sink.files.at("Prova_1.sim");
  const std::string cells = sink.files.at("Prova_1.dat");
  return {
      {"track_plan", track},    {"track_plan_cut", track.substr(0, track.size() - 3)},
      {"station_table", table}, {"station_table_cut", table.substr(0, table.size() / 2)},
      {"route_cells", cells},   {"route_cells_cut", cells.substr(0, cells.size() - 7)},
  };
}

int run(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::cerr << "usage: make_corpus CORPUS_DIR [FIXTURES_DIR]\n";
    return 2;
  }
  const fs::path corpus = argv[1];
  std::map<std::string, std::string> compile = compile_seeds();
  add_fixture_seeds(argc == 3 ? fs::path(argv[2]) : fs::path(), compile);
  const std::map<std::string, std::map<std::string, std::string>> targets = {
      {"compile", compile}, {"decode", decode_seeds()}};
  for (const auto& [target, seeds] : targets) {
    fs::create_directories(corpus / target);
    for (const auto& [name, bytes] : seeds) write(corpus / target / name, bytes);
  }
  return 0;
}

}  // namespace
}  // namespace scenario

int main(int argc, char** argv) { return scenario::run(argc, argv); }
