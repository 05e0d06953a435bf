// The options of scenarioc's commands: each with its names, its value and
// where the value goes in the CommandLine. The table of commands (commands.cc)
// lists which of them each command takes.
#pragma once

#include "scenarioc/commands.h"

namespace scenario::options {

extern const OptionSpec output_folder;  // -o, --output DIR
extern const OptionSpec output_file;    // -o, --output FILE
extern const OptionSpec name;           // --name NAME
extern const OptionSpec train;          // --train NUMBER
extern const OptionSpec kind;           // --kind KIND
extern const OptionSpec json;           // --json
extern const OptionSpec csv;            // --csv
extern const OptionSpec model;          // --model FILE
extern const OptionSpec all;            // --all
extern const OptionSpec points;         // --points
extern const OptionSpec force;          // --force
extern const OptionSpec report;         // --report FILE.html
extern const OptionSpec documents;      // --documents
extern const OptionSpec details;        // --details FILE
extern const OptionSpec colour;         // --color=WHEN
extern const OptionSpec jobs;           // -j, --jobs N

}  // namespace scenario::options
