#!/usr/bin/env bash
# Drives the waiting window and the fatal error box under a virtual X server:
# finds the windows, checks their size and what they show, answers the box, and
# checks that the build writes the same files with a display as without one.
# Usage: window_xvfb_test.sh WINDOW_PROBE VELMORA_DORSEL   (exit status 77: skipped)
# Screenshots are kept in $WINDOW_TEST_ARTIFACTS when it is set.
set -u -o pipefail

probe=$1
program=$2
module=$(dirname "$program")/scenario_window.so
title=velmora_dorsel

# Under a sanitizer build: the font and display libraries' caches are no leak.
here=$(cd "$(dirname "$0")" && pwd)
LSAN_OPTIONS="suppressions=$here/window_lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
export LSAN_OPTIONS

if [[ -z ${WINDOW_TEST_UNDER_XVFB:-} ]]; then
  for tool in xvfb-run xdotool xwd convert; do
    if ! command -v "$tool" >/dev/null; then
      echo "SKIP: $tool is not installed (Debian packages xvfb, xdotool, x11-apps, imagemagick)"
      exit 77
    fi
  done
  # At 96 dpi the window's size in twips gives a known size in pixels.
  WINDOW_TEST_UNDER_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" "$0" "$@"
fi

# The waiting window at 96 dpi, in pixels: 4200 x 2688 twips, label at 960, 960.
readonly window_w=280 window_h=179 label_x=64 label_y=64 label_h=53

tmp=$(mktemp -d)
probe_pid=
build_pid=
cleanup() {
  [[ -n $probe_pid ]] && kill "$probe_pid" 2>/dev/null
  [[ -n $build_pid ]] && kill "$build_pid" 2>/dev/null
  rm -rf "$tmp"
}
trap cleanup EXIT
art=${WINDOW_TEST_ARTIFACTS:-$tmp/screens}
mkdir -p "$art"

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Runs a command every 0.1 s until it succeeds or `tries` attempts have failed.
poll() {
  local tries=$1
  shift
  for ((i = 0; i < tries; i++)); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

windows() { xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null; }
window_count_is() { [[ $(windows | wc -l) -eq $1 ]]; }
is_running() { kill -0 "$1" 2>/dev/null; }
has_exited() { ! is_running "$1"; }
output_says() { grep -q "$2" "$1"; }

# Sets X, Y, WIDTH and HEIGHT for a window; fails when the window is gone.
geometry_of() {
  local shell
  shell=$(xdotool getwindowgeometry --shell "$1" 2>/dev/null) || return 1
  eval "$shell"
}

screenshot() {
  geometry_of "$1" || fail "window $1 is gone"
  xwd -root -silent | convert xwd:- -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$2" ||
    fail "no screenshot of window $1"
}

# Prints "width height left top" of what is drawn on the background within a
# region of a picture, or nothing when the region is plain.
ink_box() {
  local box
  box=$(convert "$1" -crop "$2" +repage -fuzz 20% -trim -format '%w %h %X %Y' info: 2>/dev/null)
  read -r w h left top <<<"$box"
  ((w > 1 && h > 1)) && echo "$w $h ${left#+} ${top#+}"
}

# The share of dark pixels within a region.
dark_share() {
  convert "$1" -crop "$2" +repage -colorspace gray -threshold 50% -negate -format '%[fx:mean]' info:
}

check_waiting_window() {
  local id=$1 shot=$2
  geometry_of "$id" || fail "window $id is gone"
  ((WIDTH == window_w && HEIGHT == window_h)) ||
    fail "waiting window is ${WIDTH}x${HEIGHT}, not ${window_w}x${window_h}"
  screenshot "$id" "$shot"
  local label all w h left top
  label=$(ink_box "$shot" "$((window_w - label_x))x${label_h}+${label_x}+${label_y}") ||
    fail "the label shows nothing ($shot)"
  all=$(ink_box "$shot" "${window_w}x${window_h}+0+0")
  read -r w h left top <<<"$label"
  left=$((left + label_x))
  top=$((top + label_y))
  [[ $all == "$w $h $left $top" ]] || fail "the window shows more than its label: $all ($shot)"
  # "Attendere" in a 32-pixel font: capitals about 23 pixels high, no descenders.
  ((left >= label_x && left <= label_x + 8 && top >= label_y && top <= label_y + 16)) ||
    fail "label text at $left,$top, not at the label's top left ($shot)"
  ((h >= 18 && h <= 30 && w >= 120 && w <= window_w - label_x)) ||
    fail "label text is ${w}x${h} pixels, not 24-point 'Attendere' ($shot)"
  # Bold strokes cover about half of the text's box; regular ones about a third.
  local share
  share=$(dark_share "$shot" "${w}x${h}+${left}+${top}")
  awk -v s="$share" 'BEGIN { exit !(s >= 0.38) }' || fail "label text is not bold: $share ($shot)"
}

check_message_box() {
  local id=$1 shot=$2
  screenshot "$id" "$shot"
  local half=$((HEIGHT / 2)) text w h
  text=$(ink_box "$shot" "${WIDTH}x${half}+0+0") || fail "the box shows no text ($shot)"
  read -r w h _ _ <<<"$text"
  # " Errore n. 1250", one line in a 13-pixel font.
  ((h >= 8 && h <= 20 && w >= 50)) || fail "box text is ${w}x${h} pixels, not one line ($shot)"
  ink_box "$shot" "${WIDTH}x$((HEIGHT - half))+0+${half}" >/dev/null ||
    fail "the box has no OK button ($shot)"
}

close_box() {
  local id=$1 how=$2
  case $how in
    enter) xdotool windowfocus --sync "$id" key Return ;;
    click)
      geometry_of "$id" || fail "window $id is gone"
      # The OK button sits centred at the bottom of the box.
      xdotool mousemove --window "$id" --sync $((WIDTH / 2)) $((HEIGHT - 27)) click 1
      ;;
  esac
}

# The probe shows the waiting window, then after a line on its input compiles a
# scenario with an object in the header cell and shows the box of
# error 1250; closing the box ends it.
run_probe() {
  local how=$1
  local fifo=$tmp/probe-$how.in out=$tmp/probe-$how.out
  mkfifo "$fifo"
  : >"$out"
  exec 3<>"$fifo"
  "$probe" <"$fifo" >"$out" 2>&1 &
  probe_pid=$!
  poll 100 output_says "$out" "window shown" || fail "probe did not show its window: $(cat "$out")"
  window_count_is 1 || fail "expected one window named $title, found: $(windows)"
  local waiting
  waiting=$(windows)
  [[ $(xdotool getwindowname "$waiting") == "$title" ]] || fail "waiting window has another name"
  check_waiting_window "$waiting" "$art/waiting-$how.png"

  echo go >&3
  poll 100 window_count_is 2 || fail "no message box appeared"
  local box
  box=$(windows | grep -vx "$waiting")
  check_message_box "$box" "$art/box-$how.png"
  is_running "$probe_pid" || fail "probe ended before its box was closed"

  close_box "$box" "$how"
  poll 100 has_exited "$probe_pid" || fail "probe still runs after the box was closed ($how)"
  wait "$probe_pid"
  local status=$?
  probe_pid=
  exec 3>&-
  ((status == 0)) || fail "probe ended with status $status: $(cat "$out")"
  output_says "$out" "box closed" || fail "the box did not return: $(cat "$out")"
  window_count_is 0 || fail "a window is left after the end ($how)"
  echo "ok: waiting window and message box, closed by $how"
}

# A normal build shows no box; when one appears its picture is kept and it is
# answered, and the test fails.
answer_any_box() {
  local id
  for id in $(windows); do
    # The waiting window may close between the search and this question.
    geometry_of "$id" || continue
    if ((WIDTH != window_w || HEIGHT != window_h)); then
      screenshot "$id" "$art/build-box.png"
      close_box "$id" enter
      box_seen=1
    fi
  done
  has_exited "$build_pid"
}

# The build must write the same files whether it has a display or not, and
# with a display it loads the window module that sits beside it.
run_build() {
  mkdir -p "$tmp/headless" "$tmp/display"
  for folder in headless display; do
    cp "$program" "$tmp/$folder/$title"
    cp "$module" "$tmp/$folder/"
  done
  (cd "$tmp/headless" && env -u DISPLAY LD_DEBUG=files "./$title") >"$tmp/headless.err" 2>&1
  local headless_status=$?
  grep -q "calling init: .*/$(basename "$module")" "$tmp/headless.err" &&
    fail "the build without a display loaded the window module"
  (cd "$tmp/display" && LD_DEBUG=files exec "./$title") >"$tmp/display.err" 2>&1 &
  build_pid=$!
  box_seen=
  poll 400 answer_any_box || fail "the build did not end within 40 s"
  wait "$build_pid"
  local status=$?
  build_pid=
  [[ -z $box_seen ]] || fail "the build showed a message box ($art/build-box.png): $(cat "$tmp/display.err")"
  ((status < 128)) || fail "the build was killed by signal $((status - 128))"
  ((status == headless_status)) ||
    fail "status $status with a display, $headless_status without: $(cat "$tmp/display.err")"
  grep -q "calling init: .*/$(basename "$module")" "$tmp/display.err" ||
    fail "the build with a display did not load the window module: $(grep -v '^ *[0-9]*:' "$tmp/display.err")"
  diff -r "$tmp/headless" "$tmp/display" >/dev/null || fail "the display changed the files written"
  for doc in note rallentamenti scheda_treno; do
    [[ -f $tmp/display/Velmora_Dorsel_904_$doc.txt ]] || fail "no $doc document written"
  done
  window_count_is 0 || fail "the waiting window is left after the build"
  echo "ok: the build under a display ends with status $status and writes what it writes without one"
}

run_probe enter
run_probe click
run_build
