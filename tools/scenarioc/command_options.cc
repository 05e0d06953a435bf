#include "scenarioc/command_options.h"

#include <optional>

#include "scenarioc/command_line.h"
#include "scenarioc/output/colour.h"

namespace scenario {
namespace {

constexpr unsigned kMaxJobs = 1024;

// A whole number from 1 to kMaxJobs written in digits alone.
std::optional<unsigned> count_named(const std::string& text) {
  if (text.empty() || text.size() > 4) return std::nullopt;
  unsigned n = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    n = n * 10 + static_cast<unsigned>(c - '0');
  }
  if (n < 1 || n > kMaxJobs) return std::nullopt;
  return n;
}

std::string set(std::optional<std::string>& field, const std::string& value) {
  field = value;
  return "";
}

std::string set(bool& flag) {
  flag = true;
  return "";
}

std::string set_colour(CommandLine& line, const std::string& value) {
  const std::optional<ColourMode> mode = colour_mode_named(value);
  if (!mode) return "option '--color' takes auto, always or never, not '" + value + "'";
  line.colour = *mode;
  return "";
}

std::string set_jobs(CommandLine& line, const std::string& value) {
  const std::optional<unsigned> n = count_named(value);
  if (!n) {
    return "option '--jobs' takes a number from 1 to " + std::to_string(kMaxJobs) + ", not '" +
           value + "'";
  }
  line.jobs = *n;
  return "";
}

using Value = const std::string&;

}  // namespace

namespace options {

constinit const OptionSpec output_folder{"--output", "-o", "DIR",
                                         [](CommandLine& c, Value v) { return set(c.out_dir, v); }};
constinit const OptionSpec output_file{"--output", "-o", "FILE",
                                       [](CommandLine& c, Value v) { return set(c.out_file, v); }};
constinit const OptionSpec name{"--name", "", "NAME",
                                [](CommandLine& c, Value v) { return set(c.name, v); }};
constinit const OptionSpec train{"--train", "", "NUMBER",
                                 [](CommandLine& c, Value v) { return set(c.train, v); }};
constinit const OptionSpec kind{"--kind", "", "KIND",
                                [](CommandLine& c, Value v) { return set(c.kind, v); }};
constinit const OptionSpec json{"--json", "", "",
                                [](CommandLine& c, Value) { return set(c.json); }};
constinit const OptionSpec csv{"--csv", "", "", [](CommandLine& c, Value) { return set(c.csv); }};
constinit const OptionSpec model{"--model", "", "FILE",
                                 [](CommandLine& c, Value v) { return set(c.model, v); }};
constinit const OptionSpec all{"--all", "", "", [](CommandLine& c, Value) { return set(c.all); }};
constinit const OptionSpec points{"--points", "", "",
                                  [](CommandLine& c, Value) { return set(c.points); }};
constinit const OptionSpec force{"--force", "", "",
                                 [](CommandLine& c, Value) { return set(c.force); }};
constinit const OptionSpec report{"--report", "", "FILE.html",
                                  [](CommandLine& c, Value v) { return set(c.report_file, v); }};
constinit const OptionSpec documents{"--documents", "", "",
                                     [](CommandLine& c, Value) { return set(c.documents); }};
constinit const OptionSpec details{"--details", "", "FILE",
                                   [](CommandLine& c, Value v) { return set(c.details_file, v); }};
constinit const OptionSpec colour{"--color", "", "WHEN", set_colour};
constinit const OptionSpec jobs{"--jobs", "-j", "N", set_jobs};

}  // namespace options
}  // namespace scenario
