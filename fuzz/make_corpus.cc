// Writes the seed corpus of the fuzz targets: the built-in scenario, a small
// scenario and variants of it for the compile target (line source, "%%",
// train source), small compiled files for the decode target and compiled sets
// for the decompile target. Usage:
//   make_corpus CORPUS_DIR FIXTURES_DIR
// The small scenario grows from the fixture "clean"; every pair of fixture
// files NAME_linea.txt and NAME_TRAIN-.txt under FIXTURES_DIR becomes a
// compile seed too.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "compiler/compile.h"
#include "compiler/format/compiled_files.h"
#include "compiler/plan/track_plan.h"
#include "source/builtin_line.h"
#include "source/builtin_train.h"
#include "source/text_writer.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;

// The lines of a text file written with CR LF after each.
Righe read_lines(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  const std::string text(std::istreambuf_iterator<char>(in), {});
  Righe righe;
  for (size_t start = 0; start < text.size();) {
    const size_t end = text.find("\r\n", start);
    if (end == std::string::npos) throw std::runtime_error(path.string() + ": no CR LF at the end");
    righe.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return righe;
}

// The index of the first line that starts with `prefix`.
size_t line_starting(const Righe& righe, const std::string& prefix) {
  for (size_t i = 0; i < righe.size(); ++i) {
    if (righe[i].rfind(prefix, 0) == 0) return i;
  }
  throw std::runtime_error("no line starts with '" + prefix + "'");
}

// Replaces the first line that starts with `prefix`.
Righe with_line(Righe righe, const std::string& prefix, const std::string& line) {
  righe[line_starting(righe, prefix)] = line;
  return righe;
}

// Inserts `line` after the first line that starts with `prefix`.
Righe after_line(Righe righe, const std::string& prefix, const std::string& line) {
  const auto at = static_cast<std::ptrdiff_t>(line_starting(righe, prefix)) + 1;
  righe.insert(righe.begin() + at, line);
  return righe;
}

// The tests' small scenario (the fixture "clean") with more for the fuzzer to
// start from: a right curve, a mountain without tunnel lights, a board with
// its right side empty and a comment line.
Righe small_line(const fs::path& fixtures) {
  Righe righe = read_lines(fixtures / "clean" / "Prova_linea.txt");
  righe = after_line(righe, "curvas3", "curvad5, 3000, 200");
  righe = after_line(righe, "montagna", "montagna,   4600,  5000,  2");
  righe = with_line(righe, "indicatori_vmax",
                    "indicatori_vmax,  700,  100,  110,  115,  2,  ,  ,  ,  0");
  return after_line(righe, "[indicazioni]", "- a comment line");
}

// Its train: a second adhesion, stations with other kinds of zone, a slowdown
// with countdown markers, a signal with a time and an abbattimento.
Righe small_train(const fs::path& fixtures) {
  Righe righe = read_lines(fixtures / "clean" / "Prova_1-.txt");
  righe = after_line(righe, "aderenza", "aderenza, 6000,   80");
  righe =
      after_line(righe, "stazione,       0",
                 "stazione,    3500,  5,  300,  0, 0, 0,  1,1,0,  4,1,1,    0,   0, 0, 0, FERMATA");
  righe = with_line(
      righe, "stazione,    6900",
      "stazione,    6900, 12,  600,  0, 0, 1,  1,1,0,  4,1,1,   45,  10,40, 0, ALTRA-STAZIONE");
  righe =
      after_line(righe, "stazione,    6900",
                 "stazione,    8000, 28,  200,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, BIVIO");
  righe = after_line(righe, "[rallentamenti]", "rallentamento,  5500,  60,  400,  1,  1,  0");
  righe =
      after_line(righe, "segnale,    1650", "segnale,    4900,   2, 4, 0,  0, 0,    2,  1,0,0, 30");
  return after_line(righe, "[codici]", "abbattimento,  6200,  120");
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

std::map<std::string, std::string> compile_seeds(const fs::path& fixtures) {
  const Righe line = builtin_line_source();
  const Righe train = builtin_train_source();
  const Righe small_l = small_line(fixtures);
  const Righe small_t = small_train(fixtures);
  std::map<std::string, std::string> seeds = {
      {"builtin", compile_input(line, train)},
      {"builtin_line_only", text_file_bytes(line)},
      {"small", compile_input(small_l, small_t)},
      {"small_no_final_line_end", without_final_line_end(compile_input(small_l, small_t))},
      {"route_1000000",
       compile_input(with_line(small_l, "lunghezza", "lunghezza percorso, 1000000"), small_t)},
      {"route_beyond_limit",
       compile_input(with_line(small_l, "lunghezza", "lunghezza percorso, 1000001"), small_t)},
      {"no_general_part", "lunghezza percorso, 1000\r\n%%[generale]\r\n"},
      {"object_beyond_row",
       compile_input(with_line(small_l, "pendenza,  7000", "pendenza,  16950, 3"), small_t)},
      {"signal_on_station_mark",
       compile_input(small_l, with_line(small_t, "segnale,    4900",
                                        "segnale,    7250,   2, 4, 0,  0, 0,    2,  1,0,0, 0"))},
      {"value_out_of_range", compile_input(small_l, with_line(small_t, "sabbia", "sabbia, 40000"))},
      {"curve_without_class",
       compile_input(with_line(small_l, "curvad5", "curvad7, 3000, 200"), small_t)},
      {"header_cell_taken",
       compile_input(small_l, with_line(small_t, "abbattimento", "abbattimento, 50, 120"))},
  };
  return seeds;
}

// NAME_linea.txt with every NAME_TRAIN-.txt beside it.
void add_fixture_seeds(const fs::path& fixtures, std::map<std::string, std::string>& seeds) {
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

std::map<std::string, std::string> decode_seeds(const fs::path& fixtures) {
  Compilation compiled(BuildIdentity{"Prova", "1", {}}, {.track_plan = false});
  MemorySources sources(text_file_bytes(small_line(fixtures)),
                        text_file_bytes(small_train(fixtures)));
  MemorySink sink;
  compile(compiled, sources, sink);
  const std::string track = small_track_plan();
  const std::string table = sink.files.at("Prova_1.sim");
  const std::string cells = sink.files.at("Prova_1.dat");
  return {
      {"track_plan", track},    {"track_plan_cut", track.substr(0, track.size() - 3)},
      {"station_table", table}, {"station_table_cut", table.substr(0, table.size() / 2)},
      {"route_cells", cells},   {"route_cells_cut", cells.substr(0, cells.size() - 7)},
  };
}

// A seed of the decompile target: the plan after its length (FFFFFFFF: a
// straight plan the target makes from the route length), the table after
// its length, the cells.
std::string decompile_input(const std::string* plan, const std::string& table,
                            const std::string& cells) {
  const auto length = [](uint32_t n) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((n >> (8 * i)) & 0xFF);
    return bytes;
  };
  return (plan ? length(static_cast<uint32_t>(plan->size())) + *plan : length(0xFFFFFFFF)) +
         length(static_cast<uint32_t>(table.size())) + table + cells;
}

// The compiled files of two sources, named "plan", "table" and "cells".
std::map<std::string, std::string> compiled(const Righe& line, const Righe& train) {
  Compilation compilation(BuildIdentity{"Prova", "1", {}});
  MemorySources sources(text_file_bytes(line), text_file_bytes(train));
  MemorySink sink;
  compile(compilation, sources, sink);
  return {{"plan", sink.files.at("Prova_linea.dat")},
          {"table", sink.files.at("Prova_1.sim")},
          {"cells", sink.files.at("Prova_1.dat")}};
}

std::map<std::string, std::string> decompile_seeds(const fs::path& fixtures) {
  auto small = compiled(small_line(fixtures), small_train(fixtures));
  auto builtin = compiled(builtin_line_source(), builtin_train_source());
  auto too_close = compiled(read_lines(fixtures / "stations_too_close" / "Prova_linea.txt"),
                            read_lines(fixtures / "stations_too_close" / "Prova_1-.txt"));
  // A short route: its whole plan fits a seed of a few kilobytes.
  auto short_route =
      compiled(with_line(small_line(fixtures), "lunghezza", "lunghezza percorso, -6000"), Righe{});
  return {
      {"small", decompile_input(nullptr, small["table"], small["cells"])},
      {"builtin", decompile_input(nullptr, builtin["table"], builtin["cells"])},
      {"stations_too_close", decompile_input(nullptr, too_close["table"], too_close["cells"])},
      {"short_route",
       decompile_input(&short_route["plan"], short_route["table"], short_route["cells"])},
  };
}

int run(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: make_corpus CORPUS_DIR FIXTURES_DIR\n";
    return 2;
  }
  const fs::path corpus = argv[1];
  const fs::path fixtures = argv[2];
  std::map<std::string, std::string> compile = compile_seeds(fixtures);
  add_fixture_seeds(fixtures, compile);
  const std::map<std::string, std::map<std::string, std::string>> targets = {
      {"compile", compile},
      {"decode", decode_seeds(fixtures)},
      {"decompile", decompile_seeds(fixtures)}};
  for (const auto& [target, seeds] : targets) {
    fs::create_directories(corpus / target);
    for (const auto& [name, bytes] : seeds) write(corpus / target / name, bytes);
  }
  return 0;
}

}  // namespace
}  // namespace scenario

int main(int argc, char** argv) {
  try {
    return scenario::run(argc, argv);
  } catch (const std::exception& failure) {
    std::cerr << "make_corpus: " << failure.what() << "\n";
    return 1;
  }
}
