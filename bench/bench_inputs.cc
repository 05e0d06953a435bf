#include "bench_inputs.h"

#include <cstdlib>
#include <string>
#include <system_error>
#include <vector>

#include "base/run_time_failure.h"
#include "source/builtin_line.h"
#include "source/builtin_train.h"
#include "source/text_writer.h"

namespace scenario::bench {
namespace {

constexpr int32_t kCurveSpacing = 2000;
constexpr int32_t kCurveLength = 600;
constexpr int32_t kGradientSpacing = 5000;
constexpr int32_t kSpeedSpacing = 10000;
constexpr int32_t kFirstStation = 3500;
constexpr int32_t kStationSpacing = 14000;
constexpr int32_t kFirstSignal = 1650;
constexpr int32_t kSignalSpacing = 2000;
constexpr int32_t kFirstSlowdown = 60000;
constexpr int32_t kSlowdownSpacing = 100000;

void add_line(std::string& text, const std::string& line) {
  text += line;
  text += "\r\n";
}

// Right-aligns a number in a column of `width`, as the writer lays out values.
std::string column(int64_t value, std::size_t width) {
  std::string digits = std::to_string(value);
  return std::string(digits.size() < width ? width - digits.size() : 0, ' ') + digits;
}

constexpr int64_t kStretch = 4;

// The route positions of a record, by the index of its field (the keyword is 0).
std::vector<int> positions_of(const std::string& keyword) {
  const auto has = [&keyword](const char* text) { return keyword.find(text) != std::string::npos; };
  if (has("ripetizione") || keyword.rfind("montagna", 0) == 0) return {1, 2};
  for (const char* kind :
       {"curva", "pendenza", "indicatori_vmax", "cartello_indicatore", "aderenza", "velocita",
        "stazione", "rallentamento", "segnale", "abbattimento"}) {
    if (keyword.rfind(kind, 0) == 0) return {1};
  }
  return {};
}

// Every route position of `lines` times four, and the route 1000000 m long.
std::string stretched(const Righe& lines) {
  std::string text;
  for (const std::string& line : lines) {
    std::vector<std::string> fields;
    for (size_t start = 0;;) {
      const size_t comma = line.find(',', start);
      fields.push_back(line.substr(start, comma - start));
      if (comma == std::string::npos) break;
      start = comma + 1;
    }
    if (fields[0].find("lunghezza") != std::string::npos) fields[1] = " 1000000";
    for (int i : positions_of(fields[0])) {
      fields[i] = " " + std::to_string(std::stoll(fields[i]) * kStretch);
    }
    std::string out = fields[0];
    for (size_t i = 1; i < fields.size(); ++i) out += "," + fields[i];
    add_line(text, out);
  }
  return text;
}

}  // namespace

std::string long_builtin_line_text() { return stretched(builtin_line_source()); }

std::string long_builtin_train_text() { return stretched(builtin_train_source()); }

std::string builtin_line_text() { return text_file_bytes(builtin_line_source()); }

std::string builtin_train_text() { return text_file_bytes(builtin_train_source()); }

Compilation builtin_compilation() {
  return Compilation(BuildIdentity{std::string(kBuiltinNome), std::string(kBuiltinTreno), {}});
}

void compile_in_memory(Compilation& compiled, const std::string& line, const std::string& train,
                       CompiledFileSink& sink) {
  MemorySources sources(line, train);
  compile(compiled, sources, sink);
  if (!compiled.result.wrote_files() || compiled.codice_errore != 0) {
    throw RunTimeFailure("the compile in memory failed with error " +
                         std::to_string(compiled.codice_errore));
  }
}

std::string long_route_line_text(int32_t length) {
  std::string text;
  add_line(text, "[generale]");
  add_line(text, "lunghezza percorso, " + column(length, 8));
  add_line(text, "progressiva chilometrica uno,    0,    350000,    1");
  add_line(text, "[curve]");
  int k = 0;
  for (int32_t start = kCurveSpacing / 2; start + kCurveLength < length;
       start += kCurveSpacing, ++k) {
    const std::string keyword =
        std::string("curva") + (k % 2 == 0 ? "s" : "d") + std::to_string(1 + k % 6);
    add_line(text, keyword + ", " + column(start, 7) + ", " + column(kCurveLength, 4));
  }
  add_line(text, "[pendenze]");
  for (int32_t p = 0; p < length; p += kGradientSpacing) {
    add_line(text, "pendenza, " + column(p, 7) + ", " + column(p / kGradientSpacing % 13 - 6, 3));
  }
  add_line(text, "[fine]");
  return text;
}

std::string empty_train_text() { return "[generale]\r\n[fine]\r\n"; }

std::string long_route_train_text(int32_t length) {
  std::string text;
  add_line(text, "[generale]");
  add_line(text, "numero vetture,    14");
  add_line(text, "orologio,    10              32            40 ");
  add_line(text, "aderenza,       0,  100");
  for (int32_t p = 0; p < length; p += kSpeedSpacing) {
    add_line(text,
             "velocita, " + column(p, 7) + ", " + column(100 + p / kSpeedSpacing % 7 * 10, 4));
  }
  for (int32_t p = kFirstStation; p + kStationSpacing / 2 < length; p += kStationSpacing) {
    add_line(text, "stazione, " + column(p, 7) +
                       ", 12,  600,  0, 0, 0,  1,1,0,  4,1,1,    0,   0, 0, 0, STAZIONE " +
                       std::to_string(p / kStationSpacing));
  }
  for (int32_t p = kFirstSlowdown; p + kSlowdownSpacing / 2 < length; p += kSlowdownSpacing) {
    add_line(text, "rallentamento, " + column(p, 7) + ",  60,   400,  0,  1,  0");
  }
  for (int32_t p = kFirstSignal; p + 1000 < length; p += kSignalSpacing) {
    add_line(text, "segnale, " + column(p, 7) + ",   2, 4, 0,  0, 0,    2,  1,0,0, 0");
  }
  add_line(text, "[fine]");
  return text;
}

std::string generated_field_stream(std::size_t bytes) {
  std::string text;
  text.reserve(bytes + 128);
  for (int64_t k = 0; text.size() < bytes; ++k) {
    const std::string position = column(k * 50 % 1000000, 7);
    switch (k % 3) {
      case 0:
        add_line(text, "segnale, " + position + ",   2, 4, 0,  0, 0,    2,  1,0,0, 0");
        break;
      case 1:
        add_line(text, "pendenza, " + position + ", " + column(k % 21 - 10, 4));
        break;
      default:
        add_line(text, "cartello_indicatore, " + position + ", (Km 345+557)");
        break;
    }
  }
  return text;
}

int64_t read_generated_records(FieldReader& reader) {
  int64_t sum = 0;
  while (!reader.at_end()) {
    const std::string keyword = reader.read_text();
    int values = 0;
    bool text = false;
    if (keyword.starts_with("segnale")) {
      values = 11;
    } else if (keyword.starts_with("pendenza")) {
      values = 2;
    } else if (keyword.starts_with("cartello")) {
      values = 1;
      text = true;
    }
    for (int i = 0; i < values; ++i) sum += reader.read_int32();
    if (text) sum += static_cast<int64_t>(reader.read_text().size());
  }
  return sum;
}

ScratchFolder::ScratchFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "scenario-bench-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) {
    throw RunTimeFailure("cannot create a scratch folder under " + pattern);
  }
  path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

}  // namespace scenario::bench
