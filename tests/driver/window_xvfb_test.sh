#!/usr/bin/env bash
# Drives the waiting window and the fatal error box under a virtual X server:
# finds the windows, checks their size and what they show, answers the box;
# watches the real program map its waiting window at two resolutions, and
# checks that the build writes the same files with a display as without one.
# Every wait is bounded.
# Usage: window_xvfb_test.sh WINDOW_PROBE VELMORA_DORSEL WINDOW_OBSERVER
#   (exit status 77: skipped)
# Screenshots are kept in $WINDOW_TEST_ARTIFACTS when it is set.
set -u -o pipefail

probe=$1
program=$2
observer=$3
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
  WINDOW_TEST_UNDER_XVFB=1 exec timeout -k 5 85 \
    xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" "$0" "$@"
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
source "$here/pinned_fonts.sh"
pin_fonts "$tmp/fonts" || {
  echo "SKIP: DejaVu Sans Bold is not installed (Debian package fonts-dejavu-core)"
  exit 77
}
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

# No xdotool call may hang the test.
xdo() { timeout 10 xdotool "$@"; }
windows() { xdo search --onlyvisible --name "^${title}\$" 2>/dev/null; }
window_count_is() { [[ $(windows | wc -l) -eq $1 ]]; }
is_running() { kill -0 "$1" 2>/dev/null; }
has_exited() { ! is_running "$1"; }
output_says() { grep -q "$2" "$1"; }

# Sets X, Y, WIDTH and HEIGHT for a window; fails when the window is gone.
geometry_of() {
  local shell
  shell=$(xdo getwindowgeometry --shell "$1" 2>/dev/null) || return 1
  eval "$shell"
}

screenshot() {
  geometry_of "$1" || fail "window $1 is gone"
  timeout 20 xwd -root -silent |
    timeout 20 convert xwd:- -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$2" ||
    fail "no screenshot of window $1"
}

# Prints "width height left top" of what is drawn on the background within a
# region of a picture, or nothing when the region is plain.
ink_box() {
  local box
  box=$(timeout 20 convert "$1" -crop "$2" +repage -fuzz 20% -trim -format '%w %h %X %Y' info: \
    2>/dev/null)
  read -r w h left top <<<"$box"
  ((w > 1 && h > 1)) && echo "$w $h ${left#+} ${top#+}"
}

# The share of dark pixels within a region.
dark_share() {
  timeout 20 convert "$1" -crop "$2" +repage -colorspace gray -threshold 50% -negate \
    -format '%[fx:mean]' info:
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

has_focus() { [[ $(xdo getwindowfocus 2>/dev/null) == "$1" ]]; }

# Without a window manager nothing waits for the focus: it is asked for, then
# polled for a bounded time.
close_box() {
  local id=$1 how=$2
  case $how in
    enter)
      xdo windowfocus "$id"
      poll 50 has_focus "$id" || fail "the box did not take the focus"
      xdo key Return
      ;;
    click)
      geometry_of "$id" || fail "window $id is gone"
      # The OK button sits centred at the bottom of the box.
      xdo mousemove --window "$id" $((WIDTH / 2)) $((HEIGHT - 27)) click 1
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
  [[ $(xdo getwindowname "$waiting") == "$title" ]] || fail "waiting window has another name"
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

# Installs the program and its window module in a fresh `folder` and runs it
# there under the observer, which writes to `folder`.windows a line for every
# window the program maps; the other arguments come before the observer (an X
# server of its own). The program's output goes to `folder`.err.
observed_build() {
  local folder=$1
  shift
  rm -rf "$folder"
  mkdir -p "$folder"
  cp "$program" "$folder/$title"
  cp "$module" "$folder/"
  (cd "$folder" && exec "$@" "$observer" "$folder.windows" 40 env LD_DEBUG=files "./$title") \
    >"$folder.err" 2>&1
}

# The waiting window shows only while the build runs; on a busy machine it may
# be gone before the observer looks at it. Such a run says "gone" and is
# repeated, up to three runs; anything else mapped is a failure.
# Usage: until_window_seen FOLDER SIZE RUN...
until_window_seen() {
  local folder=$1 size=$2
  shift 2
  local run
  for run in 1 2 3; do
    "$@"
    case $(cat "$folder.windows") in
      "mapped $size $title") return 0 ;;
      gone) echo "run $run: the waiting window was gone before it was seen" ;;
      *) fail "expected one window of $size named $title, the build mapped: $(cat "$folder.windows")" ;;
    esac
  done
  fail "the waiting window went unseen in three runs"
}

build_under_this_display() {
  observed_build "$tmp/display" &
  build_pid=$!
  box_seen=
  poll 400 answer_any_box || fail "the build did not end within 40 s"
  wait "$build_pid"
  display_status=$?
  build_pid=
  [[ -z $box_seen ]] || fail "the build showed a message box ($art/build-box.png): $(cat "$tmp/display.err")"
}

# The build must write the same files whether it has a display or not; with a
# display it loads the window module that sits beside it and maps the waiting
# window, of 4200 x 2688 twips at the screen's resolution.
run_build() {
  mkdir -p "$tmp/headless"
  cp "$program" "$tmp/headless/$title"
  cp "$module" "$tmp/headless/"
  (cd "$tmp/headless" && env -u DISPLAY LD_DEBUG=files timeout 40 "./$title") \
    >"$tmp/headless.err" 2>&1
  local headless_status=$?
  grep -q "calling init: .*/$(basename "$module")" "$tmp/headless.err" &&
    fail "the build without a display loaded the window module"
  until_window_seen "$tmp/display" "${window_w}x${window_h}" build_under_this_display
  local status=$display_status
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
  echo "ok: the build under a display maps its ${window_w}x${window_h} window, ends with status $status and writes what it writes without one"
}

# At 144 dpi, on a server of its own: 4200 x 2688 twips are 420 x 268.8 pixels.
build_at_144_dpi() {
  observed_build "$tmp/dpi144" timeout -k 5 60 xvfb-run -a -s "-screen 0 1024x768x24 -dpi 144" ||
    fail "the build at 144 dpi ended with status $?: $(grep -v '^ *[0-9]*:' "$tmp/dpi144.err")"
}

run_build_at_144_dpi() {
  until_window_seen "$tmp/dpi144" 420x269 build_at_144_dpi
  echo "ok: at 144 dpi the build maps a 420x269 window"
}

run_probe enter
run_probe click
run_build
run_build_at_144_dpi
