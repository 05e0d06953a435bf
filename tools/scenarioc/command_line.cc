#include "scenarioc/command_line.h"

#include <array>
#include <string_view>

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

struct OptionSpec {
  std::string_view name;   // "--name"
  std::string_view alias;  // a one-letter form, or empty
  bool takes_value;
  // Returns what is wrong with the value; empty when it was taken.
  std::string (*apply)(CommandLine&, const std::string&);
};

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
constexpr OptionSpec kOut{"--output", "-o", true,
                          [](CommandLine& c, Value v) { return set(c.out_dir, v); }};
constexpr OptionSpec kOutFile{"--output", "-o", true,
                              [](CommandLine& c, Value v) { return set(c.out_file, v); }};
constexpr OptionSpec kName{"--name", "", true,
                           [](CommandLine& c, Value v) { return set(c.name, v); }};
constexpr OptionSpec kTrain{"--train", "", true,
                            [](CommandLine& c, Value v) { return set(c.train, v); }};
constexpr OptionSpec kKind{"--kind", "", true,
                           [](CommandLine& c, Value v) { return set(c.kind, v); }};
constexpr OptionSpec kJson{"--json", "", false, [](CommandLine& c, Value) { return set(c.json); }};
constexpr OptionSpec kAll{"--all", "", false, [](CommandLine& c, Value) { return set(c.all); }};
constexpr OptionSpec kPoints{"--points", "", false,
                             [](CommandLine& c, Value) { return set(c.points); }};
constexpr OptionSpec kForce{"--force", "", false,
                            [](CommandLine& c, Value) { return set(c.force); }};
constexpr OptionSpec kReport{"--report", "", true,
                             [](CommandLine& c, Value v) { return set(c.report_file, v); }};
constexpr OptionSpec kColour{"--color", "", true, set_colour};
constexpr OptionSpec kJobs{"--jobs", "-j", true, set_jobs};

struct CommandSpec {
  Command command;
  std::string_view name;
  size_t min_files;  // how many positional arguments it takes
  size_t max_files;
  std::string_view file_names;
  bool warning_flags;  // takes -Werror and -Wno-NAME
  std::vector<OptionSpec> options;
};

constexpr size_t kAnyNumber = static_cast<size_t>(-1);

const std::array<CommandSpec, 8>& commands() {
  static const std::array<CommandSpec, 8> definitions = {{
      {Command::compile,
       "compile",
       2,
       2,
       "LINE_FILE TRAIN_FILE",
       true,
       {kOut, kName, kTrain, kJson, kColour}},
      {Command::check,
       "check",
       1,
       kAnyNumber,
       "LINE_FILE TRAIN_FILE or FOLDER...",
       true,
       {kName, kTrain, kJson, kColour, kJobs}},
      {Command::emit, "emit", 0, 0, "", false, {kOut, kForce}},
      {Command::dump, "dump", 1, 1, "FILE", false, {kKind, kJson, kAll, kPoints}},
      {Command::report,
       "report",
       1,
       3,
       "LINE_FILE TRAIN_FILE or TRACK_PLAN STATION_TABLE CELLS or FOLDER",
       false,
       {kOutFile, kName, kTrain}},
      {Command::watch,
       "watch",
       2,
       2,
       "LINE_FILE TRAIN_FILE",
       true,
       {kOut, kReport, kName, kTrain, kColour}},
      {Command::lsp, "lsp", 0, 0, "", false, {}},
      {Command::decompile,
       "decompile",
       1,
       3,
       "TRACK_PLAN STATION_TABLE CELLS or FOLDER",
       false,
       {kOut, kName, kTrain}},
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

// A one-letter option with its value joined to it, as in "-j4"; none otherwise.
const OptionSpec* find_joined_option(const CommandSpec& definition, std::string_view arg) {
  if (arg.size() <= 2 || arg[1] == '-') return nullptr;
  const OptionSpec* option = find_option(definition, arg.substr(0, 2));
  return option && option->takes_value ? option : nullptr;
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
    if (definition.warning_flags && is_warning_flag(arg)) {
      std::string error = apply_warning_flag(line.warnings, arg);
      if (!error.empty()) return usage_error(definition.command, std::move(error));
      continue;
    }
    if (const OptionSpec* joined = find_joined_option(definition, arg)) {
      std::string error = joined->apply(line, arg.substr(2));
      if (!error.empty()) return usage_error(definition.command, std::move(error));
      continue;
    }
    const size_t equals = arg.rfind("--", 0) == 0 ? arg.find('=') : std::string::npos;
    const std::string flag = arg.substr(0, equals);
    const OptionSpec* option = find_option(definition, flag);
    if (!option) {
      return usage_error(definition.command,
                         "unknown option '" + flag + "' for " + std::string(definition.name));
    }
    std::string error;
    if (!option->takes_value) {
      if (equals != std::string::npos) {
        return usage_error(definition.command, "option '" + flag + "' takes no value");
      }
      error = option->apply(line, "");
    } else if (equals != std::string::npos) {
      error = option->apply(line, arg.substr(equals + 1));
    } else if (i + 1 < args.size()) {
      error = option->apply(line, args[++i]);
    } else {
      return usage_error(definition.command, "option '" + flag + "' needs a value");
    }
    if (!error.empty()) return usage_error(definition.command, std::move(error));
  }
  if (line.files.size() < definition.min_files || line.files.size() > definition.max_files) {
    const std::string wanted =
        definition.max_files == 0 ? "no file names" : std::string(definition.file_names);
    return usage_error(definition.command, std::string(definition.name) + " takes " + wanted +
                                               ", " + std::to_string(line.files.size()) + " given");
  }
  line.action = CommandLine::Action::run;
  return line;
}

constexpr std::string_view kToolHelp =
    R"(scenarioc: the authoring tool of the scenario compiler. It compiles a scenario's
two source files into the three files the simulator loads, checks scenarios
for errors and warnings, emits the built-in scenario as a starting point,
decodes compiled files, and draws a scenario as a page to look at.

Usage:
  scenarioc compile LINE_FILE TRAIN_FILE [-o DIR] [--name NAME] [--train NUMBER] [--json]
                    [-Werror] [-Wno-NAME] [--color=WHEN]
  scenarioc check LINE_FILE TRAIN_FILE | FOLDER... [-j N] [--json] [-Werror] [-Wno-NAME]
                  [--color=WHEN]
  scenarioc emit [-o DIR] [--force]
  scenarioc dump FILE [--kind KIND] [--json] [--all] [--points]
  scenarioc report LINE_FILE TRAIN_FILE [-o FILE.html] [--name NAME] [--train NUMBER]
  scenarioc report TRACK_PLAN STATION_TABLE CELLS | FOLDER [-o FILE.html]
  scenarioc decompile TRACK_PLAN STATION_TABLE CELLS | FOLDER [-o DIR] [--name NAME]
                      [--train NUMBER]
  scenarioc watch LINE_FILE TRAIN_FILE [-o DIR] [--report FILE.html] [--name NAME]
                  [--train NUMBER] [-Werror] [-Wno-NAME] [--color=WHEN]
  scenarioc lsp
  scenarioc --help            this text
  scenarioc COMMAND --help    the options of one command
  scenarioc --version

Commands:
  compile   compile NAME_linea.txt and NAME_NUMBER-.txt into NAME_linea.dat,
            NAME_NUMBER.sim and NAME_NUMBER.dat
  check     report every error and warning of one scenario, or of every
            scenario under folders, writing nothing
  emit      write the built-in scenario's two source files and three documents
  dump      decode a compiled file as a table or as JSON
  report    draw a scenario as one HTML page: plan, profiles, every object
  decompile turn a compiled set back into the two sources that compile to it
  watch     compile again each time a source is saved, the report too
  lsp       serve an editor as a language server on stdin and stdout

Exit status:
  0  nothing to report (warnings aside)
  1  errors were recorded (for compile: the compiled files were written all
     the same), or warnings under -Werror
  2  fatal error, usage error, no compiled file written, or a file that
     cannot be read or written

A first scenario:
  scenarioc emit -o myscenario
  edit myscenario/Velmora_Dorsel_linea.txt and myscenario/Velmora_Dorsel_904-.txt
  scenarioc compile myscenario/Velmora_Dorsel_linea.txt myscenario/Velmora_Dorsel_904-.txt
Each error is reported as FILE:LINE:COLUMN: error N: what is wrong, with the
position along the route in metres where there is one, and each warning as
FILE:LINE:COLUMN: warning: what was read [-WNAME]; under each, the source line
and a caret under the column. To give a scenario its own name and train
number, rename the two files NAME_linea.txt and NAME_NUMBER-.txt (or compile
with --name and --train).
)";

// The -W and --color options of compile and check, every warning class named.
std::string warning_options_help() {
  const std::string indent(20, ' ');
  std::string text =
      "  -Wno-NAME         do not show the warnings of class NAME (-WNAME shows them\n" + indent +
      "again); the classes:\n";
  std::string row = indent;
  for (const WarningClassName& c : warning_classes()) {
    const std::string item = std::string(c.name) + ",";
    if (row.size() > indent.size() && row.size() + 1 + item.size() > 79) {
      text += row + "\n";
      row = indent;
    }
    row += (row.size() > indent.size() ? " " : "") + item;
  }
  row.pop_back();  // the last comma
  text += row + "\n";
  return text +
         "  -Werror           count the warnings shown as errors (exit status 1)\n"
         "  --color=WHEN      colour the diagnostics: auto (the default: only on a\n"
         "                    terminal, and not when NO_COLOR is set), always or never\n";
}

constexpr std::string_view kCompileHelp =
    R"(Usage: scenarioc compile LINE_FILE TRAIN_FILE [-o DIR] [--name NAME] [--train NUMBER] [--json]
                         [-Werror] [-Wno-NAME] [--color=WHEN]

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
)";

constexpr std::string_view kCompileHelpEnd =
    R"(
Every error the compiler records is reported on stderr, in the order
recorded, as
  FILE:LINE:COLUMN: error N: message
and every warning, where it lies in the sources, as
  FILE:LINE:COLUMN: warning: message [-WNAME]
each followed by its source line with a caret under the column, for example
  Prova_1-.txt:37:1: error 16: signal at 14800 m: cell 297 already holds a speed-indicator board
     37 | segnale,   14800,   2, 4, 0,  0, 0,    2,  1,0,0, 0
        | ^
The compile goes on after most errors, as the build does, and the compiled
files are still written. A warning never changes a compiled file.

Exit status: 0 nothing recorded (warnings aside); 1 errors recorded, files
written, or warnings under -Werror; 2 fatal error (1250, 1251) or no cell row
(nothing written), usage error, or a file that cannot be read or written.
)";

constexpr std::string_view kCheckHelp =
    R"(Usage: scenarioc check LINE_FILE TRAIN_FILE [--name NAME] [--train NUMBER] [options]
       scenarioc check FOLDER... [options]

Checks scenarios without writing anything: every error a compile would
record, every warning, and the errors that lie beyond the point where a
compile stops (marked as such). Given folders, it finds every line file
NAME_linea.txt under them, at any depth, with each train file NAME_NUMBER-.txt
beside it, and checks every pair, several at once. The diagnostics and one
summary line per scenario go to stdout, in the order of the file names.
  --name NAME       with LINE_FILE TRAIN_FILE: the scenario name, when the
                    file names do not give it
  --train NUMBER    the same for the train number
  -j, --jobs N      check N scenarios at once (default: one per processor)
  --json            one JSON object per scenario, one a line (JSON Lines;
                    see the README)
)";

constexpr std::string_view kCheckHelpEnd =
    R"(
Exit status: 0 no scenario has an error (warnings aside); 1 a scenario has an
error, a line file has no train file beside it or a train file no line file,
or a warning is shown under -Werror; 2 usage error, or a file or folder that
cannot be read.
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
       scenarioc report TRACK_PLAN STATION_TABLE CELLS | FOLDER [-o FILE.html]

Compiles a line file and a train file in memory, as compile does, and draws
the scenario as one HTML page that needs nothing else: the plan of the line,
the profiles along the route (elevation, speed limits, adhesion, mountain
stretches), every object with its values and the source line that placed it,
the errors at their places and the station table. Nothing but the page is
written; the same sources always give the same bytes. Given a compiled set
(its three files, or a folder holding one) it draws the sources that
`scenarioc decompile` writes for it, as they compile in memory.
  -o, --output FILE  the page to write (default: NAME_NUMBER_report.html in
                     the first file's folder); its folder is created when missing
  --name NAME        the scenario name (default: from the file names)
  --train NUMBER     the train number (default: from the file names)

The errors the compiler records are also reported on stderr, as compile
reports them.
Exit status: 0 written, nothing recorded; 1 written, errors recorded; 2 usage
error, or a file that cannot be read or written.
)";

constexpr std::string_view kDecompileHelp =
    R"(Usage: scenarioc decompile TRACK_PLAN STATION_TABLE CELLS [-o DIR] [--name NAME] [--train NUMBER]
       scenarioc decompile FOLDER [-o DIR] [--name NAME] [--train NUMBER]

Turns a compiled set, the track plan NAME_linea.dat, the station table
NAME_NUMBER.sim and the route cells NAME_NUMBER.dat (or a folder holding one
such set), back into the line file NAME_linea.txt and the train file
NAME_NUMBER-.txt, laid out as emit lays them out, and compiles them in memory
to check that they give the same three files byte for byte. Comments and the
layout of the original sources are not in a compiled set; see
docs/decompile.md for what else it cannot hold.
  -o, --output DIR  where the sources go (default: the station table's
                    folder; created when missing); existing sources are
                    never overwritten
  --name NAME       the scenario name of the written files (default: the one
                    the station table holds)
  --train NUMBER    the train number of the written files (default: the same)

A set that no compile writes (damaged, edited by hand, from another tool) is
refused with the file, the cell, record or metre at fault and the rule it
breaks. A set that a compile wrote after recording errors is decompiled as
far as it holds, with a warning for what the sources do not give back.
Exit status: 0 written, the same bytes; 1 written with warnings; 2 usage
error, a set that cannot be decompiled, or a file that cannot be read or
written.
)";

constexpr std::string_view kWatchHelp =
    R"(Usage: scenarioc watch LINE_FILE TRAIN_FILE [-o DIR] [--report FILE.html] [--name NAME]
                       [--train NUMBER] [-Werror] [-Wno-NAME] [--color=WHEN]

Compiles the two files as compile does, then again each time either of them
is saved, and shows the diagnostics of each compile afresh (on a terminal the
screen is cleared first). It watches the files' folders, so that an editor
that saves by writing a new file and renaming it over the old one is seen, and
a burst of writes gives one compile. Ctrl-C ends it.
  -o, --output DIR     where the compiled files go (default: the line file's
                       folder)
  --report FILE.html   also rewrite this report page at each compile; the page,
                       open in a browser, reloads itself when it changes
  --name NAME          the scenario name (default: from the file names)
  --train NUMBER       the train number (default: from the file names)
)";

constexpr std::string_view kWatchHelpEnd =
    R"(
Exit status: 0 ended by Ctrl-C (or SIGTERM); 2 usage error, or a folder that
cannot be watched. A compile's errors do not end it.
)";

constexpr std::string_view kLspHelp =
    R"(Usage: scenarioc lsp

Serves an editor as a language server (the Language Server Protocol, JSON-RPC
with Content-Length framing) on standard input and output. It compiles each
open line or train file with its partner, paired by their names as check
pairs them, from the text in the editor, saved or not, and publishes the
errors and warnings as compile words them; hover on a record shows what the
compiler made of it; completion offers the record keywords with their
values; go to definition on a diagnostic goes to the record its note names.
docs/editors.md shows how to set it up in VS Code, Neovim and Emacs.

Exit status: 0 after shutdown and exit; 1 when the input ends before them.
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
      return std::string(kCompileHelp) + warning_options_help() + std::string(kCompileHelpEnd);
    case Command::check:
      return std::string(kCheckHelp) + warning_options_help() + std::string(kCheckHelpEnd);
    case Command::emit:
      return std::string(kEmitHelp);
    case Command::dump:
      return std::string(kDumpHelp);
    case Command::report:
      return std::string(kReportHelp);
    case Command::watch:
      return std::string(kWatchHelp) + warning_options_help() + std::string(kWatchHelpEnd);
    case Command::lsp:
      return std::string(kLspHelp);
    case Command::decompile:
      return std::string(kDecompileHelp);
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
