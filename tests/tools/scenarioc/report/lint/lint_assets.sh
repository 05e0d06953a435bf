#!/usr/bin/env bash
# Lints the report page's script (eslint, Debian's package) or style sheet
# (stylelint, from npm into LINT_TOOLS by scripts/test.sh).
# Usage: lint_assets.sh js|css ASSETS_DIR LINT_TOOLS   (exit status 77: skipped)
# stylelint's no-descending-specificity is off: it compares selectors of
# elements that never meet (the plan's and the bands'), and obeying it would
# reorder the sheet.
set -u -o pipefail

kind=$1 assets=$2 tools=$3
here=$(cd "$(dirname "$0")" && pwd)

case $kind in
  js)
    eslint=$(command -v eslint) || {
      echo "SKIP: eslint is not installed (Debian package eslint)"
      exit 77
    }
    # Debian's eslint finds its modules where Debian's Node.js looks by itself;
    # another Node.js is told.
    export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
    cd "$assets" && exec "$eslint" --no-eslintrc -c "$here/eslint.json" -f unix ./*.js
    ;;
  css)
    stylelint=$tools/node_modules/.bin/stylelint
    [[ -x $stylelint ]] || {
      echo "SKIP: stylelint is not installed in $tools (scripts/test.sh installs it)"
      exit 77
    }
    exec "$stylelint" --config "$here/stylelint.json" --config-basedir "$tools" \
      --formatter unix "$assets"/*.css
    ;;
esac
echo "usage: lint_assets.sh js|css ASSETS_DIR LINT_TOOLS" >&2
exit 2
