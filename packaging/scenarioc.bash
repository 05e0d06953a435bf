# shellcheck shell=bash
# Bash completion of scenarioc: its commands, each command's options, the
# values of --kind and --color, the warning classes, and file names of the kind
# each argument takes. The commands, options and warning classes are read from
# the program's own --help, so that they are always those of the scenarioc
# being completed; which kind of file an argument takes is written here.

# The help of `scenarioc [COMMAND] --help`, kept for the shell's session.
declare -gA _scenarioc_help_cache=()
_scenarioc_help() {
  local program=$1 command=${2:-}
  local key="$program|$command"
  if [[ -z ${_scenarioc_help_cache[$key]+set} ]]; then
    local args=("$program")
    [[ -n $command ]] && args+=("$command")
    _scenarioc_help_cache[$key]=$("${args[@]}" --help 2>/dev/null)
  fi
  printf '%s\n' "${_scenarioc_help_cache[$key]}"
}

# The command names: the first word of each line of the help's "Commands:" block.
_scenarioc_commands() {
  _scenarioc_help "$1" | awk '
    /^Commands:/ { inside = 1; next }
    inside && /^[^ ]/ { inside = 0 }
    inside && /^  [a-z]/ { print $1 }'
}

# The options the help of COMMAND names, and --help: "--color=" for
# "--color=WHEN", "-Wno-" for -Wno-NAME (-WNAME is left to the classes).
_scenarioc_options() {
  {
    _scenarioc_help "$1" "$2" | grep -oE '(^|[^A-Za-z0-9_-])--?[A-Za-z][A-Za-z0-9-]*=?' |
      sed -E 's/^[^-]//; s/^-Wno-NAME$/-Wno-/; /^-WNAME$/d'
    echo --help
  } | sort -u
}

# The warning classes: the words of the help's list after "the classes:".
_scenarioc_warning_classes() {
  _scenarioc_help "$1" "$2" | awk '
    /the classes:/ { inside = 1; next }
    inside && /^ *-/ { inside = 0 }
    inside { gsub(/,/, " "); for (i = 1; i <= NF; i++) print $i }'
}

# Adds to COMPREPLY the files under the word being completed that match one of
# the patterns, and the folders, to go down into.
_scenarioc_files() {
  local cur=$1 pattern name
  shift
  compopt -o filenames 2>/dev/null
  while IFS= read -r name; do
    COMPREPLY+=("$name")
  done < <(
    compgen -d -- "$cur"
    for pattern in "$@"; do compgen -f -X "!$pattern" -- "$cur"; done
  )
}

# Completes the value of OPTION of COMMAND; fails when OPTION takes none.
_scenarioc_option_value() {
  local program=$1 command=$2 option=$3 cur=$4
  case $option in
    -o | --output)
      if [[ $command == report ]]; then
        _scenarioc_files "$cur" '*.html'
      else
        _scenarioc_files "$cur"
      fi
      ;;
    --report) _scenarioc_files "$cur" '*.html' ;;
    --kind) mapfile -t COMPREPLY < <(compgen -W 'track stations cells' -- "$cur") ;;
    --color) mapfile -t COMPREPLY < <(compgen -W 'auto always never' -- "$cur") ;;
    --details) _scenarioc_files "$cur" '*.json' ;;
    --model) _scenarioc_files "$cur" '*.txt' ;;
    --name | --train | -j | --jobs) ;;
    *) return 1 ;;
  esac
  return 0
}

# Completes the INDEX-th file argument (from 0) of COMMAND.
_scenarioc_argument() {
  local program=$1 command=$2 index=$3 cur=$4
  case $command in
    report | timetable)
      case $index in
        0) _scenarioc_files "$cur" '*_linea.txt' '*_linea.dat' ;;
        1) _scenarioc_files "$cur" '*-.txt' '*.sim' ;;
        2) _scenarioc_files "$cur" '*.dat' ;;
      esac
      ;;
    compile | watch | documents)
      case $index in
        0) _scenarioc_files "$cur" '*_linea.txt' ;;
        1) _scenarioc_files "$cur" '*-.txt' ;;
      esac
      ;;
    check) _scenarioc_files "$cur" '*_linea.txt' '*-.txt' ;;
    dump) ((index == 0)) && _scenarioc_files "$cur" '*.dat' '*.sim' ;;
    decompile)
      case $index in
        0) _scenarioc_files "$cur" '*_linea.dat' ;;
        1) _scenarioc_files "$cur" '*.sim' ;;
        2) _scenarioc_files "$cur" '*.dat' ;;
      esac
      ;;
    help) ((index == 0)) && mapfile -t COMPREPLY < <(compgen -W "$(_scenarioc_commands "$program")" -- "$cur") ;;
  esac
}

_scenarioc() {
  COMPREPLY=()
  local program=${COMP_WORDS[0]} cword=$COMP_CWORD
  [[ $program == \~/* ]] && program=$HOME/${program#\~/}
  local cur=${COMP_WORDS[cword]} prev=
  ((cword > 0)) && prev=${COMP_WORDS[cword - 1]}

  # "--color=al": bash splits the word at "=" unless COMP_WORDBREAKS lacks it.
  local value_of=
  if [[ $cur == "=" && $prev == -* ]]; then
    value_of=$prev cur=
  elif [[ $prev == "=" ]] && ((cword > 1)); then
    value_of=${COMP_WORDS[cword - 2]}
  elif [[ $cur == --*=* ]]; then
    value_of=${cur%%=*} cur=${cur#*=}
  fi

  if ((cword == 1)); then
    mapfile -t COMPREPLY < <(compgen -W "$(_scenarioc_commands "$program") --help --version" -- "$cur")
    return 0
  fi
  local command=${COMP_WORDS[1]}

  if [[ -n $value_of ]]; then
    _scenarioc_option_value "$program" "$command" "$value_of" "$cur"
    return 0
  fi
  if [[ $prev == -* ]] && _scenarioc_option_value "$program" "$command" "$prev" "$cur"; then
    return 0
  fi

  if [[ $cur == -* ]]; then
    local options
    options=$(_scenarioc_options "$program" "$command")
    if [[ $cur == -W* ]] && grep -qx -- '-Wno-' <<<"$options"; then
      local class
      options+=$'\n-Wno-error'
      for class in $(_scenarioc_warning_classes "$program" "$command"); do
        options+=$'\n'-Wno-$class$'\n'-W$class
      done
    fi
    mapfile -t COMPREPLY < <(compgen -W "$options" -- "$cur")
    # A stem such as "--color=" or "-Wno-" is not a whole word yet.
    if [[ ${#COMPREPLY[@]} -eq 1 && ${COMPREPLY[0]} == *[=-] ]]; then
      compopt -o nospace 2>/dev/null
    fi
    return 0
  fi

  # The file arguments before this one, options and their values left out.
  local i index=0 word options_ended=
  for ((i = 2; i < cword; i++)); do
    word=${COMP_WORDS[i]}
    if [[ -z $options_ended && $word == -- ]]; then
      options_ended=1
    elif [[ -z $options_ended && $word == -?* ]]; then
      # An option that takes a value skips it, and the "=" before it.
      case $word in
        -o | --output | --name | --train | --kind | --report | --color | -j | --jobs | --model | --details)
          [[ ${COMP_WORDS[i + 1]:-} == "=" ]] && ((i++))
          ((i++))
          ;;
      esac
    else
      ((index++))
    fi
  done
  _scenarioc_argument "$program" "$command" "$index" "$cur"
  return 0
}

complete -F _scenarioc scenarioc
