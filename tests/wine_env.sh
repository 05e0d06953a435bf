# shellcheck shell=bash
# Sourced by the Wine tests: Wine quiet, in a private, throw-away prefix.
# wine_start makes the prefix when the caller gave none (scripts/test.sh gives
# one for its whole run, made once) and wine_finish removes what it made.

export WINEDEBUG=-all
# No offer to install Mono or Gecko: the programs need neither.
export WINEDLLOVERRIDES="mscoree,mshtml="
# Command lines and file names pass between Linux and Windows as UTF-8.
export LC_ALL=C.UTF-8

wine_own_prefix=

wine_start() {
  if [[ -z ${WINEPREFIX:-} ]]; then
    wine_own_prefix=$(mktemp -d)
    export WINEPREFIX=$wine_own_prefix/prefix
  fi
  if [[ ! -f $WINEPREFIX/system.reg ]]; then
    wineboot --init >/dev/null 2>&1
    wineserver -w
  fi
}

wine_finish() {
  [[ -n $wine_own_prefix ]] || return 0
  wineserver -k 2>/dev/null
  rm -rf "$wine_own_prefix"
  wine_own_prefix=
}
