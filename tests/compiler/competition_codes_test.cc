// The competition codes: hand-computed sums, and what changes them and what
// does not.
#include "compiler/competition_codes.h"

#include <gtest/gtest.h>

#include <string>

namespace scenario {
namespace {

// The codes read the texts the parser stored in the table, not `nome` and
// `treno` of the context, which stay empty here.
BuildContext context_with(const std::string& treno, const std::string& nome) {
  BuildContext ctx;
  ctx.tabella[86].testo = treno;
  ctx.tabella[85].testo = nome;
  return ctx;
}

struct CodeCase {
  std::string treno;
  std::string nome;
  std::string identifier;
  int16_t og;
  int32_t st;
};

TEST(CompetitionCodesTest, HandComputedSums) {
  const CodeCase cases[] = {
      {"904", "Velmora_Dorsel", "904velmora_dorselkkllmmnn", 2527, 34724},
      {"", "", "kkllmmnnooppqqrrssttuuvvw", 2819, 37297},
      {"12345", "ABCDEFGHIJKLMNOPQRSTUVWXYZ", "12345abcdefghijklmnopqrst", 2385, 34455},
      {"", "\xC0", "\xE0kkllmmnnooppqqrrssttuuvv", 2924, 37246},
      {std::string(25, '\xFF'), "", std::string(25, '\xFF'), 6375, 82875},
  };
  for (const CodeCase& c : cases) {
    SCOPED_TRACE(c.treno + "|" + c.nome);
    const BuildContext ctx = context_with(c.treno, c.nome);
    EXPECT_EQ(competition_identifier(ctx.tabella), c.identifier);
    EXPECT_EQ(codice_gara_og(ctx), c.og);
    EXPECT_EQ(codice_gara_st(ctx), c.st);
  }
}

struct PairCase {
  const char* what;
  std::string treno_a, nome_a;
  std::string treno_b, nome_b;
  bool same_og;
  bool same_st;
};

TEST(CompetitionCodesTest, WhatChangesTheCodes) {
  const PairCase cases[] = {
      {"letter case", "904", "Velmora_Dorsel", "904", "vELMORA_dORSEL", true, true},
      {"letter case above ASCII", "", "\xC0\xC9", "", "\xE0\xE9", true, true},
      {"swap inside the train number", "904", "Velmora_Dorsel", "094", "Velmora_Dorsel", true,
       false},
      {"swap across train and name", "904", "Velmora_Dorsel", "90V", "4elmora_Dorsel", true, false},
      {"swap at positions 1 and 25", "Z", "123456789012345678901234", "4",
       "12345678901234567890123z", true, false},
      {"a character after the 25th differs", "904", "Velmora_Dorsel_Stazione_A", "904",
       "Velmora_Dorsel_Stazione_B", true, true},
      {"text after character 25 added", "904", "Velmora_Dorsel_Stazione", "904",
       "Velmora_Dorsel_Stazione_Nord", true, true},
      {"train number and name trade places", "12", "34", "34", "12", true, false},
      {"one character more", "904", "Velmora_Dorsel", "904", "Velmora_Dorsel2", false, false},
  };
  for (const PairCase& c : cases) {
    SCOPED_TRACE(c.what);
    const BuildContext a = context_with(c.treno_a, c.nome_a);
    const BuildContext b = context_with(c.treno_b, c.nome_b);
    EXPECT_EQ(codice_gara_og(a) == codice_gara_og(b), c.same_og);
    EXPECT_EQ(codice_gara_st(a) == codice_gara_st(b), c.same_st);
  }
}

}  // namespace
}  // namespace scenario
