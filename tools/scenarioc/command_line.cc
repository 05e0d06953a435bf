#include "scenarioc/command_line.h"

#include <string_view>
#include <utility>

#include "scenarioc/commands.h"

namespace scenario {
namespace {

bool is_help(std::string_view arg) { return arg == "--help" || arg == "-h"; }

CommandLine usage_error(const CommandSpec* command, std::string error) {
  CommandLine line;
  line.action = CommandLine::Action::usage_error;
  line.command = command;
  line.error = std::move(error);
  return line;
}

const OptionSpec* find_option(const CommandSpec& command, std::string_view flag) {
  for (const OptionSpec& option : command.options) {
    if (flag == option.name || (!option.alias.empty() && flag == option.alias)) return &option;
  }
  return nullptr;
}

// A one-letter option with its value joined to it, as in "-j4"; none otherwise.
const OptionSpec* find_joined_option(const CommandSpec& command, std::string_view arg) {
  if (arg.size() <= 2 || arg[1] == '-') return nullptr;
  const OptionSpec* option = find_option(command, arg.substr(0, 2));
  return option && option->takes_value() ? option : nullptr;
}

// Reads the arguments after the command name.
CommandLine parse_command_arguments(const CommandSpec& command,
                                    const std::vector<std::string>& args) {
  CommandLine line;
  line.command = &command;
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
    if (command.warning_flags && is_warning_flag(arg)) {
      std::string error = apply_warning_flag(line.warnings, arg);
      if (!error.empty()) return usage_error(&command, std::move(error));
      continue;
    }
    if (const OptionSpec* joined = find_joined_option(command, arg)) {
      std::string error = joined->apply(line, arg.substr(2));
      if (!error.empty()) return usage_error(&command, std::move(error));
      continue;
    }
    const size_t equals = arg.rfind("--", 0) == 0 ? arg.find('=') : std::string::npos;
    const std::string flag = arg.substr(0, equals);
    const OptionSpec* option = find_option(command, flag);
    if (!option) {
      return usage_error(&command,
                         "unknown option '" + flag + "' for " + std::string(command.name));
    }
    std::string error;
    if (!option->takes_value()) {
      if (equals != std::string::npos) {
        return usage_error(&command, "option '" + flag + "' takes no value");
      }
      error = option->apply(line, "");
    } else if (equals != std::string::npos) {
      error = option->apply(line, arg.substr(equals + 1));
    } else if (i + 1 < args.size()) {
      error = option->apply(line, args[++i]);
    } else {
      return usage_error(&command, "option '" + flag + "' needs a value");
    }
    if (!error.empty()) return usage_error(&command, std::move(error));
  }
  if (line.files.size() < command.min_operands || line.files.size() > command.max_operands) {
    const std::string wanted =
        command.max_operands == 0 ? "no file names" : std::string(command.operands);
    return usage_error(&command, std::string(command.name) + " takes " + wanted + ", " +
                                     std::to_string(line.files.size()) + " given");
  }
  line.action = CommandLine::Action::run;
  return line;
}

}  // namespace

CommandLine parse_command_line(const std::vector<std::string>& args) {
  if (args.empty()) return usage_error(nullptr, "no command given");
  const std::string& first = args[0];
  if (is_help(first) || first == "help") {
    CommandLine line;
    line.action = CommandLine::Action::help;
    if (args.size() > 1) line.command = find_command(args[1]);
    return line;
  }
  if (first == "--version") {
    CommandLine line;
    line.action = CommandLine::Action::version;
    return line;
  }
  const CommandSpec* command = find_command(first);
  if (!command) return usage_error(nullptr, "unknown command '" + first + "'");
  return parse_command_arguments(*command, args);
}

}  // namespace scenario
