#include "scenarioc/documents/details_file.h"

#include <cmath>
#include <optional>

#include "base/text_case.h"
#include "base/text_encoding.h"
#include "scenarioc/documents/lined_json.h"
#include "source/byte_source.h"

namespace scenario {
namespace {

constexpr std::uintmax_t kLargestFile = 1 << 20;
constexpr size_t kCategoryLength = 11;  // the CLASSIFICAZIONE box after its indent
constexpr size_t kRankLength = 4;
constexpr size_t kMarkLength = 3;
constexpr size_t kFootnoteLength = 27;  // the place column of a row
constexpr size_t kMostFootnotes = 16;
constexpr size_t kMostNoteLines = 1000;

using Kind = LinedJson::Kind;

std::string quoted(const std::string& key) { return "\"" + key + "\""; }

// Reads one document's values, collecting every fault.
class DetailsReader {
 public:
  DetailsRead read(const LinedJson& document) {
    if (document.kind != Kind::object) {
      fault(document, "the details are " + kind_name(document.kind) + ", not an object");
      return std::move(result_);
    }
    for (size_t i = 0; i < document.keys.size(); ++i) {
      read_member(document.keys[i], document.key_lines[i], document.values[i]);
    }
    return std::move(result_);
  }

 private:
  void read_member(const std::string& key, int64_t key_line, const LinedJson& v) {
    DocumentDetails& d = result_.details;
    if (key == "category") {
      d.category = text_of(v, quoted(key), kCategoryLength);
    } else if (key == "rank") {
      d.rank = text_of(v, quoted(key), kRankLength);
    } else if (key == "maximum_speed") {
      d.maximum_speed = whole_number(v, key, 1, 999, "km/h");
    } else if (key == "blocked_mass") {
      d.blocked_mass = whole_number(v, key, 1, 99999, "tonnes");
    } else if (key == "stations") {
      read_stations(v);
    } else if (key == "footnotes") {
      read_lines(v, key, kFootnoteLength, kMostFootnotes, d.footnotes);
    } else if (key == "notes") {
      std::vector<std::string> lines;
      if (read_lines(v, key, 0, kMostNoteLines, lines)) d.notes = std::move(lines);
    } else {
      result_.faults.push_back(
          {key_line, "unknown key \"" + key +
                         "\"; the details take category, rank, maximum_speed, blocked_mass, "
                         "stations, footnotes and notes"});
    }
  }

  void read_stations(const LinedJson& v) {
    if (!expect(v, Kind::object, "\"stations\"")) return;
    std::vector<std::string> seen;  // in capitals, with the line of each
    for (size_t i = 0; i < v.keys.size(); ++i) {
      const std::optional<std::string> name =
          single_byte(v.keys[i], v.key_lines[i], "the station name \"" + v.keys[i] + "\"");
      if (!name) continue;
      if (name->find_first_not_of(' ') == std::string::npos) {
        fault(v.key_lines[i], "a station name in \"stations\" is empty");
        continue;
      }
      const std::string upper = to_upper_1252(*name);
      bool twice = false;
      for (const StationDetails& earlier : result_.details.stations) {
        if (to_upper_1252(earlier.name) == upper) {
          fault(v.key_lines[i], "the station \"" + v.keys[i] + "\" is given twice (first on line " +
                                    std::to_string(earlier.line) + ")");
          twice = true;
        }
      }
      if (!twice) read_station(*name, v.key_lines[i], v.values[i]);
    }
  }

  void read_station(const std::string& name, int64_t line, const LinedJson& v) {
    if (!expect(v, Kind::object, "the entry of a station")) return;
    StationDetails s;
    s.name = name;
    s.line = line;
    for (size_t i = 0; i < v.keys.size(); ++i) {
      const std::string& key = v.keys[i];
      const LinedJson& value = v.values[i];
      if (key == "time") {
        s.time = time_of(value, key);
      } else if (key == "arrival") {
        s.arrival = time_of(value, key);
      } else if (key == "departure") {
        s.departure = time_of(value, key);
      } else if (key == "recovery") {
        s.recovery = recovery_of(value).value_or(0);
      } else if (key == "mark") {
        s.mark = text_of(value, quoted(key), kMarkLength).value_or("");
      } else {
        fault(v.key_lines[i], "unknown key \"" + key +
                                  "\" for a station; it takes time, arrival, departure, "
                                  "recovery and mark");
      }
    }
    if (s.time && (s.arrival || s.departure)) {
      fault(line,
            "\"time\" is where the train passes a station, \"arrival\" and \"departure\" "
            "where it stops: give one or the other");
    }
    result_.details.stations.push_back(std::move(s));
  }

  bool read_lines(const LinedJson& v, const std::string& key, size_t longest, size_t most,
                  std::vector<std::string>& lines) {
    if (!expect(v, Kind::array, quoted(key))) return false;
    if (v.values.size() > most) {
      fault(v, quoted(key) + " holds " + std::to_string(v.values.size()) +
                   " lines; it takes at most " + std::to_string(most));
      return false;
    }
    bool sound = true;
    for (const LinedJson& item : v.values) {
      const std::optional<std::string> line =
          text_of(item, "a line of " + quoted(key), longest, true);
      if (line) {
        lines.push_back(*line);
      } else {
        sound = false;
      }
    }
    return sound;
  }

  // A string in Windows-1252 of 1 to `longest` characters (no limit when 0).
  std::optional<std::string> text_of(const LinedJson& v, const std::string& name, size_t longest,
                                     bool empty_allowed = false) {
    if (!expect(v, Kind::string, name)) return std::nullopt;
    const std::optional<std::string> text = single_byte(v.text, v.line, name);
    if (!text) return std::nullopt;
    if (text->empty() && !empty_allowed) {
      fault(v, name + " is empty");
      return std::nullopt;
    }
    if (longest > 0 && text->size() > longest) {
      fault(v, name + " is " + std::to_string(text->size()) + " characters long; the form has " +
                   "room for " + std::to_string(longest));
      return std::nullopt;
    }
    return text;
  }

  // The text in Windows-1252, one byte a character, without control characters.
  std::optional<std::string> single_byte(const std::string& utf8, int64_t line,
                                         const std::string& name) {
    std::string refused;
    const std::optional<std::string> text = text_1252_from_native(utf8, &refused);
    if (!text) {
      fault(line, name + " holds \"" + refused + "\", which the documents' code page " +
                      "(Windows-1252) cannot write");
      return std::nullopt;
    }
    for (char c : *text) {
      if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
        fault(line, name + " holds a control character (a line break, a tab)");
        return std::nullopt;
      }
    }
    return text;
  }

  std::optional<int32_t> whole_number(const LinedJson& v, const std::string& key, int32_t low,
                                      int32_t high, const char* unit) {
    if (v.kind != Kind::integer || v.integer < low || v.integer > high) {
      fault(v, quoted(key) + " takes a whole number of " + unit + " from " + std::to_string(low) +
                   " to " + std::to_string(high) + ", not " + written(v));
      return std::nullopt;
    }
    return static_cast<int32_t>(v.integer);
  }

  // "10.38" or "10:38": hours 0 to 47 (a journey may pass midnight), minutes 00 to 59.
  std::optional<int32_t> time_of(const LinedJson& v, const std::string& key) {
    auto refuse = [&] {
      fault(v, quoted(key) + " takes a time of day as \"10.38\", not " + written(v));
      return std::optional<int32_t>();
    };
    if (v.kind != Kind::string) return refuse();
    const std::string& t = v.text;
    const size_t point = t.find_first_of(".:");
    if (point == std::string::npos || point == 0 || point > 2 || t.size() != point + 3) {
      return refuse();
    }
    int32_t hours = 0;
    int32_t minutes = 0;
    for (size_t i = 0; i < t.size(); ++i) {
      if (i == point) continue;
      if (t[i] < '0' || t[i] > '9') return refuse();
      int32_t& part = i < point ? hours : minutes;
      part = part * 10 + (t[i] - '0');
    }
    if (hours > 47 || minutes > 59) return refuse();
    return (hours * 60 + minutes) * 60;
  }

  // Minutes with one decimal at most, from 0.1 to 9.9: tenths.
  std::optional<int32_t> recovery_of(const LinedJson& v) {
    const double value = v.kind == Kind::integer ? static_cast<double>(v.integer) : v.real;
    const double tenths = std::nearbyint(value * 10);
    if ((v.kind != Kind::integer && v.kind != Kind::real) ||
        std::fabs(value * 10 - tenths) > 1e-6 || tenths < 1 || tenths > 99) {
      fault(v, "\"recovery\" takes minutes with one decimal at most, from 0.1 to 9.9, not " +
                   written(v));
      return std::nullopt;
    }
    return static_cast<int32_t>(tenths);
  }

  bool expect(const LinedJson& v, Kind kind, const std::string& name) {
    if (v.kind == kind) return true;
    fault(v, name + " takes " + kind_name(kind) + ", not " + kind_name(v.kind));
    return false;
  }

  static std::string written(const LinedJson& v) {
    switch (v.kind) {
      case Kind::integer:
        return std::to_string(v.integer);
      case Kind::real:
        return v.text;
      case Kind::string:
        return "\"" + v.text + "\"";
      default:
        return kind_name(v.kind);
    }
  }

  void fault(const LinedJson& v, std::string message) { fault(v.line, std::move(message)); }
  void fault(int64_t line, std::string message) {
    result_.faults.push_back({line, std::move(message)});
  }

  DetailsRead result_;
};

}  // namespace

std::string details_file_name(const std::string& nome, const std::string& treno) {
  return nome + "_" + treno + "_details.json";
}

DetailsRead read_details_text(std::string_view text) {
  const LinedJsonResult parsed = parse_lined_json(text);
  if (!parsed.document) {
    DetailsRead read;
    read.faults.push_back({parsed.error.line, parsed.error.message});
    return read;
  }
  return DetailsReader().read(*parsed.document);
}

DetailsRead read_details_file(const std::filesystem::path& path) {
  FileByteSource source(path);
  if (source.size() > kLargestFile) {
    DetailsRead read;
    read.faults.push_back({1, "the file is larger than 1 MiB"});
    return read;
  }
  std::string text;
  char buffer[1 << 14];
  while (const size_t n = source.read(buffer, sizeof buffer)) {
    text.append(buffer, n);
    if (text.size() > kLargestFile) break;
  }
  return read_details_text(text);
}

}  // namespace scenario
