#include "compiler/compile_harness.h"

#include <gtest/gtest.h>

#include "compiler/parser.h"

namespace scenario::testing {

std::unique_ptr<Compiled> compile_text(const std::string& line, const std::string& train,
                                       int32_t j) {
  auto compiled = std::make_unique<Compiled>();
  compiled->ctx.nome = "Prova";
  compiled->ctx.treno = "1";
  compiled->sources = std::make_unique<MemorySources>(line, train);
  compiled->result = memorizza_percorso(compiled->ctx, j, *compiled->sources, compiled->sink);
  return compiled;
}

std::unique_ptr<Compiled> parse_text(const std::string& line, const std::string& train, int32_t j) {
  auto compiled = std::make_unique<Compiled>();
  compiled->ctx.nome = "Prova";
  compiled->ctx.treno = "1";
  compiled->ctx.scrivi_linea = j;
  compiled->sources = std::make_unique<MemorySources>(line, train);
  memorizza_dati(compiled->ctx, *compiled->sources);
  return compiled;
}

std::string crlf(std::initializer_list<const char*> lines) {
  std::string text;
  for (const char* line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
  const size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

std::string line_with(const std::string& from, const std::string& to) {
  return replaced(small_line_source(), from, to);
}

std::string train_with(const std::string& from, const std::string& to) {
  return replaced(small_train_source(), from, to);
}

std::string small_line_source() {
  return crlf({
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
      "[pendenze]",
      "pendenza,     0,   0",
      "pendenza,  5000,  -8",
      "pendenza,  7000,   0",
      "[montagne]",
      "montagna,   3000,  4500,  11",
      "[cartelli]",
      "indicatori_vmax,  700,  100,  110,  115,  0,  100,  110,  115,  0",
      "",
      "[indicazioni]",
      "cartello_indicatore,  4400, (Km 345+557)",
      "[fine]",
  });
}

std::string small_train_source() {
  return crlf({
      "[generale]",
      "numero vetture,    14",
      "percentuale massa frenata,    130",
      "sabbia,    200",
      "orologio,    10              32            40 ",
      "[aderenze]",
      "aderenza,    0,  100",
      "[vel_limite]",
      "velocita,     0,  115",
      "velocita,  1950,  160",
      "[stazioni]",
      "stazione,       0,  8,  500,  0, 0, 0,  1,1,0,  4,1,1,    1,  10,33, 0, ORIGINE",
      "stazione,    6900, 12,  600,  0, 0, 0,  1,1,0,  4,1,1,   45,  10,40, 0, ALTRA-STAZIONE",
      "[rallentamenti]",
      "[segnali]",
      "segnale,    1650,   2, 4, 0,  0, 0,    2,  1,0,0, 0",
      "[codici]",
      "[fine]",
  });
}

}  // namespace scenario::testing
