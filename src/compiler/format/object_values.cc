#include "compiler/format/object_values.h"

#include "base/text_encoding.h"
#include "compiler/object_kinds.h"

namespace scenario {
namespace {

std::string two_digits(int64_t value) { return (value < 10 ? "0" : "") + std::to_string(value); }

std::string yes_no(int64_t value) { return value != 0 ? "yes" : "no"; }

std::string side_text(const SignalSide& side) {
  if (side.kind == 0) return "none";
  return "kind " + std::to_string(side.kind) + ", codes " + std::to_string(side.codes[0]) + " " +
         std::to_string(side.codes[1]) + " " + std::to_string(side.codes[2]);
}

// "100 km/h left, 100 km/h right"; a side of 0 is a side without a board.
std::string board_category_text(int16_t packed) {
  const BoardSpeeds s = board_speeds(packed);
  auto one = [](int32_t kmh) { return kmh == 0 ? std::string("none") : speed_text(kmh); };
  return one(s.left) + " left, " + one(s.right) + " right";
}

std::string entry_text(const Tabella* tabella, int16_t entry) {
  if (tabella == nullptr || entry < 0 || entry >= kTableEntries) return "";
  return printable_from_1252((*tabella)[entry].testo);
}

void add_signal_facts(std::vector<Fact>& facts, const cella& c) {
  facts.push_back({"left signal", side_text(signal_side(c, true))});
  facts.push_back({"right signal", side_text(signal_side(c, false))});
  facts.push_back({"code rapp", std::to_string(c.dato4 / 10)});
  if (c.tempo_segnale != 0) facts.push_back({"time", seconds_text(c.tempo_segnale)});
}

void add_slowdown_facts(std::vector<Fact>& facts, const cella& c) {
  facts.push_back({"speed", speed_text(c.dato1)});
  if (c.dato2 != 0) facts.push_back({"second speed", speed_text(c.dato2)});
}

void add_board_facts(std::vector<Fact>& facts, const cella& c) {
  facts.push_back({"category A", board_category_text(c.dato1)});
  facts.push_back({"category B", board_category_text(c.dato2)});
  facts.push_back({"category C", board_category_text(c.dato3)});
  facts.push_back({"stripes", std::to_string(c.dato4 / 10) + " left, " +
                                  std::to_string(c.dato4 % 10) + " right"});
}

}  // namespace

std::string metres_text(int64_t metres) { return std::to_string(metres) + " m"; }
std::string speed_text(int64_t kmh) { return std::to_string(kmh) + " km/h"; }
std::string gradient_text(int64_t permille) { return std::to_string(permille) + " \u2030"; }
std::string seconds_text(int64_t seconds) { return std::to_string(seconds) + " s"; }

std::string clock_text(int64_t seconds) {
  const bool negative = seconds < 0;
  const int64_t s = negative ? -seconds : seconds;
  return (negative ? "-" : "") + two_digits(s / 3600) + ":" + two_digits(s / 60 % 60) + ":" +
         two_digits(s % 60);
}

BoardSpeeds board_speeds(int16_t packed) { return {packed / 100 * 5, packed % 100 * 5}; }

SignalSide signal_side(const cella& c, bool left) {
  const int32_t kinds = c.dato4 % 10;  // sx × 3 + dx
  SignalSide side;
  side.kind = left ? kinds / 3 : kinds % 3;
  const int16_t packed[3] = {c.dato1, c.dato2, c.dato3};
  for (int i = 0; i < 3; ++i) side.codes[i] = left ? packed[i] / 10 : packed[i] % 10;
  return side;
}

std::vector<Fact> object_facts(const cella& c, const Tabella* tabella) {
  std::vector<Fact> facts;
  const ObjectKindRow* kind = find_object_kind(c.oggetto);
  switch (kind != nullptr ? kind->values : ObjectValues::none) {
    case ObjectValues::signal:
      add_signal_facts(facts, c);
      break;
    case ObjectValues::slowdown:
      add_slowdown_facts(facts, c);
      facts.push_back({"whole train (A)", yes_no(c.dato3)});
      break;
    case ObjectValues::warning:
      add_slowdown_facts(facts, c);
      break;
    case ObjectValues::countdown:
      facts.push_back({"countdown", std::to_string(c.dato1) + " of 4 (1 nearest the board)"});
      break;
    case ObjectValues::speed_board:
      add_board_facts(facts, c);
      break;
    case ObjectValues::station:
      if (tabella) facts.push_back({"station", entry_text(tabella, c.dato1)});
      facts.push_back({"entry", std::to_string(c.dato1)});
      break;
    case ObjectValues::value:
      facts.push_back({"value", std::to_string(c.dato1)});
      break;
    case ObjectValues::board_text:
      if (tabella) facts.push_back({"text", entry_text(tabella, c.dato1)});
      facts.push_back({"entry", std::to_string(c.dato1)});
      break;
    case ObjectValues::none:
      break;
  }
  return facts;
}

std::vector<Fact> stretch_facts(const cella& c) {
  std::vector<Fact> facts = {{"speed limit", speed_text(speed_limit_kmh(c))},
                             {"gradient", gradient_text(gradient_permille(c))},
                             {"adhesion", std::to_string(c.aderenza)}};
  if (c.montagna != 0) facts.push_back({"mountain type", std::to_string(c.montagna)});
  if (c.preavviso != 0) facts.push_back({"approach mark", std::to_string(c.preavviso)});
  return facts;
}

std::string station_kind_text(int genere) {
  std::string zone;
  if (genere == 5 || genere == 6) {
    zone = "zone to 150 m past";
  } else if (genere == 7 || genere == 8) {
    zone = "zone \u00b1 length";
  } else {
    zone = "centred zone";
  }
  if (genere >= 25) return zone + ", no marks";
  if (genere == 5 || genere == 6) return zone + ", stop mark";
  return zone + ", stop and approach marks";
}

}  // namespace scenario
