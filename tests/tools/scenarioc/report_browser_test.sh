#!/usr/bin/env bash
# Opens the report page of the built-in scenario in headless Chromium and checks
# what it shows (report_browser.py does the work over the DevTools protocol).
# Usage: report_browser_test.sh SCENARIOC   (exit status 77: skipped)
# The page's screenshot is kept as $REPORT_TEST_ARTIFACTS/report.png when set.
set -u -o pipefail

scenarioc=$1
here=$(cd "$(dirname "$0")" && pwd)

chromium=$(command -v chromium || command -v chromium-browser) || {
  echo "SKIP: chromium is not installed (Debian package chromium)"
  exit 77
}
python=$(command -v python3) || {
  echo "SKIP: python3 is not installed (Debian package python3)"
  exit 77
}
shot=()
if [[ -n ${REPORT_TEST_ARTIFACTS:-} ]]; then
  mkdir -p "$REPORT_TEST_ARTIFACTS"
  shot=("$REPORT_TEST_ARTIFACTS/report.png")
fi
exec "$python" "$here/report_browser.py" "$scenarioc" "$chromium" "${shot[@]}"
