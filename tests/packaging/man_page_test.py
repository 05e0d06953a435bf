#!/usr/bin/env python3
"""Keeps the manual page in step with the help of the scenarioc it documents:
every command that `scenarioc --help` lists has a section in the page, every
option that `scenarioc COMMAND --help` names appears in that command's
section, and the other way round; an option the page names outside the
commands is one the help names or one the program accepts. The page also
formats without a warning from groff. Skips (77) without groff.

    man_page_test.py SCENARIOC MAN_PAGE MAN_PAGE_SOURCE
"""
import re
import shutil
import subprocess
import sys

# An option as the help and the page write it: "-o", "--output", "-Wno-NAME";
# "--color=WHEN" gives "--color".
OPTION = re.compile(r"(?<![A-Za-z0-9_-])--?[A-Za-z][A-Za-z0-9-]*")

faults = []


def fault(text):
    faults.append(text)


def run(args):
    return subprocess.run(args, capture_output=True, text=True, timeout=60)


def options_in(text):
    return set(OPTION.findall(text))


def tool_commands(help_text):
    """The first word of each line of the block "Commands:"."""
    commands, inside = [], False
    for line in help_text.splitlines():
        if line.startswith("Commands:"):
            inside = True
        elif inside and line and not line.startswith(" "):
            inside = False
        elif inside and re.match(r"^  [a-z]", line):
            commands.append(line.split()[0])
    return commands


def page_sections(page):
    """The formatted page as {SECTION: text} and {COMMAND: text} for the
    subsections of COMMANDS."""
    sections, commands = {}, {}
    section = subsection = None
    for line in page.splitlines():
        if re.match(r"^[A-Z][A-Z ]*$", line):
            section, subsection = line.strip(), None
            sections[section] = ""
            continue
        if section == "COMMANDS" and re.match(r"^   \S", line):
            subsection = line.split()[0]
            commands[subsection] = ""
            continue
        if section is None:
            continue
        if subsection is not None:
            commands[subsection] += line + "\n"
        else:
            sections[section] += line + "\n"
    return sections, commands


def waiting_entries(source):
    """The commands whose entries wait in the page source's .ig block."""
    waiting, ignored = set(), False
    for line in source.splitlines():
        if line.startswith(".ig"):
            ignored = True
        elif line.startswith(".."):
            ignored = False
        elif ignored and line.startswith(".SS "):
            waiting.add(line.split()[1])
    return waiting


def accepted(scenarioc, option, commands):
    """Whether the program takes `option`, alone or before a command's --help."""
    if run([scenarioc, option]).returncode == 0:
        return True
    return any(run([scenarioc, c, option, "--help"]).returncode == 0 for c in commands)


def main():
    scenarioc, man_page, man_source = sys.argv[1:4]
    groff = shutil.which("groff")
    if groff is None:
        print("groff is missing: test skipped")
        return 77

    # A line length no paragraph reaches, so that no option is split at a line end.
    formatted = run([groff, "-man", "-Tascii", "-P-cbou", "-rLL=400n", "-ww", man_page])
    if formatted.returncode != 0 or formatted.stderr:
        fault("groff formats the page with warnings:\n" + formatted.stderr)
    sections, page_commands = page_sections(formatted.stdout)
    with open(man_source, encoding="utf-8") as f:
        waiting = waiting_entries(f.read())

    tool_help = run([scenarioc, "--help"]).stdout
    commands = tool_commands(tool_help)
    if not commands:
        fault("scenarioc --help lists no command under 'Commands:'")
    command_help = {c: run([scenarioc, c, "--help"]).stdout for c in commands}

    for command in commands:
        if command not in page_commands:
            hint = (" (its entry waits in the .ig block of commands being added: move it out)"
                    if command in waiting else "")
            fault("command '%s' is in scenarioc --help but has no section in the page%s"
                  % (command, hint))
    for command in page_commands:
        if command not in commands:
            fault("the page has a section for command '%s', which scenarioc --help does not list"
                  % command)

    for command in commands:
        if command not in page_commands:
            continue
        in_help = options_in(command_help[command])
        in_page = options_in(page_commands[command])
        for option in sorted(in_help - in_page):
            fault("'scenarioc %s --help' names %s, which the page's %s section does not"
                  % (command, option, command))
        for option in sorted(in_page - in_help):
            fault("the page's %s section names %s, which 'scenarioc %s --help' does not"
                  % (command, option, command))

    # The options of the tool itself: those of its help that no command's help names.
    every_command_option = set().union(*(options_in(t) for t in command_help.values()))
    for option in sorted(options_in(tool_help) - every_command_option
                         - options_in(sections.get("OPTIONS", ""))):
        fault("scenarioc --help names %s, which the page's OPTIONS section does not" % option)
    outside = set().union(*(options_in(t) for t in sections.values()))
    for option in sorted(outside - every_command_option - options_in(tool_help)):
        if not accepted(scenarioc, option, commands):
            fault("the page names %s, which no help names and scenarioc does not accept"
                  % option)

    for text in faults:
        print("man_page: " + text)
    if not faults:
        print("man page in step with --help: %d commands, %d options"
              % (len(commands), len(every_command_option | options_in(tool_help))))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
