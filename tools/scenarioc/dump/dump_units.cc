#include "scenarioc/dump/dump_units.h"

#include <vector>

#include "base/text_encoding.h"
#include "compiler/cells.h"
#include "compiler/chainage.h"
#include "compiler/format/cell_text.h"
#include "compiler/format/object_values.h"

namespace scenario {
namespace {

std::string joined(const std::vector<Fact>& facts, const char* between) {
  std::string text;
  for (const Fact& fact : facts) {
    if (!text.empty()) text += between;
    text += fact.name + ": " + fact.value;
  }
  return text;
}

std::string where(int64_t metres, const Tabella* tabella) {
  std::string text = "at " + metres_text(metres);
  if (tabella) text += ", km " + chainage_text(Chainage(*tabella).at(metres));
  return text;
}

// A station's entry: nothing but its text is a board's; a station has numbers.
bool only_text(const voce& v) {
  return v.genere == 0 && v.valore1 == 0 && v.valore2 == 0 && v.valore3 == 0 && v.colonna4 == 0 &&
         v.colonna5 == 0 && v.colonna6 == 0 && v.colonna7 == 0 && v.colonna8 == 0 &&
         v.colonna9 == 0 && v.colonna10 == 0 && v.colonna11 == 0 && v.colonna12 == 0 &&
         v.colonna13 == 0 && v.orario == 0;
}

std::string station_in_units(const voce& v, const Tabella& tabella) {
  std::string text = "station " + printable_from_1252(v.testo) + " " + where(v.valore3, &tabella) +
                     "; zone " + std::to_string(v.valore1) + " to " + metres_text(v.valore2) +
                     "; kind " + std::to_string(v.genere) + ": " + station_kind_text(v.genere);
  if (v.colonna13 != 0) text += "; stop " + seconds_text(v.colonna13);
  if (v.orario != 0) text += "; time " + clock_text(v.orario);
  return text;
}

std::string reference_in_units(const voce& v) {
  if (v.valore1 == 0 && v.valore2 == 0 && v.valore3 == 0) return "unused";
  const bool decreasing = v.valore3 == 1;
  return "kilometric reference from " + metres_text(v.valore1) + ": km " +
         chainage_text(int64_t{v.valore2} - (decreasing ? 100 : 0)) +
         (decreasing ? " as written (stored 100 m more), counting down" : ", counting up");
}

std::string header_in_units(int index, const voce& v) {
  if (index == kEntryTrain) {
    return "braked mass " + std::to_string(v.valore1) + " %; route length " +
           metres_text(v.valore2) + "; coaches " + std::to_string(v.valore3);
  }
  if (index == kEntryScenario) {
    return "backgrounds: sfondo uno " + std::to_string(v.valore1) + ", sfondo due " +
           std::to_string(v.valore3) + ", sfondo tre " + std::to_string(v.valore2) +
           "; scenario name " + printable_from_1252(v.testo) + "; header value " +
           std::to_string(v.colonna7) + "; competition code " + std::to_string(v.orario);
  }
  const std::string repetition = v.valore3 == 0
                                     ? std::string("none")
                                     : std::to_string(v.valore3) + " codes from " +
                                           metres_text(v.valore1) + " to " + metres_text(v.valore2);
  return "signal repetition " + repetition + "; train number " + printable_from_1252(v.testo) +
         "; sand " + std::to_string(v.colonna7) + "; clock at the start " +
         clock_text(int64_t{v.colonna10} * 3600 + int64_t{v.colonna11} * 60 + v.colonna12);
}

}  // namespace

std::string cell_in_units(size_t index, const cella& c, const Tabella* tabella) {
  std::string text = "  " + where(cell_start(static_cast<int64_t>(index)), tabella) + ": ";
  if (c.oggetto != kNoObject) {
    text += object_kind_name(c.oggetto);
    const std::vector<Fact> facts = object_facts(c, tabella);
    if (!facts.empty()) text += "; " + joined(facts, "; ");
    text += " | ";
  }
  return escape_controls(text + "in force: " + joined(stretch_facts(c), ", "));
}

std::string entry_in_units(int index, const Tabella& tabella) {
  const voce& v = tabella[index];
  if (index >= kEntryTrain) return "  " + header_in_units(index, v);
  if (index >= kEntryRefTre) return "  " + reference_in_units(v);
  if (index == 0 || (only_text(v) && v.testo.empty())) return "";
  if (only_text(v)) return "  board text \"" + printable_from_1252(v.testo) + "\"";
  return "  " + station_in_units(v, tabella);
}

}  // namespace scenario
