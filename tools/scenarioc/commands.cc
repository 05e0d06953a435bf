#include "scenarioc/commands.h"

#include <algorithm>

#include "scenarioc/check/check_command.h"
#include "scenarioc/command_line.h"
#include "scenarioc/command_options.h"
#include "scenarioc/compile/compile_command.h"
#include "scenarioc/decompile/decompile_command.h"
#include "scenarioc/documents/documents_command.h"
#include "scenarioc/dump/dump_command.h"
#include "scenarioc/emit/emit_command.h"
#include "scenarioc/lsp/lsp_command.h"
#include "scenarioc/output/warning_settings.h"
#include "scenarioc/report/report_command.h"
#include "scenarioc/timetable/timetable_command.h"
#include "scenarioc/version.h"
#include "scenarioc/watch/watch_command.h"

namespace scenario {
namespace {

constexpr std::string_view kToolHelpStart =
    R"(scenarioc: the authoring tool of the scenario compiler. It compiles a scenario's
two source files into the three files the simulator loads, checks scenarios
for errors and warnings, emits the built-in scenario as a starting point,
decodes compiled files, draws a scenario as a page to look at, and sets a
scenario's timetable beside the fastest run of its train.

Usage:
)";

constexpr std::string_view kToolHelpEnd =
    R"(
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
                         [--documents] [--details FILE] [-Werror] [-Wno-NAME] [--color=WHEN]

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
  --documents       also write the crew documents beside the compiled files, as
                    'scenarioc documents' writes them
  --details FILE    the documents' details (default: NAME_NUMBER_details.json
                    beside the train file, when there is one)
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
       scenarioc report TRACK_PLAN STATION_TABLE CELLS | FOLDER [-o FILE.html] [--name NAME]
                        [--train NUMBER]

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
  --name NAME        the scenario name (default: from the file names, or the
                     one a compiled set's station table holds)
  --train NUMBER     the train number (default: the same way)

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

constexpr std::string_view kTimetableHelp =
    R"(Usage: scenarioc timetable LINE_FILE TRAIN_FILE [--model FILE] [--json] [--csv]
       scenarioc timetable TRACK_PLAN STATION_TABLE CELLS | FOLDER [--model FILE] [--json]
                           [--csv]

Compiles a line file and a train file in memory, as compile does, works out
the fastest run of the train that keeps every speed limit, slowdown and stop,
and sets the timetable beside it: one row per section between two stations
that have a time, with its distance, its scheduled time, the least time the
train needs (its stops included), the margin left in seconds and in percent
of that least time, and the verdict: kept, short of recovery margin (less than
the share of the running time recommended for passenger trains) or cannot be
kept; then the totals. docs/timetable.md describes the calculation. Given a
compiled set (its three files, or a folder holding one) it runs over the
sources that `scenarioc decompile` writes for it, as they compile in memory.
  --model FILE  the train to run: a train-model file of NAME = VALUE lines
                (default: NAME_NUMBER_model.txt beside the train file when it
                is there, otherwise the model's defaults)
  --json        one JSON object instead of the table: the sections, and the
                run's position, speed and time at every 50 m
  --csv         the sections as comma-separated values, with a header line

Exit status: 0 every section can be kept; 1 a section cannot be kept; 2 usage
error, a file that cannot be read, a bad train-model file, a compile that
recorded errors, or a route the train cannot run.
)";

constexpr std::string_view kWatchHelp =
    R"(Usage: scenarioc watch LINE_FILE TRAIN_FILE [-o DIR] [--report FILE.html] [--name NAME]
                       [--train NUMBER] [--documents] [--details FILE]
                       [-Werror] [-Wno-NAME] [--color=WHEN]

Compiles the two files as compile does, then again each time either of them
(or the train-model file NAME_NUMBER_model.txt beside the train file) is
saved, and shows the diagnostics of each compile afresh (on a terminal the
screen is cleared first). It watches the files' folders, so that an editor
that saves by writing a new file and renaming it over the old one is seen, and
a burst of writes gives one compile. Ctrl-C ends it.
  -o, --output DIR     where the compiled files go (default: the line file's
                       folder)
  --report FILE.html   also rewrite this report page at each compile; the page,
                       open in a browser, reloads itself when it changes
  --name NAME          the scenario name (default: from the file names)
  --train NUMBER       the train number (default: from the file names)
  --documents          also rewrite the crew documents at each compile, and
                       compile again when the details file is saved
  --details FILE       the documents' details (default: NAME_NUMBER_details.json
                       beside the train file)
)";

constexpr std::string_view kWatchHelpEnd =
    R"(
Exit status: 0 ended by Ctrl-C (or SIGTERM); 2 usage error, or a folder that
cannot be watched. A compile's errors do not end it.
)";

constexpr std::string_view kDocumentsHelp =
    R"(Usage: scenarioc documents LINE_FILE TRAIN_FILE [-o DIR] [--name NAME] [--train NUMBER]
                           [--details FILE]

Compiles a line file and a train file in memory, as compile does, and writes
the scenario's three crew documents in the layouts of the built-in ones:
NAME_NUMBER_note.txt, NAME_NUMBER_rallentamenti.txt and
NAME_NUMBER_scheda_treno.txt (Windows-1252, CR LF), replaced as a set. The
slowdown order and the train sheet are computed from the sources; what they
do not hold (the train's category, rank, maximum speed and blocked mass, the
passing times, the recovery allowances, footnotes, the notes' text) comes
from the details file, a JSON file described in docs/documents.md. A value
that neither gives shows the form's placeholder (xxx), and a note says so.
  -o, --output DIR  where the documents go (default: the line file's folder;
                    created when missing)
  --name NAME       the scenario name (default: from the file names)
  --train NUMBER    the train number (default: from the file names)
  --details FILE    the details (default: NAME_NUMBER_details.json beside the
                    train file, when there is one)

The compiler's errors and warnings are reported on stderr, as compile reports
them, and so is each fault of the details file, as FILE:LINE: error: ...
Exit status: 0 written; 1 written, errors recorded; 2 usage error, a fault in
the details, no cell row, or a file that cannot be read or written.
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

const std::vector<CommandSpec>& commands() {
  static const std::vector<CommandSpec> table = {
      {.name = "compile",
       .operands = "LINE_FILE TRAIN_FILE",
       .min_operands = 2,
       .max_operands = 2,
       .warning_flags = true,
       .options = {options::output_folder, options::name, options::train, options::json,
                   options::colour, options::documents, options::details},
       .synopsis = "LINE_FILE TRAIN_FILE [-o DIR] [--name NAME] [--train NUMBER] [--json]\n"
                   "[--documents] [--details FILE] [-Werror] [-Wno-NAME] [--color=WHEN]",
       .summary = "compile NAME_linea.txt and NAME_NUMBER-.txt into NAME_linea.dat,\n"
                  "NAME_NUMBER.sim and NAME_NUMBER.dat",
       .help = kCompileHelp,
       .help_end = kCompileHelpEnd,
       .run = run_compile},
      {.name = "check",
       .operands = "LINE_FILE TRAIN_FILE or FOLDER...",
       .min_operands = 1,
       .max_operands = kAnyNumber,
       .warning_flags = true,
       .options = {options::name, options::train, options::json, options::colour, options::jobs},
       .synopsis = "LINE_FILE TRAIN_FILE | FOLDER... [-j N] [--json] [-Werror] [-Wno-NAME]\n"
                   "[--color=WHEN]",
       .summary = "report every error and warning of one scenario, or of every\n"
                  "scenario under folders, writing nothing",
       .help = kCheckHelp,
       .help_end = kCheckHelpEnd,
       .run = run_check},
      {.name = "emit",
       .options = {options::output_folder, options::force},
       .synopsis = "[-o DIR] [--force]",
       .summary = "write the built-in scenario's two source files and three documents",
       .help = kEmitHelp,
       .run = run_emit},
      {.name = "dump",
       .operands = "FILE",
       .min_operands = 1,
       .max_operands = 1,
       .options = {options::kind, options::json, options::all, options::points},
       .synopsis = "FILE [--kind KIND] [--json] [--all] [--points]",
       .summary = "decode a compiled file as a table or as JSON",
       .help = kDumpHelp,
       .run = run_dump},
      {.name = "report",
       .operands = "LINE_FILE TRAIN_FILE or TRACK_PLAN STATION_TABLE CELLS or FOLDER",
       .min_operands = 1,
       .max_operands = 3,
       .options = {options::output_file, options::name, options::train},
       .synopsis = "LINE_FILE TRAIN_FILE | TRACK_PLAN STATION_TABLE CELLS | FOLDER\n"
                   "[-o FILE.html] [--name NAME] [--train NUMBER]",
       .summary = "draw a scenario as one HTML page: plan, profiles, every object",
       .help = kReportHelp,
       .run = run_report},
      {.name = "decompile",
       .operands = "TRACK_PLAN STATION_TABLE CELLS or FOLDER",
       .min_operands = 1,
       .max_operands = 3,
       .options = {options::output_folder, options::name, options::train},
       .synopsis = "TRACK_PLAN STATION_TABLE CELLS | FOLDER [-o DIR] [--name NAME]\n"
                   "[--train NUMBER]",
       .summary = "turn a compiled set back into the two sources that compile to it",
       .help = kDecompileHelp,
       .run = run_decompile},
      {.name = "timetable",
       .operands = "LINE_FILE TRAIN_FILE or TRACK_PLAN STATION_TABLE CELLS or FOLDER",
       .min_operands = 1,
       .max_operands = 3,
       .options = {options::model, options::json, options::csv},
       .synopsis = "LINE_FILE TRAIN_FILE | TRACK_PLAN STATION_TABLE CELLS | FOLDER\n"
                   "[--model FILE] [--json] [--csv]",
       .summary = "set the timetable beside the fastest run of the train, section by\n"
                  "section",
       .help = kTimetableHelp,
       .run = run_timetable},
      {.name = "watch",
       .operands = "LINE_FILE TRAIN_FILE",
       .min_operands = 2,
       .max_operands = 2,
       .warning_flags = true,
       .options = {options::output_folder, options::report, options::name, options::train,
                   options::colour, options::documents, options::details},
       .synopsis = "LINE_FILE TRAIN_FILE [-o DIR] [--report FILE.html] [--name NAME]\n"
                   "[--train NUMBER] [--documents] [--details FILE] [-Werror] [-Wno-NAME]\n"
                   "[--color=WHEN]",
       .summary = "compile again each time a source is saved, the report too",
       .help = kWatchHelp,
       .help_end = kWatchHelpEnd,
       .run = run_watch},
      {.name = "documents",
       .operands = "LINE_FILE TRAIN_FILE",
       .min_operands = 2,
       .max_operands = 2,
       .options = {options::output_folder, options::name, options::train, options::details},
       .synopsis = "LINE_FILE TRAIN_FILE [-o DIR] [--name NAME] [--train NUMBER]\n"
                   "[--details FILE]",
       .summary = "write a scenario's crew documents: notes, slowdown order and train\n"
                  "sheet, computed from its sources",
       .help = kDocumentsHelp,
       .run = run_documents},
      {.name = "lsp",
       .summary = "serve an editor as a language server on stdin and stdout",
       .help = kLspHelp,
       .run = run_lsp},
  };
  return table;
}

const CommandSpec* find_command(std::string_view name) {
  for (const CommandSpec& command : commands()) {
    if (command.name == name) return &command;
  }
  return nullptr;
}

namespace {

// `text` with every line after the first indented by `indent` spaces.
std::string indented(std::string_view text, size_t indent) {
  std::string result;
  for (char c : text) {
    result += c;
    if (c == '\n') result.append(indent, ' ');
  }
  return result;
}

constexpr size_t kSummaryColumn = 12;

std::string tool_help() {
  std::string text(kToolHelpStart);
  for (const CommandSpec& command : commands()) {
    const std::string usage = "  scenarioc " + std::string(command.name);
    text += usage;
    if (!command.synopsis.empty()) {
      text += " " + indented(command.synopsis, usage.size() + 1);
    }
    text += "\n";
  }
  text +=
      "  scenarioc --help            this text\n"
      "  scenarioc COMMAND --help    the options of one command\n"
      "  scenarioc --version\n"
      "\n"
      "Commands:\n";
  for (const CommandSpec& command : commands()) {
    std::string name = "  " + std::string(command.name);
    name.resize(std::max(kSummaryColumn, name.size() + 1), ' ');
    text += name + indented(command.summary, kSummaryColumn) + "\n";
  }
  return text + std::string(kToolHelpEnd);
}

}  // namespace

std::string help_text(const CommandSpec* command) {
  if (!command) return tool_help();
  std::string text(command->help);
  if (command->warning_flags) text += warning_options_help();
  return text + std::string(command->help_end);
}

std::string version_text() { return "scenarioc " + std::string(scenarioc_version()) + "\n"; }

std::string usage_hint(const CommandSpec* command) {
  if (!command) return "Run 'scenarioc --help' for the commands.\n";
  std::string usage = "Usage: scenarioc " + std::string(command->name);
  if (!command->operands.empty()) usage += " " + std::string(command->operands);
  return usage + " [options]\nRun 'scenarioc " + std::string(command->name) +
         " --help' for the options.\n";
}

}  // namespace scenario
