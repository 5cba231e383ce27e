#!/usr/bin/env bash
# The program's start-up time and resident memory, measured on the real program under a
# virtual X display of its own (Xvfb with openbox), driven with xdotool as a person would.
#
#   bench/startup-memory.sh [--program FILE] [--runs N] [--cold]
#
# Start-up: the time from launching the program to its main window being usable, that is,
# the board painted for the first time and the event loop back and waiting for input (the
# program writes that moment when ZEL_STARTUP_MARK is set). Median, fastest and slowest of
# N launches (7 by default), each with empty settings, as on a first start. --cold empties
# the system's page cache before each launch (root only; it slows the whole machine for a
# moment), so that libraries, fonts and data are read from disk again.
#
# Memory: VmRSS and VmHWM from /proc after the program has started (music loaded) and
# again after every window has been opened and closed in turn: help, save, open, print,
# the PGN save and open dialogs, about, the options panel and the context menu.
#
# Sound goes to SDL's dummy driver, so the music loads as it does with a sound card.
# Needs xvfb, openbox, xdotool (scripts/install-deps --tryout).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
program="$root/build/app/chesszel"
runs=7
cold=0
while [ $# -gt 0 ]; do
  case "$1" in
    --program) program="$2"; shift 2 ;;
    --runs) runs="$2"; shift 2 ;;
    --cold) cold=1; shift ;;
    *) echo "usage: $0 [--program FILE] [--runs N] [--cold]" >&2; exit 2 ;;
  esac
done
[ -x "$program" ] || { echo "no program at $program (build the target chesszel)" >&2; exit 1; }
for tool in Xvfb openbox xdotool; do
  command -v "$tool" >/dev/null || { echo "$tool is missing: scripts/install-deps --tryout" >&2; exit 1; }
done

work="$(mktemp -d)"
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# A display of our own: Xvfb picks a free number and writes it to the pipe.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
exec 3>&-
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
export DISPLAY=":$(head -1 "$work/display")"
openbox >/dev/null 2>&1 &
pids+=($!)
sleep 0.5

export SDL_AUDIODRIVER=dummy ZEL_STARTUP_MARK=1
unset QT_QPA_PLATFORM

# Starts the program with empty settings; sets launched (its pid) and started (ns).
launch() {
  local home="$work/home-$1"
  mkdir -p "$home/config" "$home/data"
  started=$(date +%s%N)
  XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" "$program" 2>"$home/err" >/dev/null &
  launched=$!
  pids+=("$launched")
}

# Waits for the usable mark of launch $1; prints the milliseconds since its start.
usable_ms() {
  local err="$work/home-$1/err" mark=""
  for _ in $(seq 2000); do
    mark=$(grep -o 'usable at [0-9]*' "$err" 2>/dev/null | awk '{print $3}') || true
    [ -n "$mark" ] && break
    sleep 0.01
  done
  [ -n "$mark" ] || { echo "launch $1 never became usable:" >&2; cat "$err" >&2; exit 1; }
  echo $(((mark - started) / 1000000))
}

finish() {
  kill "$1" 2>/dev/null || true
  wait "$1" 2>/dev/null || true
}

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"

# --- Start-up -------------------------------------------------------------------------
times=()
for run in $(seq "$runs"); do
  if [ "$cold" = 1 ]; then
    sync
    echo 3 >/proc/sys/vm/drop_caches || { echo "--cold needs root" >&2; exit 1; }
  fi
  launch "start$run"
  times+=("$(usable_ms "start$run")")
  finish "$launched"
done
sorted=($(printf '%s\n' "${times[@]}" | sort -n))
median=${sorted[$((runs / 2))]}
[ $((runs % 2)) = 0 ] && median=$(((sorted[runs / 2 - 1] + sorted[runs / 2]) / 2))
kind=warm
[ "$cold" = 1 ] && kind=cold
echo "start-up to a usable main window ($kind, $runs launches): median $median ms," \
     "fastest ${sorted[0]} ms, slowest ${sorted[$((runs - 1))]} ms (all: ${times[*]})"

# --- Memory ---------------------------------------------------------------------------
resident() { awk '/^VmRSS/{r=$2} /^VmHWM/{h=$2} END{printf "%.1f MB resident (peak %.1f MB)", r/1024, h/1024}' "/proc/$1/status"; }

launch memory
pid=$launched
usable_ms memory >/dev/null
sleep 3 # the music's instruments load in the background
echo "memory at start, music loaded: $(resident "$pid")"

main=$(xdotool search --onlyvisible --pid "$pid" | head -1)
visible() { xdotool search --onlyvisible --pid "$pid" 2>/dev/null | sort; }
opened=()
missed=()
# open_window NAME COMMAND...: runs the command over the main window, waits for a new window of
# the program, then closes it with Escape (or the window manager's Alt+F4).
open_window() {
  local name=$1 before new=""
  shift
  before=$(visible)
  xdotool windowactivate --sync "$main" >/dev/null 2>&1 || true
  "$@"
  for _ in $(seq 50); do
    new=$(comm -13 <(echo "$before") <(visible) | head -1)
    [ -n "$new" ] && break
    sleep 0.1
  done
  if [ -z "$new" ]; then missed+=("$name"); return; fi
  sleep 0.5
  opened+=("$name")
  xdotool windowactivate --sync "$new" >/dev/null 2>&1 || true
  xdotool key --clearmodifiers Escape
  for _ in $(seq 20); do visible | grep -qx "$new" || return 0; sleep 0.1; done
  xdotool key --clearmodifiers alt+F4
  sleep 0.5
}
# The Play panel's "Play" starts a game, so that saving and printing are possible.
xdotool windowactivate --sync "$main" >/dev/null 2>&1 || true
xdotool key --clearmodifiers alt+p
sleep 1
open_window help xdotool key --clearmodifiers F1
open_window save xdotool key --clearmodifiers ctrl+s
open_window open xdotool key --clearmodifiers ctrl+o
open_window print xdotool key --clearmodifiers ctrl+p
open_window pgn-save xdotool key --clearmodifiers ctrl+shift+s
open_window pgn-open xdotool key --clearmodifiers ctrl+shift+o
open_window menu xdotool mousemove --window "$main" 600 420 click 3
# The side panel's buttons, by their place in the 633x457 window.
open_window about xdotool mousemove --window "$main" 576 73 click 1
xdotool windowactivate --sync "$main" >/dev/null 2>&1 || true
xdotool mousemove --window "$main" 544 73 click 1 # options: a panel inside the window
sleep 1
opened+=(options)
echo "memory after opening every window: $(resident "$pid")"
echo "windows opened: ${opened[*]}${missed[*]:+; did not open: ${missed[*]}}"
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
finish "$pid"
