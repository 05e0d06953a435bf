// The file-naming rule both ways: the names of a scenario's files, and the
// scenario that a file's name gives.
#include "base/file_naming.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace scenario::testing {
namespace {

// "NOME|TRENO", or "-" for a name that fits no train source.
std::string train_of(const std::string& file_name, const std::optional<std::string>& nome) {
  const std::optional<TrainSourceName> split = split_train_source(file_name, nome);
  return split ? split->nome + "|" + split->treno : "-";
}

TEST(FileNamingTest, ASourceNameGivesItsScenario) {
  const struct {
    const char* file_name;
    const char* line_nome;  // null: no line source
    const char* train;      // train_of without a known name
  } rows[] = {
      {"Alfa_linea.txt", "Alfa", "-"},
      {"A_B_linea.txt", "A_B", "-"},
      {"_linea.txt", nullptr, "-"},
      {"Alfa_1-.txt", nullptr, "Alfa|1"},
      {"A_B_1-.txt", nullptr, "A_B|1"},  // NAME ends at the last "_"
      {"Citt\xC3\xA0_904-.txt", nullptr, "Citt\xC3\xA0|904"},
      {"Alfa-.txt", nullptr, "-"},
      {"_1-.txt", nullptr, "-"},
      {"Alfa_-.txt", nullptr, "-"},
      {"Alfa_1.dat", nullptr, "-"},
      {"Alfa_1_note.txt", nullptr, "-"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.file_name);
    const std::optional<std::string> nome = nome_of_line_source(row.file_name);
    EXPECT_EQ(nome.value_or("-"), row.line_nome ? row.line_nome : "-");
    EXPECT_EQ(train_of(row.file_name, std::nullopt), row.train);
  }
  // A known name decides where NAME ends; one that does not start the file name does not.
  EXPECT_EQ(train_of("A_B_1-.txt", "A"), "A|B_1");
  EXPECT_EQ(train_of("A_B_1-.txt", "A_B"), "A_B|1");
  EXPECT_EQ(train_of("A_1-.txt", "A_B"), "A|1");
  EXPECT_EQ(train_of("A_-.txt", "A"), "-");
}

// Every name the rule writes forwards reads back as the name and number it came from.
TEST(FileNamingTest, NamesReadBackAsTheyWereWritten) {
  for (const auto& [nome, treno] : std::vector<std::pair<std::string, std::string>>{
           {"Velmora_Dorsel", "904"}, {"A", "1_2"}, {"Citt\xC3\xA0", "IC 5"}, {"linea", "1"}}) {
    SCOPED_TRACE(nome + " " + treno);
    EXPECT_EQ(unusable_identifiers(nome, treno), "");
    EXPECT_EQ(nome_of_line_source(line_source_name(nome)), nome);
    EXPECT_EQ(train_of(train_source_name(nome, treno), nome), nome + "|" + treno);
    EXPECT_EQ(pair_sources({line_source_name(nome), train_source_name(nome, treno)}).size(), 1u);
    EXPECT_EQ(compiled_file_kind(track_plan_name(nome)), CompiledFileKind::track_plan);
    EXPECT_EQ(compiled_file_kind(station_table_name(nome, treno)), CompiledFileKind::station_table);
    EXPECT_EQ(compiled_file_kind(route_cells_name(nome, treno)), CompiledFileKind::route_cells);
  }
  EXPECT_EQ(compiled_file_kind(line_source_name("A")), std::nullopt);
  EXPECT_EQ(compiled_file_kind(notes_name("A", "1")), std::nullopt);
}

// A train source belongs to the line source with the longest NAME that starts its name.
TEST(FileNamingTest, TrainSourcesPairWithTheLongestLineName) {
  std::vector<std::string> rows;
  for (const PairedSources& p :
       pair_sources({"A_2-.txt", "A_B_1-.txt", "A_B_linea.txt", "A_C_3-.txt", "A_linea.txt",
                     "C_linea.txt", "Z_9-.txt", "leggimi.txt"})) {
    rows.push_back(p.line_file + " | " + p.train_file + " | " + p.nome + " | " + p.treno);
  }
  EXPECT_EQ(rows, (std::vector<std::string>{
                      "A_linea.txt | A_2-.txt | A | 2",
                      "A_B_linea.txt | A_B_1-.txt | A_B | 1",
                      "A_linea.txt | A_C_3-.txt | A | C_3",
                      " | Z_9-.txt | Z | 9",
                      "C_linea.txt |  | C | ",
                  }));
}

// A name and number that cannot name the files are refused before anything is written.
TEST(FileNamingTest, UnusableIdentifiersAreRefusedWithTheReason) {
  const struct {
    const char* nome;
    const char* treno;
    const char* reason;
  } rows[] = {
      {"Citt\xC3\xA0", "1", ""},
      {"", "1", "the scenario name is empty"},
      {"A", "", "the train number is empty"},
      {"a/b", "1",
       "the scenario name 'a/b' holds a path separator; it must name files in one folder"},
      {"A", "1\\2",
       "the train number '1\\2' holds a path separator; it must name files in one folder"},
      {"..", "1", "the scenario name '..' cannot start a file name"},
      {"\xD0\x9C", "1",
       "the scenario name '\xD0\x9C' holds '\xD0\x9C', which Windows-1252, the code page of the "
       "compiled files, cannot hold"},
      // NAME_NUMBER.dat would be NAME_linea.dat: the route cells over the track plan.
      {"Prova", "linea",
       "the train number 'linea' would give the route cells the track plan's name, "
       "'Prova_linea.dat'"},
      {"Prova", "Linea",
       "the train number 'Linea' would give the route cells the track plan's name, "
       "'Prova_Linea.dat'"},
      {"linea", "lineare", ""},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(unusable_identifiers(row.nome, row.treno), row.reason)
        << row.nome << " " << row.treno;
  }
}

}  // namespace
}  // namespace scenario::testing
