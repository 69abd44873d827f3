#!/bin/bash
# The program's command line as a player or a script meets it: help, version, a bad
# option, a missing OpenGL, and replays good, damaged and foreign, by exit code and
# message.
set -u
game="$1"
corpus="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"
export SDL_AUDIODRIVER=dummy LIBGL_ALWAYS_SOFTWARE=1 MESA_SHADER_CACHE_DISABLE=true
fail=0

expect() {  # expect CODE TEXT -- command...
  local code="$1" text="$2"
  shift 3
  local out rc
  out="$(timeout 120 "$@" 2>&1)"
  rc=$?
  if [ "$rc" -ne "$code" ]; then
    echo "FAIL: '$*' exited $rc, not $code:"; echo "$out"; fail=1
  elif ! grep -q -- "$text" <<<"$out"; then
    echo "FAIL: '$*' did not say '$text':"; echo "$out"; fail=1
  fi
}

expect 0 "--verify-replay FILE" -- "$game" --help
expect 0 "^Silkguard 1.0$" -- "$game" --version
expect 2 "unknown option --bogus" -- "$game" --bogus
expect 2 "needs a whole number" -- "$game" --seed ten
# No OpenGL to be had: said plainly, exit 1, nothing left behind.
expect 1 "could not open an OpenGL display" -- env SDL_VIDEODRIVER=dummy "$game" --data-dir "$work/data"
[ -z "$(ls -A "$work/data" 2>/dev/null)" ] || { echo "FAIL: files left without a display"; fail=1; }
# Replays: a recorded session checks out; damaged and foreign files are refused.
export SDL_VIDEODRIVER=offscreen
# A session recorded now (the menu, until the process is told to stop) checks out.
"$game" --data-dir "$work/data" --seed 5 --record "$work/menu.rpl" 2>/dev/null &
pid=$!
sleep 3
kill -TERM $pid
wait $pid || { echo "FAIL: the recording run did not end cleanly"; fail=1; }
expect 0 "matches its recording" -- "$game" --verify-replay "$work/menu.rpl"
rm -f "$work/menu.rpl"
expect 2 "damaged" -- "$game" --verify-replay "$corpus/bad_checksum.rpl"
expect 2 "not a Silkguard replay" -- "$game" --verify-replay "$corpus/foreign.rpl"
expect 2 "cannot read the replay" -- "$game" --verify-replay "$work/none.rpl"
[ -z "$(ls -A "$work" | grep -v '^data$')" ] || { echo "FAIL: a replay left files behind:"; ls -A "$work"; fail=1; }

[ $fail -eq 0 ] && echo "command line as expected"
exit $fail
