#include "scenarioc/command_line.h"

#include <array>
#include <string_view>

namespace scenario {
namespace {

struct OptionSpec {
  std::string_view name;   // "--name"
  std::string_view alias;  // a one-letter form, or empty
  bool takes_value;
  void (*apply)(CommandLine&, const std::string&);
};

constexpr OptionSpec kOut{"--output", "-o", true,
                          [](CommandLine& c, const std::string& v) { c.out_dir = v; }};
constexpr OptionSpec kOutFile{"--output", "-o", true,
                              [](CommandLine& c, const std::string& v) { c.out_file = v; }};
constexpr OptionSpec kName{"--name", "", true,
                           [](CommandLine& c, const std::string& v) { c.name = v; }};
constexpr OptionSpec kTrain{"--train", "", true,
                            [](CommandLine& c, const std::string& v) { c.train = v; }};
constexpr OptionSpec kKind{"--kind", "", true,
                           [](CommandLine& c, const std::string& v) { c.kind = v; }};
constexpr OptionSpec kJson{"--json", "", false,
                           [](CommandLine& c, const std::string&) { c.json = true; }};
constexpr OptionSpec kAll{"--all", "", false,
                          [](CommandLine& c, const std::string&) { c.all = true; }};
constexpr OptionSpec kPoints{"--points", "", false,
                             [](CommandLine& c, const std::string&) { c.points = true; }};
constexpr OptionSpec kForce{"--force", "", false,
                            [](CommandLine& c, const std::string&) { c.force = true; }};

struct CommandSpec {
  Command command;
  std::string_view name;
  size_t files;  // how many positional arguments it takes
  std::string_view file_names;
  std::vector<OptionSpec> options;
};

const std::array<CommandSpec, 4>& commands() {
  static const std::array<CommandSpec, 4> definitions = {{
      {Command::compile, "compile", 2, "LINE_FILE TRAIN_FILE", {kOut, kName, kTrain, kJson}},
      {Command::emit, "emit", 0, "", {kOut, kForce}},
      {Command::dump, "dump", 1, "FILE", {kKind, kJson, kAll, kPoints}},
      {Command::report, "report", 2, "LINE_FILE TRAIN_FILE", {kOutFile, kName, kTrain}},
  }};
  return definitions;
}

const CommandSpec* find_command(std::string_view name) {
  for (const CommandSpec& definition : commands()) {
    if (definition.name == name) return &definition;
  }
  return nullptr;
}

const CommandSpec& definition_of(Command command) {
  for (const CommandSpec& definition : commands()) {
    if (definition.command == command) return definition;
  }
  return commands()[0];
}

bool is_help(std::string_view arg) { return arg == "--help" || arg == "-h"; }

CommandLine usage_error(std::optional<Command> command, std::string error) {
  CommandLine line;
  line.action = CommandLine::Action::usage_error;
  line.command = command;
  line.error = std::move(error);
  return line;
}

const OptionSpec* find_option(const CommandSpec& definition, std::string_view flag) {
  for (const OptionSpec& option : definition.options) {
    if (flag == option.name || (!option.alias.empty() && flag == option.alias)) return &option;
  }
  return nullptr;
}

// Reads the arguments after the command name.
CommandLine parse_command_arguments(const CommandSpec& definition,
                                    const std::vector<std::string>& args) {
  CommandLine line;
  line.command = definition.command;
  bool options_ended = false;
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (options_ended || arg.size() < 2 || arg[0] != '-') {
      line.files.push_back(arg);
      continue;
    }
    if (arg == "--") {
      options_ended = true;
      continue;
    }
    if (is_help(arg)) {
      line.action = CommandLine::Action::help;
      return line;
    }
    const size_t equals = arg.rfind("--", 0) == 0 ? arg.find('=') : std::string::npos;
    const std::string flag = arg.substr(0, equals);
    const OptionSpec* option = find_option(definition, flag);
    if (!option) {
      return usage_error(definition.command,
                         "unknown option '" + flag + "' for " + std::string(definition.name));
    }
    if (!option->takes_value) {
      if (equals != std::string::npos) {
        return usage_error(definition.command, "option '" + flag + "' takes no value");
      }
      option->apply(line, "");
    } else if (equals != std::string::npos) {
      option->apply(line, arg.substr(equals + 1));
    } else if (i + 1 < args.size()) {
      option->apply(line, args[++i]);
    } else {
      return usage_error(definition.command, "option '" + flag + "' needs a value");
    }
  }
  if (line.files.size() != definition.files) {
    const std::string wanted =
        definition.files == 0 ? "no file names" : std::string(definition.file_names);
    return usage_error(definition.command, std::string(definition.name) + " takes " + wanted +
                                               ", " + std::to_string(line.files.size()) + " given");
  }
  line.action = CommandLine::Action::run;
  return line;
}

constexpr std::string_view kToolHelp =
    R"(scenarioc: the authoring tool of the scenario compiler. It compiles a scenario's
two source files into the three files the simulator loads, emits the built-in
scenario as a starting point, decodes compiled files, and draws a scenario as
a page to look at.

Usage:
  scenarioc compile LINE_FILE TRAIN_FILE [-o DIR] [--name NAME] [--train NUMBER] [--json]
  scenarioc emit [-o DIR] [--force]
  scenarioc dump FILE [--kind KIND] [--json] [--all] [--points]
  scenarioc report LINE_FILE TRAIN_FILE [-o FILE.html] [--name NAME] [--train NUMBER]
  scenarioc --help            this text
  scenarioc COMMAND --help    the options of one command
  scenarioc --version

Commands:
  compile   compile NAME_linea.txt and NAME_NUMBER-.txt into NAME_linea.dat,
            NAME_NUMBER.sim and NAME_NUMBER.dat
  emit      write the built-in scenario's two source files and three documents
  dump      decode a compiled file as a table or as JSON
  report    draw a scenario as one HTML page: plan, profiles, every object

Exit status:
  0  nothing to report
  1  errors were recorded; the compiled files were written all the same
  2  fatal error, usage error, no compiled file written, or a file that
     cannot be read or written

A first scenario:
  scenarioc emit -o myscenario
  edit myscenario/Velmora_Dorsel_linea.txt and myscenario/Velmora_Dorsel_904-.txt
  scenarioc compile myscenario/Velmora_Dorsel_linea.txt myscenario/Velmora_Dorsel_904-.txt
Each error is reported as FILE:LINE:COLUMN: error N: what is wrong, with the
position along the route in metres where there is one. To give a scenario its
own name and train number, rename the two files NAME_linea.txt and
NAME_NUMBER-.txt (or compile with --name and --train).
)";

constexpr std::string_view kCompileHelp =
    R"(Usage: scenarioc compile LINE_FILE TRAIN_FILE [-o DIR] [--name NAME] [--train NUMBER] [--json]

Compiles a line file and a train file into the track plan NAME_linea.dat, the
station table NAME_NUMBER.sim and the route cells NAME_NUMBER.dat. The source
files are only read, never changed or deleted.

The scenario name and the train number come from the file names,
NAME_linea.txt and NAME_NUMBER-.txt, unless given:
  --name NAME       the scenario name
  --train NUMBER    the train number
  -o, --output DIR  where the compiled files go (default: the line file's folder;
                    created when missing)
  --json            print one JSON object instead of diagnostics (see the README)

Every error the compiler records is reported, in the order recorded, as
  FILE:LINE:COLUMN: error N: message
for example
  Prova_1-.txt:37:1: error 16: signal at 14800 m: cell 297 already holds a speed-indicator board
The compile goes on after most errors, as the build does, and the compiled
files are still written.

Exit status: 0 nothing recorded; 1 errors recorded, files written; 2 fatal
error (1250, 1251) or no cell row (nothing written), usage error, or a file
that cannot be read or written.
)";

constexpr std::string_view kEmitHelp =
    R"(Usage: scenarioc emit [-o DIR] [--force]

Writes the built-in scenario as a starting point for a new one, without
compiling it: the line file Velmora_Dorsel_linea.txt, the train file
Velmora_Dorsel_904-.txt and the three driver's documents (notes, slowdown
order, train sheet).
  -o, --output DIR  the folder to write into (default: the current folder;
                    created when missing)
  --force           replace files of those names that already exist; without
                    it emit refuses to overwrite an author's work

Exit status: 0 written; 2 usage error or a file that cannot be written.
)";

constexpr std::string_view kDumpHelp =
    R"(Usage: scenarioc dump FILE [--kind KIND] [--json] [--all] [--points]

Decodes a compiled file, recognised by its name or given with --kind:
  NAME_linea.dat   track plan (kind "track"): length, bounding box and total
                   turning; with --points every metre as CSV: metre,x,y
  NAME_NUMBER.sim  station table (kind "stations"): its 87 records
  NAME_NUMBER.dat  route cells (kind "cells"): the cells that hold an object or
                   an approach mark, and the header cell; with --all every cell
Under each cell and record of the text a second, indented line reads its
numbers in units and words (km/h, per mille, metres, seconds, the kind of the
object, the chainage, the station's name at its mark). The cells find the
station table NAME_NUMBER.sim beside them for the names and the chainage.
  --kind KIND      track, stations or cells
  --json           one JSON object instead of text

A file of the wrong size or with a bad tag or record is reported with the byte
offset of the fault.
Exit status: 0 decoded; 2 usage error, unreadable or malformed file.
)";

constexpr std::string_view kReportHelp =
    R"(Usage: scenarioc report LINE_FILE TRAIN_FILE [-o FILE.html] [--name NAME] [--train NUMBER]

Compiles a line file and a train file in memory, as compile does, and draws
the scenario as one HTML page that needs nothing else: the plan of the line,
the profiles along the route (elevation, speed limits, adhesion, mountain
stretches), every object with its values and the source line that placed it,
the errors at their places and the station table. Nothing but the page is
written; the same sources always give the same bytes.
  -o, --output FILE  the page to write (default: NAME_NUMBER_report.html in
                     the line file's folder); its folder is created when missing
  --name NAME        the scenario name (default: from the file names)
  --train NUMBER     the train number (default: from the file names)

The errors the compiler records are also reported on stderr, as compile
reports them.
Exit status: 0 written, nothing recorded; 1 written, errors recorded; 2 usage
error, or a file that cannot be read or written.
)";

}  // namespace

CommandLine parse_command_line(const std::vector<std::string>& args) {
  if (args.empty()) return usage_error(std::nullopt, "no command given");
  const std::string& first = args[0];
  if (is_help(first) || first == "help") {
    CommandLine line;
    line.action = CommandLine::Action::help;
    if (args.size() > 1) {
      if (const CommandSpec* definition = find_command(args[1])) line.command = definition->command;
    }
    return line;
  }
  if (first == "--version") {
    CommandLine line;
    line.action = CommandLine::Action::version;
    return line;
  }
  const CommandSpec* definition = find_command(first);
  if (!definition) return usage_error(std::nullopt, "unknown command '" + first + "'");
  return parse_command_arguments(*definition, args);
}

std::string help_text(std::optional<Command> command) {
  if (!command) return std::string(kToolHelp);
  switch (*command) {
    case Command::compile:
      return std::string(kCompileHelp);
    case Command::emit:
      return std::string(kEmitHelp);
    case Command::dump:
      return std::string(kDumpHelp);
    case Command::report:
      return std::string(kReportHelp);
  }
  return std::string(kToolHelp);
}

std::string version_text() { return "scenarioc 1.0\n"; }

std::string usage_hint(std::optional<Command> command) {
  if (!command) return "Run 'scenarioc --help' for the commands.\n";
  const CommandSpec& definition = definition_of(*command);
  std::string usage = "Usage: scenarioc " + std::string(definition.name);
  if (!definition.file_names.empty()) usage += " " + std::string(definition.file_names);
  return usage + " [options]\nRun 'scenarioc " + std::string(definition.name) +
         " --help' for the options.\n";
}

}  // namespace scenario
