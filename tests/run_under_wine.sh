#!/usr/bin/env bash
# Runs a Windows program under Wine and ends with its exit status:
#   run_under_wine.sh PROGRAM [ARGS...]
set -u
source "$(dirname "$0")/wine_env.sh"
wine_start
wine "$@"
status=$?
wine_finish
exit "$status"
