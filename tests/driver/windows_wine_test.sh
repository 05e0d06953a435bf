#!/usr/bin/env bash
# Drives the Windows executables under Wine and a virtual X server:
# - velmora_dorsel.exe, copied into a fresh folder whose name holds "à" and a
#   blank, writes the Linux build's six files byte for byte and ends with 0;
# - the waiting window: its client area, label and font as Win32 reports
#   them, and a screenshot that shows the label's text;
# - fatal error 1250: a box with " Errore n. 1250", one OK button and no icon;
#   OK ends the build with a non-zero status and no compiled file of the run;
# - scenarioc.exe emits and compiles what the Linux scenarioc does, with
#   folder and file names in other scripts, prints them in UTF-8, and a
#   console shows them as they are; every fixture compiles to the same files,
#   diagnostics and exit status as on Linux.
# Usage: windows_wine_test.sh VELMORA_DORSEL_EXE SCENARIOC_EXE FATAL_ERROR_PROBE_EXE
#          WINDOWS_ON_SCREEN_EXE CONSOLE_TEXT_EXE LINUX_BUILD   (exit status 77: skipped)
# LINUX_BUILD is a Linux build folder with velmora_dorsel and tools/scenarioc.
# Screenshots are kept in $WINDOW_TEST_ARTIFACTS when it is set.
set -u -o pipefail

program=$(realpath "$1")
tool=$(realpath "$2")
probe=$(realpath "$3")
inspector=$(realpath "$4")
console_text=$(realpath "$5")
linux_build=${6:+$(realpath "$6")}
here=$(cd "$(dirname "$0")" && pwd)

if [[ -z ${WINDOWS_TEST_UNDER_XVFB:-} ]]; then
  for command in wine wineserver xvfb-run xdotool import convert; do
    if ! command -v "$command" >/dev/null; then
      echo "SKIP: $command is not installed (Debian packages wine, wine64, xvfb, xdotool, imagemagick)"
      exit 77
    fi
  done
  if [[ ! -x $linux_build/velmora_dorsel || ! -x $linux_build/tools/scenarioc ]]; then
    echo "SKIP: no Linux build to compare with (configure with -DSCENARIO_LINUX_BUILD=FOLDER)"
    exit 77
  fi
  # At 96 dpi the window's size in twips gives a known size in pixels.
  WINDOWS_TEST_UNDER_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" "$0" "$@"
fi

source "$here/../wine_env.sh"
wine_start
# A Wine server started without this display would put the windows elsewhere.
wineserver -k 2>/dev/null

# The waiting window at 96 dpi, in pixels: 4200 x 2688 twips, the label at
# 960, 960, 2652 x 792 twips; 24 points are 32 pixels.
readonly title=velmora_dorsel
readonly window_w=280 window_h=179 label_x=64 label_y=64 label_w=177 label_h=53
readonly six_files="Velmora_Dorsel_904.dat Velmora_Dorsel_904.sim Velmora_Dorsel_904_note.txt
  Velmora_Dorsel_904_rallentamenti.txt Velmora_Dorsel_904_scheda_treno.txt Velmora_Dorsel_linea.dat"
readonly documents="Velmora_Dorsel_904_note.txt Velmora_Dorsel_904_rallentamenti.txt
  Velmora_Dorsel_904_scheda_treno.txt"

tmp=$(mktemp -d)
probe_pid=
cleanup() {
  [[ -n $probe_pid ]] && kill "$probe_pid" 2>/dev/null
  wineserver -k 2>/dev/null
  wine_finish
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

is_running() { kill -0 "$1" 2>/dev/null; }
has_exited() { ! is_running "$1"; }
output_says() { grep -q "$2" "$1"; }
# The windows titled velmora_dorsel and their controls, as Win32 sees them.
on_screen() { wine "$inspector" "$title" 2>/dev/null | tr -d '\r'; }
box_is_up() { on_screen | grep -q '^window class="#32770"'; }
# The names in a folder, one line each, sorted.
listing() { (cd "$1" && ls -1 | LC_ALL=C sort); }
names() { tr -s ' \n' '\n\n' <<<"$*" | grep . | LC_ALL=C sort; }

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

# A screenshot of the X window of the given id.
screenshot() {
  local shell
  shell=$(xdotool getwindowgeometry --shell "$1" 2>/dev/null) || fail "window $1 is gone"
  eval "$shell"
  import -window root "$tmp/root.png" &&
    convert "$tmp/root.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$2" ||
    fail "no screenshot of window $1"
}

# The Linux program and tool write the files every Windows file is compared with.
linux_reference() {
  mkdir -p "$tmp/linux/program" "$tmp/linux/tool"
  cp "$linux_build/velmora_dorsel" "$tmp/linux/program/"
  (cd "$tmp/linux/program" && env -u DISPLAY ./velmora_dorsel) >"$tmp/linux/program.log" 2>&1 ||
    fail "the Linux velmora_dorsel failed: $(cat "$tmp/linux/program.log")"
  (
    cd "$tmp/linux/tool" &&
      "$linux_build/tools/scenarioc" emit -o emitted &&
      "$linux_build/tools/scenarioc" compile emitted/Velmora_Dorsel_linea.txt \
        emitted/Velmora_Dorsel_904-.txt &&
      mkdir other &&
      cp emitted/Velmora_Dorsel_linea.txt "other/Città_linea.txt" &&
      cp emitted/Velmora_Dorsel_904-.txt "other/Città_904-.txt" &&
      "$linux_build/tools/scenarioc" compile "other/Città_linea.txt" "other/Città_904-.txt"
  ) >"$tmp/linux/tool.log" 2>&1 || fail "the Linux scenarioc failed: $(cat "$tmp/linux/tool.log")"
}

same_files() {
  local from=$1 to=$2 name
  shift 2
  for name in "$@"; do
    cmp -s "$from/$name" "$to/$name" || fail "$to/$name differs from the Linux build's"
  done
}

# The program started from another folder writes into its own, whatever its name.
check_build_in_own_folder() {
  local folder="$tmp/Città di prova"
  mkdir -p "$folder"
  cp "$program" "$folder/velmora_dorsel.exe"
  (cd "$tmp" && wine "$folder/velmora_dorsel.exe") >"$tmp/build.out" 2>"$tmp/build.err"
  local status=$?
  ((status == 0)) || fail "velmora_dorsel.exe ended with status $status: $(cat "$tmp/build.err")"
  [[ ! -s $tmp/build.out && ! -s $tmp/build.err ]] ||
    fail "velmora_dorsel.exe printed: $(cat "$tmp/build.out" "$tmp/build.err")"
  [[ $(listing "$folder") == "$(names "$six_files velmora_dorsel.exe")" ]] ||
    fail "the folder holds: $(listing "$folder")"
  # shellcheck disable=SC2086
  same_files "$tmp/linux/program" "$folder" $six_files
  echo "ok: velmora_dorsel.exe in '$folder' wrote the Linux build's six files, status 0"
}

check_waiting_window() {
  local out=$1 screen
  output_says "$out" '^label font face="MS Sans Serif" height=-32 weight=700 charset=0' ||
    fail "the label's font: $(grep 'label font' "$out")"
  screen=$(on_screen)
  [[ $(grep -c '^window ' <<<"$screen") -eq 1 ]] || fail "expected one window: $screen"
  grep -q "^window class=\"velmora_dorsel.Form1\" text=\"$title\" client=${window_w}x${window_h} " \
    <<<"$screen" || fail "the waiting window: $screen"
  [[ $(grep -c '^control ' <<<"$screen") -eq 1 ]] || fail "expected the label alone: $screen"
  grep -q "^control class=\"Static\" text=\"Attendere\" at=$label_x,$label_y size=${label_w}x$label_h " \
    <<<"$screen" || fail "the label: $screen"

  # The X window is the client area: Wine leaves the frame to the window manager.
  local ids
  ids=$(xdotool search --onlyvisible --name "^$title\$")
  [[ $(wc -w <<<"$ids") -eq 1 ]] || fail "expected one X window named $title, found: $ids"
  local shot=$art/waiting.png
  screenshot "$ids" "$shot"
  ((WIDTH == window_w && HEIGHT == window_h)) || fail "the X window is ${WIDTH}x$HEIGHT"
  # The only ink is the label's text, at the label's top left, 24-point bold:
  # capitals of a 32-pixel font are about 23 pixels high.
  local all w h left top share
  all=$(ink_box "$shot" "${window_w}x${window_h}+0+0") || fail "the window shows nothing ($shot)"
  read -r w h left top <<<"$all"
  ((left >= label_x && left <= label_x + 8 && top >= label_y && top <= label_y + 16)) ||
    fail "text at $left,$top, not at the label's top left ($shot)"
  ((left + w <= label_x + label_w && top + h <= label_y + label_h)) ||
    fail "ink outside the label: $all ($shot)"
  ((h >= 18 && h <= 30 && w >= 120)) || fail "text of ${w}x$h pixels is not 24-point 'Attendere' ($shot)"
  share=$(dark_share "$shot" "${w}x${h}+${left}+${top}")
  awk -v s="$share" 'BEGIN { exit !(s >= 0.38) }' || fail "the text is not bold: $share ($shot)"
  echo "ok: the waiting window, ${window_w}x$window_h, shows its label in 24-point bold ($shot)"
}

# Returns the screen position of the OK button in OK_X and OK_Y.
check_message_box() {
  local screen box
  screen=$(on_screen)
  box=$(sed -n '/^window class="#32770"/,/^window /p' <<<"$screen" | grep -v '^window class="velmora')
  grep -q "^window class=\"#32770\" text=\"$title\" " <<<"$box" || fail "the box: $screen"
  grep -q '^control class="Static" text=" Errore n. 1250" ' <<<"$box" || fail "the box's text: $box"
  [[ $(grep -c '^control class="Button"' <<<"$box") -eq 1 ]] || fail "expected one button: $box"
  local ok
  ok=$(grep '^control class="Button" text="OK" ' <<<"$box") || fail "no OK button: $box"
  ! grep -q 'icon=set' <<<"$box" || fail "the box shows an icon: $box"
  local centre=${ok##*centre=}
  OK_X=${centre%%,*}
  OK_Y=${centre#*,}
  OK_Y=${OK_Y%% *}

  local id shot=$art/box.png
  id=$(xdotool search --onlyvisible --name "^$title\$" | while read -r w; do
    xdotool getwindowgeometry "$w" | grep -q "Geometry: ${window_w}x$window_h" || echo "$w"
  done)
  [[ $(wc -w <<<"$id") -eq 1 ]] || fail "expected one X window for the box, found: $id"
  screenshot "$id" "$shot"
  ink_box "$shot" "${WIDTH}x${HEIGHT}+0+0" >/dev/null || fail "the box shows nothing ($shot)"
  echo "ok: the box says ' Errore n. 1250' with one OK button and no icon ($shot)"
}

# The program's own build with a board in the header cell: the window first,
# then on a line the compile step, whose fatal error 1250 shows the box; OK
# ends the build with status 1, before any compiled file is written.
check_fatal_error() {
  local folder="$tmp/Prova à 1250" fifo=$tmp/probe.in out=$tmp/probe.out
  mkdir -p "$folder"
  cp "$probe" "$folder/fatal_error_probe.exe"
  mkfifo "$fifo"
  exec 3<>"$fifo"
  (cd "$tmp" && exec wine "$folder/fatal_error_probe.exe") <"$fifo" >"$out" 2>"$tmp/probe.err" &
  probe_pid=$!
  poll 300 output_says "$out" "window shown" ||
    fail "the probe did not show its window: $(cat "$out" "$tmp/probe.err")"
  check_waiting_window "$out"

  echo go >&3
  poll 300 box_is_up || fail "no message box appeared: $(cat "$out" "$tmp/probe.err")"
  check_message_box
  is_running "$probe_pid" || fail "the probe ended before its box was closed"
  xdotool mousemove --sync "$OK_X" "$OK_Y" click 1
  poll 300 has_exited "$probe_pid" || fail "the probe still runs after OK"
  wait "$probe_pid"
  local status=$?
  probe_pid=
  exec 3>&-
  ((status != 0 && status < 128)) || fail "the build ended with status $status after the fatal error"
  [[ $(listing "$folder") == "$(names "$documents fatal_error_probe.exe")" ]] ||
    fail "after the fatal error the folder holds: $(listing "$folder")"
  echo "ok: OK ended the build with status $status; the documents stay, no compiled file"
}

# The program and the tool in a folder whose path passes MAX_PATH: the lock
# and the files reach it. The program is started from a short folder, as Wine
# starts nothing in a working folder that long.
check_long_folder() {
  local folder="$tmp/long" i
  for i in $(seq 1 16); do folder+="/cartella_di_prova_$i"; done
  mkdir -p "$folder"
  cp "$program" "$folder/velmora_dorsel.exe"
  (cd "$tmp" && timeout 120 wine "$folder/velmora_dorsel.exe") >"$tmp/long.out" 2>"$tmp/long.err"
  local status=$?
  ((status == 0)) || fail "velmora_dorsel.exe in a long folder ended with status $status: \
$(cat "$tmp/long.err")"
  [[ $(listing "$folder") == "$(names "$six_files velmora_dorsel.exe")" ]] ||
    fail "the long folder holds: $(listing "$folder")"
  (cd "$tmp" && wine "$tool" emit -o "$folder/src" &&
    wine "$tool" compile "$folder/src/Velmora_Dorsel_linea.txt" \
      "$folder/src/Velmora_Dorsel_904-.txt") >"$tmp/long.out" 2>&1 ||
    fail "scenarioc.exe in a long folder failed: $(cat "$tmp/long.out")"
  same_files "$tmp/linux/tool/emitted" "$folder/src" Velmora_Dorsel_linea.dat \
    Velmora_Dorsel_904.sim Velmora_Dorsel_904.dat
  echo "ok: velmora_dorsel.exe and scenarioc.exe work in a folder ${#folder} characters long"
}

# A folder name Windows would alter ("out2 " made as "out2") is refused before
# anything is made.
check_altered_names() {
  local work="$tmp/altered" name status
  mkdir -p "$work"
  for name in "out2 " "sub/out3./x"; do
    status=0
    (cd "$work" && wine "$tool" emit -o "$name") >"$tmp/altered.out" 2>&1 || status=$?
    [[ $status -ne 0 ]] && grep -q "Windows drops the" "$tmp/altered.out" ||
      fail "scenarioc.exe emit -o '$name' ($status): $(cat "$tmp/altered.out")"
    [[ -z $(listing "$work") ]] || fail "scenarioc.exe emit -o '$name' left: $(listing "$work")"
  done
  echo "ok: scenarioc.exe refuses a folder name Windows would alter and makes nothing"
}

# scenarioc.exe in a folder named in Greek, writing into one named in Italian
# and Japanese, and compiling sources named in Italian: the same bytes as
# Linux. A scenario named in Greek, which the Windows-1252 texts of the
# compiled files cannot hold, is refused as on Linux.
check_tool() {
  local work="$tmp/Σενάριο à b" emitted="Città 東京"
  mkdir -p "$work/other"
  cp "$tool" "$work/scenarioc.exe"
  (cd "$work" && wine scenarioc.exe emit -o "$emitted") >"$tmp/emit.out" 2>&1 ||
    fail "scenarioc.exe emit failed: $(cat "$tmp/emit.out")"
  grep -q "^wrote $emitted\\\\Velmora_Dorsel_linea.txt"$'\r'"\$" "$tmp/emit.out" ||
    fail "scenarioc.exe emit printed: $(cat "$tmp/emit.out")"
  cp "$work/$emitted/Velmora_Dorsel_linea.txt" "$work/other/Città_linea.txt"
  cp "$work/$emitted/Velmora_Dorsel_904-.txt" "$work/other/Città_904-.txt"
  cp "$work/$emitted/Velmora_Dorsel_linea.txt" "$work/other/Γραμμή_linea.txt"
  cp "$work/$emitted/Velmora_Dorsel_904-.txt" "$work/other/Γραμμή_904-.txt"
  (
    cd "$work" &&
      wine scenarioc.exe compile "$emitted/Velmora_Dorsel_linea.txt" \
        "$emitted/Velmora_Dorsel_904-.txt" &&
      wine scenarioc.exe compile "other/Città_linea.txt" "other/Città_904-.txt"
  ) >"$tmp/compile.out" 2>&1 || fail "scenarioc.exe compile failed: $(cat "$tmp/compile.out")"
  grep -q "^wrote other\\\\Città_904.sim"$'\r'"\$" "$tmp/compile.out" ||
    fail "scenarioc.exe compile printed: $(cat "$tmp/compile.out")"
  local status=0
  (cd "$work" && wine scenarioc.exe compile "other/Γραμμή_linea.txt" "other/Γραμμή_904-.txt") \
    >"$tmp/refused.out" 2>&1 || status=$?
  [[ $status -eq 2 ]] && grep -q "the scenario name 'Γραμμή' holds 'Γ'" "$tmp/refused.out" ||
    fail "scenarioc.exe compiled a Greek scenario name ($status): $(cat "$tmp/refused.out")"
  [[ $(listing "$work/$emitted") == "$(listing "$tmp/linux/tool/emitted")" ]] ||
    fail "scenarioc.exe wrote: $(listing "$work/$emitted")"
  # shellcheck disable=SC2046
  same_files "$tmp/linux/tool/emitted" "$work/$emitted" $(listing "$work/$emitted")
  same_files "$tmp/linux/tool/other" "$work/other" \
    Città_linea.dat Città_904.sim Città_904.dat
  echo "ok: scenarioc.exe emit and compile wrote the Linux scenarioc's files, names in any script"
}

# Each fixture compiled on both systems: the same files, the same lines on
# standard output and error (but for line ends and path separators), the same
# exit status.
check_fixtures() {
  local fixture line_file train_file name side count=0
  for fixture in "$here"/../fixtures/*/; do
    name=$(basename "$fixture")
    line_file=$(cd "$fixture" && ls -- *_linea.txt 2>/dev/null | head -1)
    train_file=$(cd "$fixture" && ls -- *-.txt 2>/dev/null | head -1)
    [[ -n $line_file && -n $train_file ]] || continue
    for side in linux windows; do
      mkdir -p "$tmp/fixtures/$side/$name"
      cp "$fixture"/* "$tmp/fixtures/$side/$name/"
    done
    (cd "$tmp/fixtures/linux/$name" &&
      "$linux_build/tools/scenarioc" compile "$line_file" "$train_file" >out 2>err
      echo $? >status)
    (cd "$tmp/fixtures/windows/$name" &&
      wine "$tool" compile "$line_file" "$train_file" >out 2>err
      echo $? >status)
    sed -i 's/\r$//; s|\\|/|g' "$tmp/fixtures/windows/$name/out" "$tmp/fixtures/windows/$name/err"
    diff -r "$tmp/fixtures/linux/$name" "$tmp/fixtures/windows/$name" >"$tmp/fixtures/$name.diff" ||
      fail "fixture $name compiles otherwise on Windows: $(head -20 "$tmp/fixtures/$name.diff")"
    count=$((count + 1))
  done
  ((count > 0)) || fail "no fixture found in $here/../fixtures"
  echo "ok: $count fixtures compile to the same files, diagnostics and status as on Linux"
}

# In a console window, the names the tool prints read as they are, whatever
# the console's code page.
check_console() {
  local work="$tmp/Σενάριο à b"
  cp "$console_text" "$work/console_text.exe"
  printf '%s\r\n' '@scenarioc.exe emit -o "%EMIT_FOLDER%"' '@console_text.exe >console.txt' \
    >"$work/console.cmd"
  (cd "$work" && EMIT_FOLDER="Ελλάδα à" wine wineconsole cmd /c console.cmd) >"$tmp/console.log" 2>&1
  tr -d '\r' <"$work/console.txt" | grep -qx 'wrote Ελλάδα à\\Velmora_Dorsel_904_scheda_treno.txt' ||
    fail "the console shows: $(cat "$work/console.txt" "$tmp/console.log")"
  echo "ok: a console shows the names scenarioc.exe prints"
}

linux_reference
check_build_in_own_folder
check_long_folder
check_altered_names
check_fatal_error
check_tool
check_fixtures
check_console
