// The table of scenarioc's commands: every row has its help, documents the
// options it takes and no others, and is reached by the command line.
#include "scenarioc/commands.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "test_support.h"
#include "tools/scenarioc/run_scenarioc.h"

namespace scenario::testing {
namespace {

// The long options ("--name") that `text` mentions.
std::set<std::string> long_options_in(const std::string& text) {
  std::set<std::string> names;
  for (size_t at = text.find("--"); at != std::string::npos; at = text.find("--", at + 2)) {
    size_t end = at + 2;
    while (end < text.size() && ((text[end] >= 'a' && text[end] <= 'z') || text[end] == '-')) {
      ++end;
    }
    if (end > at + 2) names.insert(text.substr(at, end - at));
  }
  return names;
}

TEST(CommandsTest, EachCommandsHelpNamesExactlyItsOptions) {
  for (const CommandSpec& command : commands()) {
    SCOPED_TRACE(command.name);
    const std::string help = help_text(&command);
    EXPECT_EQ(help.rfind("Usage: scenarioc " + std::string(command.name), 0), 0u) << help;
    std::set<std::string> names;
    for (const OptionSpec& option : command.options) {
      names.insert(std::string(option.name));
      // "--name NAME", "-o, --output DIR" or "--color=WHEN": the value as the parser takes it.
      const std::string with_value =
          std::string(option.name) + " " + std::string(option.value_name);
      const std::string joined = std::string(option.name) + "=" + std::string(option.value_name);
      if (option.takes_value()) {
        EXPECT_TRUE(help.find(with_value) != std::string::npos ||
                    help.find(joined) != std::string::npos)
            << option.name;
      }
      if (!option.alias.empty()) {
        EXPECT_NE(help.find(std::string(option.alias) + ", " + std::string(option.name)),
                  std::string::npos)
            << option.alias;
      }
    }
    EXPECT_EQ(long_options_in(help), names);
    EXPECT_EQ(help.find("-Werror") != std::string::npos, command.warning_flags);
  }
}

TEST(CommandsTest, EveryCommandIsListedInTheToolsHelp) {
  const std::string help = help_text(nullptr);
  for (const CommandSpec& command : commands()) {
    SCOPED_TRACE(command.name);
    const std::string name(command.name);
    EXPECT_NE(help.find("\n  scenarioc " + name), std::string::npos);
    const std::string summary(command.summary.substr(0, command.summary.find('\n')));
    EXPECT_NE(help.find("\n  " + name + std::string(name.size() < 10 ? 10 - name.size() : 1, ' ') +
                        summary + "\n"),
              std::string::npos);
    EXPECT_EQ(find_command(name), &command);
  }
}

// Through the tool itself: each command's --help, and its usage error for an option it lacks.
TEST(CommandsTest, EachCommandAnswersHelpAndAnUnknownOption) {
  for (const CommandSpec& command : commands()) {
    const std::string name(command.name);
    SCOPED_TRACE(name);
    TempDir dir;
    const ToolRun help = run_scenarioc(dir.path(), {name, "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out, help_text(&command));
    EXPECT_EQ(help.err, "");
    const ToolRun wrong = run_scenarioc(dir.path(), {name, "--no-such-option"});
    EXPECT_EQ(wrong.status, 2);
    EXPECT_EQ(wrong.out, "");
    EXPECT_EQ(wrong.err, "scenarioc: unknown option '--no-such-option' for " + name + "\n" +
                             usage_hint(&command));
    EXPECT_EQ(usage_hint(&command).rfind("Usage: scenarioc " + name, 0), 0u);
    EXPECT_TRUE(list_folder(dir.path()).empty());
  }
}

}  // namespace
}  // namespace scenario::testing
