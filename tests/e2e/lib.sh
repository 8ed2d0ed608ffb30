# Shared by the end-to-end tests: a private Xvfb display and Wine prefix per test, helpers to
# run the Windows programs, query windows and take screenshots, and a cleanup that ends every
# process the test started. Source it, then call e2e_start <name> <win32|win64>.
set -euo pipefail

E2E_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
E2E_CACHE=${KV_CACHE:-$HOME/.cache/kestrivalume}
E2E_FAILURES=0
E2E_PIDS=()
E2E_XVFB_PID=

e2e_log() { echo "[$E2E_NAME] $*"; }
# A failure is also written to a file: one counted inside $(...) would otherwise be lost with
# the subshell.
e2e_fail() {
  echo "[$E2E_NAME] FAIL: $*" >&2
  E2E_FAILURES=$((E2E_FAILURES + 1))
  [ -n "${E2E_WORK:-}" ] && echo "$*" | tr '\n' ' ' >>"$E2E_WORK/.failures" && echo >>"$E2E_WORK/.failures"
  return 0
}
# A failure after which the test's checks mean nothing (a window that cannot be read): the
# test ends where it happens, also from inside $(...).
e2e_fail_now() {
  e2e_fail "$@"
  [ "$BASHPID" = "$E2E_MAIN_PID" ] && { e2e_log "stopped at the failure above"; e2e_finish; }
  kill -USR1 "$E2E_MAIN_PID" 2>/dev/null || true
  exit 1
}

# Copies the template prefix: executables hard-linked (Wine never writes them), everything
# else copied, so the test can change files and registry without touching the template.
e2e_copy_prefix() {
  local template=$1 target=$2
  cp -al "$template" "$target"
  (cd "$target" && find . -type f ! \( -iname '*.dll' -o -iname '*.exe' -o -iname '*.drv' -o -iname '*.sys' \
      -o -iname '*.ocx' -o -iname '*.acm' -o -iname '*.cpl' -o -iname '*.tlb' -o -iname '*.ax' \
      -o -iname '*.ds' -o -iname '*.nls' \) -print0 |
    while IFS= read -r -d '' file; do cp --preserve=all "$file" "$file.e2e" && mv -f "$file.e2e" "$file"; done)
  rm -f "$target/.ready"
}

# A private display; E2E_SCREEN sets its size (default 1920x1080x24). Xvfb picks a free display
# number itself and tells it, so tests started side by side never share one.
e2e_start_display() {
  local number_file n=
  number_file=$(mktemp "${E2E_WORK:-/tmp}/display.XXXX")
  # E2E_MORE_SCREENS: more Xvfb arguments, e.g. a second screen and +xinerama.
  # shellcheck disable=SC2086
  Xvfb -displayfd 3 -screen 0 "${E2E_SCREEN:-1920x1080x24}" ${E2E_MORE_SCREENS:-} -nolisten tcp 3>"$number_file" >/dev/null 2>&1 &
  E2E_XVFB_PID=$!
  for _ in $(seq 100); do
    n=$(head -1 "$number_file")
    [ -n "$n" ] && break
    kill -0 "$E2E_XVFB_PID" 2>/dev/null || break
    sleep 0.1
  done
  if [ -n "$n" ]; then
    export DISPLAY=":$n"
    for _ in $(seq 50); do
      xdpyinfo >/dev/null 2>&1 && { e2e_keep_wm_states; return; }
      sleep 0.1
    done
  fi
  echo "could not start Xvfb" >&2
  return 1
}

# The display has no window manager, so windows stay where the program puts them; but Wine
# waits 2 s in the program's thread at each hide or destroy of a top-level window until a window
# manager has marked it shown (WM_STATE). The keeper does that marking and nothing else.
e2e_keep_wm_states() {
  local keeper="$E2E_ROOT/out/build/native/wm_state_keeper" ready
  [ -x "$keeper" ] || { echo "e2e: $keeper is missing (scripts/build.sh native)" >&2; return 1; }
  exec 4< <("$keeper")
  E2E_PIDS+=($!)
  read -r -t 10 ready <&4 && [ "$ready" = ready ] || { echo "e2e: the WM_STATE keeper did not start" >&2; return 1; }
}

e2e_cleanup() {
  local pid
  if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then wineserver -k >/dev/null 2>&1 || true; fi
  for pid in "${E2E_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  if [ -n "$E2E_XVFB_PID" ]; then kill "$E2E_XVFB_PID" 2>/dev/null || true; wait "$E2E_XVFB_PID" 2>/dev/null || true; fi
  if [ -n "${E2E_WORK:-}" ] && [ -z "${KV_E2E_KEEP:-}" ]; then rm -rf "$E2E_WORK"; fi
}

# e2e_start <test name> <win32|win64> [prefix architecture]: the program's architecture picks
# out/<arch>; the prefix is of the same architecture unless a third argument says otherwise.
e2e_start() {
  E2E_NAME=$1
  E2E_ARCH=$2
  local prefix_arch=${3:-$2}
  E2E_OUT="$E2E_ROOT/out/$E2E_ARCH"
  E2E_SHOTS="$E2E_ROOT/out/screenshots"
  mkdir -p "$E2E_SHOTS" "$E2E_ROOT/out/e2e"
  E2E_WORK=$(mktemp -d "$E2E_ROOT/out/e2e/$E2E_NAME.XXXX")
  E2E_MAIN_PID=$$
  trap e2e_cleanup EXIT
  trap 'e2e_log "stopped at the failure above"; e2e_finish' USR1
  local template
  template=$("$E2E_ROOT/scripts/wine_template.sh" "$prefix_arch")
  e2e_copy_prefix "$template" "$E2E_WORK/prefix"
  export WINEPREFIX="$E2E_WORK/prefix" WINEARCH="$prefix_arch" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  e2e_start_display
  e2e_log "prefix $prefix_arch, program $E2E_ARCH, display $DISPLAY"
}

# Starts a Windows program in the background; its output goes to $E2E_WORK/<log name>.out.
e2e_launch() {
  local log=$1; shift
  wine "$@" >"$E2E_WORK/$log.out" 2>"$E2E_WORK/$log.err" &
  E2E_PIDS+=($!)
  E2E_LAST_PID=$!
}

# Runs a Windows program and waits for it, printing its standard output unchanged. Under load
# Wine now and then fails to start a program at all ("ShellExecuteEx failed"); that start is
# retried, a failure of the program itself is not.
e2e_run() { e2e_run_to file "$@"; }
# The same with the program's standard output on a pipe, as a program reading it sees it.
e2e_run_piped() { e2e_run_to pipe "$@"; }
e2e_run_to() {  # file|pipe, program and parameters
  local how=$1 out err status
  shift
  # Files of their own: a run may go on in the background while another starts.
  out=$(mktemp "$E2E_WORK/.run.XXXXXX") && err=$(mktemp "$E2E_WORK/.run.XXXXXX")
  for _ in 1 2 3; do
    if [ "$how" = pipe ]; then
      wine "$@" 2>"$err" | cat >"$out" && status=0 || status=${PIPESTATUS[0]}
    else
      wine "$@" >"$out" 2>"$err" && status=0 || status=$?
    fi
    # The same when the prefix's server was ending as the start reached it (its clients had all
    # gone for its few seconds of persistence, as on a loaded machine): the start never got in.
    grep -q -e 'ShellExecuteEx failed' -e 'wine client error:0: recvmsg' "$out" "$err" 2>/dev/null || break
    sleep 1
  done
  cat "$out"
  cat "$err" >&2
  rm -f "$out" "$err"
  return "$status"
}

# A variable of the Windows environment of the test's prefix, such as APPDATA.
e2e_windows_variable() { e2e_run cmd /c echo "%$1%" | tr -d '\r'; }

# The Wine loader of the prefix's own architecture: in a 64-bit prefix plain "wine" starts the
# 32-bit build of a program of Windows' own (notepad, rundll32).
e2e_prefix_wine() {
  if [ "$WINEARCH" = win64 ]; then command -v wine64 || echo /usr/lib/wine/wine64; else command -v wine; fi
}

# Runs kvtool of the test's architecture and prints its output (CR removed).
e2e_tool() { e2e_run "$E2E_OUT/kvtool.exe" "$@" | tr -d '\r'; }

# File types as Windows knows them and a fresh Wine prefix does not. Without ".exe" -> exefile
# the shell gives every program the generic document icon instead of its own; text, web pages
# and pictures get an icon of their own (notepad's, and shell32's globe and picture).
e2e_register_file_types() {
  local sys='C:\windows\system32' key value
  while IFS='|' read -r key value; do
    e2e_tool regset HKCR "$key" @ sz "$value" >/dev/null || { echo "e2e: cannot register $key" >&2; return 1; }
  done <<TYPES
.exe|exefile
exefile\DefaultIcon|%1
.txt|txtfile
txtfile\DefaultIcon|$sys\notepad.exe,0
.htm|htmlfile
.html|htmlfile
htmlfile\DefaultIcon|$sys\shell32.dll,-14
.png|pngfile
pngfile|Image PNG
pngfile\DefaultIcon|$sys\shell32.dll,-226
pngfile\shell\open\command|"$sys\winebrowser.exe" "%1"
TYPES
}

# Starts notepad with a document and puts its window at x, y with the given size, out of the way
# of the windows a picture shows. False when no notepad window came.
e2e_start_notepad() {  # Windows path of the document, x, y, width, height
  local windows= window
  wine notepad "$1" >/dev/null 2>&1 &
  E2E_PIDS+=($!)
  e2e_tool wait-window --class Notepad 15000 >/dev/null || return 1
  for _ in $(seq 50); do
    windows=$(xdotool search --onlyvisible --class notepad 2>/dev/null || true)
    [ -n "$windows" ] && break
    sleep 0.1
  done
  for window in $windows; do xdotool windowmove "$window" "$2" "$3" windowsize "$window" "$4" "$5" || true; done
}

# The number of the program's latest finished window build (0 before the first). A window is
# built hidden and shown once filled; each showing is numbered, so a test reads this before an
# action and waits for a build with a higher number (e2e_wait_build).
e2e_builds() { e2e_tool number --class KestrivalumeWindow --title Kestrivalume Kestrivalume.LastBuild 2>/dev/null || echo 0; }

# What the program's idle work has done since its start, published on the button window: the
# catalogue refreshes ended (Refreshes: the first brings the programs), the due checks of the
# Start menu (RefreshChecks, every 45 s) and the window scans (Scans, every 7 s).
e2e_done() {  # Refreshes|RefreshChecks|Scans
  e2e_tool number --class KestrivalumeWindow --title Kestrivalume "Kestrivalume.$1" 2>/dev/null || echo 0
}

# Waits until that count is at least `count`; false after `seconds`, saying so on stderr.
e2e_wait_done() {  # Refreshes|RefreshChecks|Scans, count, [seconds]
  e2e_tool wait-number --class KestrivalumeWindow --title Kestrivalume "Kestrivalume.$1" "$2" $((${3:-30} * 1000)) >/dev/null
}

# Waits up to `seconds` until the window of that title is shown from a build later than `after`
# and its thread answers; prints the build's number. False, saying why on stderr, when none came.
e2e_wait_build() {  # title, after, [seconds]
  e2e_tool wait-build "$1" "$2" $((${3:-20} * 1000))
}

# Clicks the button window and waits up to `seconds` for a new build of the menu, the pointer
# then resting at x, y. Wine may drop a click on a window mapped a moment before: an unanswered
# click is repeated, three tries in all. False when no menu came.
e2e_open_menu() {  # seconds per try, pointer x, pointer y
  local _ before
  before=$(e2e_builds)
  for _ in 1 2 3; do
    xdotool mousemove 8 8 click 1
    xdotool mousemove "$2" "$3"
    e2e_wait_build "Start - Kestrivalume" "$before" "$1" >/dev/null 2>&1 && return 0
  done
  return 1
}

# Watches from now on how quickly the button window's thread answers (WM_NULL every 50 ms), so
# that a condition wait cannot simply wait out a frozen program; e2e_expect_answers ends the
# watch and checks it.
e2e_watch_answers() {  # name of the watch
  E2E_WATCH_STOP="$E2E_WORK/.watch-$1.stop"
  rm -f "$E2E_WATCH_STOP"
  e2e_launch "watch-$1" "$E2E_OUT/kvtool.exe" answer-watch --class KestrivalumeWindow --title Kestrivalume \
    "${E2E_SLOW_ANSWER_MS:-100}" "$(winepath -w "$E2E_WATCH_STOP")"
  E2E_WATCH_PID=$E2E_LAST_PID
  E2E_WATCH_OUT="$E2E_WORK/watch-$1.out"
  e2e_wait_line "$E2E_WATCH_OUT" '^watching' 20 || e2e_fail "the answer watch '$1' did not start"
}

# The limit is beyond the floor: what the machine itself took at worst to deliver the watch's
# message to an idle thread of its own, in the same run (a loaded machine stretches both).
e2e_expect_answers() {  # what, most milliseconds beyond the floor
  local summary slowest floor
  touch "$E2E_WATCH_STOP"
  wait "$E2E_WATCH_PID" || true
  summary=$(tr -d '\r' <"$E2E_WATCH_OUT")
  slowest=$(awk '$1 == "answers" {print $4}' <<<"$summary")
  floor=$(awk '$1 == "answers" {print $8}' <<<"$summary")
  if [ -n "$slowest" ] && [ -n "$floor" ] && [ "$slowest" -le $(($2 + floor)) ]; then
    e2e_log "ok: $1: the program answered within $2 ms beyond the floor throughout ($(grep "^answers" <<<"$summary"))"
  else
    e2e_fail "$1: the program did not always answer within $2 ms beyond the floor: ${summary:-no watch output}"
  fi
}

# Clicks a control of a window (found by its number in the dump) and waits for the build of the
# window that the click causes (the same one unless named); false when none came in `seconds`.
e2e_click_control_wait_build() {  # title, control number, [title of the window built], [seconds]
  local before
  before=$(e2e_builds)
  e2e_click_control "$1" "$2"
  e2e_wait_build "${3:-$1}" "$before" "${4:-20}" >/dev/null
}

# Clicks a point and waits for the window that the click builds (again); false when no new build
# came within `seconds`.
e2e_click_and_wait_build() {  # x, y, title of the window built, [seconds]
  local before
  before=$(e2e_builds)
  xdotool mousemove "$1" "$2" click 1
  e2e_wait_build "$3" "$before" "${4:-20}" >/dev/null
}

# Milliseconds on the wall clock, for the durations a test reports.
e2e_now_ms() { echo $(($(date +%s%N) / 1000000)); }

# Linux path of a Windows path inside the prefix.
e2e_unix_path() { winepath -u "$1" 2>/dev/null; }

# Waits until an X window with exactly this name exists; prints its X id.
e2e_wait_window() {
  local name=$1 seconds=${2:-20} id
  for _ in $(seq $((seconds * 10))); do
    id=$(xdotool search --name "^$name\$" 2>/dev/null | head -n 1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

# Waits until the window titled exactly so is shown, not only created: a window filled with
# many controls is built hidden and shown at the end.
e2e_wait_shown() {  # title [seconds]
  local title=$1 seconds=${2:-20}
  for _ in $(seq $((seconds * 10))); do
    e2e_tool state "$title" 2>/dev/null | grep -q "^visible.1" && return 0
    sleep 0.1
  done
  return 1
}

# Waits until a file holds a line matching the pattern (Windows line ends ignored).
e2e_wait_line() {
  local file=$1 pattern=$2 seconds=${3:-20}
  for _ in $(seq $((seconds * 10))); do
    tr -d '\r' 2>/dev/null <"$file" | grep -q -- "$pattern" && return 0
    sleep 0.1
  done
  return 1
}

# Writes the UTF-8 text on stdin as a Windows text file with CR LF line ends: in the ANSI code
# page (cp1252) or in UTF-16 LE with its byte-order mark (utf-16le), as Windows writes
# desktop.ini files.
e2e_write_text() {  # cp1252|utf-16le, file
  case $1 in
    cp1252) sed 's/$/\r/' | iconv -f UTF-8 -t CP1252 >"$2" ;;
    utf-16le) { printf '\xff\xfe'; sed 's/$/\r/' | iconv -f UTF-8 -t UTF-16LE; } >"$2" ;;
    *) echo "e2e_write_text: unknown encoding $1" >&2; return 1 ;;
  esac
}

# "x y width height" of an X window.
e2e_geometry() {
  xdotool getwindowgeometry --shell "$1" | awk -F= '/^X=/{x=$2} /^Y=/{y=$2} /^WIDTH=/{w=$2} /^HEIGHT=/{h=$2} END{print x, y, w, h}'
}

e2e_screenshot() {
  local file="$E2E_SHOTS/$E2E_NAME-$1.png"
  import -window root "$file" 2>/dev/null && e2e_log "screenshot $file"
}

# Colour "r,g,b" of one screen pixel.
e2e_pixel() {
  import -window root -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null | sed -n '2s/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1,\2,\3/p'
}

# kvtool dump of a window, converted to UTF-8, once the window is shown from a finished build
# and its thread answers. A dump that cannot be taken ends the test there, with kvtool's reason
# (the window, the control and how long it was waited for).
e2e_dump() {
  local title=$1 out why
  why=$(e2e_wait_build "$title" 0 20 2>&1 >/dev/null) || e2e_fail_now "no dump of '$title': $why"
  out=$(e2e_tool dump "$title" 2>"$E2E_WORK/.dump.err") ||
    e2e_fail_now "no dump of '$title': $(tr -d '\r' <"$E2E_WORK/.dump.err")"
  iconv -f CP1252 -t UTF-8 <<<"$out"
}

# Clicks the centre of a child control of a window, found by its id in the dump (rectangles are
# relative to the client area, whose screen position is the dump's origin line).
e2e_click_control() {
  e2e_click_control_in "$(e2e_dump "$1")" "$2" "$1"
}

# The same with a dump taken before (a window of thousands of controls is slow to dump).
e2e_click_control_in() {  # dump, id, window title (for the message)
  local listing=$1 id=$2 rect origin l t r b x y
  rect=$(awk -F'\t' -v id="$id" '$1 == id {print $3; exit}' <<<"$listing")
  origin=$(awk -F'\t' '$1 == "origin" {print $2; exit}' <<<"$listing")
  if [ -z "$rect" ] || [ -z "$origin" ]; then e2e_fail "control $id not in '${3:-the dump}'"; return 0; fi
  IFS=, read -r l t r b <<<"$rect"
  IFS=, read -r x y <<<"$origin"
  xdotool mousemove $((x + (l + r) / 2)) $((y + (t + b) / 2)) click 1
}

e2e_expect_eq() {  # what, expected, actual
  if [ "$2" = "$3" ]; then e2e_log "ok: $1"; else e2e_fail "$1: expected '$2', got '$3'"; fi
}

e2e_expect() {  # what, command... (its output is not shown)
  local what=$1; shift
  if "$@" >/dev/null; then e2e_log "ok: $what"; else e2e_fail "$what"; fi
}

e2e_finish() {
  local counted=0
  [ -f "$E2E_WORK/.failures" ] && counted=$(wc -l <"$E2E_WORK/.failures")
  [ "$counted" -gt "$E2E_FAILURES" ] && E2E_FAILURES=$counted
  if [ "$E2E_FAILURES" -gt 0 ]; then
    e2e_log "$E2E_FAILURES check(s) failed; work folder kept: $E2E_WORK"
    KV_E2E_KEEP=1
    exit 1
  fi
  e2e_log "all checks passed"
}
