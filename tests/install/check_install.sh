#!/usr/bin/env bash
# Installs the built game into a fresh prefix and checks the tree a desktop expects:
# the program, its desktop entry and AppStream data (both validated), the icon at every
# size and the man page.
# Usage: check_install.sh BUILD_DIR
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" > /dev/null

fail=0
need() {
  if [ ! -e "$prefix/$1" ]; then
    echo "missing: $1"
    fail=1
  fi
}
need games/silkguard
need share/applications/org.silkguard.Silkguard.desktop
need share/metainfo/org.silkguard.Silkguard.metainfo.xml
need share/man/man6/silkguard.6
need lib/silkguard/libquilo.so
need bin/silkguard-scores
for size in 16 24 32 48 64 128 256; do
  need "share/icons/hicolor/${size}x${size}/apps/org.silkguard.Silkguard.png"
done
[ -x "$prefix/games/silkguard" ] || { echo "not executable: games/silkguard"; fail=1; }

desktop-file-validate "$prefix/share/applications/org.silkguard.Silkguard.desktop" || fail=1
appstreamcli validate --no-net "$prefix/share/metainfo/org.silkguard.Silkguard.metainfo.xml" \
  > /dev/null || fail=1

# Every icon is a PNG of the size its folder names.
for size in 16 24 32 48 64 128 256; do
  png="$prefix/share/icons/hicolor/${size}x${size}/apps/org.silkguard.Silkguard.png"
  [ -f "$png" ] || continue
  dims=$(od -An -tu1 -j16 -N8 "$png" | awk '{print $3*256+$4 "x" $7*256+$8}')
  if [ "$dims" != "${size}x${size}" ]; then
    echo "icon ${size}: is $dims"
    fail=1
  fi
done

# Started from the installed tree, the game keeps its files in the user's data folder,
# made on first run, and leaves the folder it was started from alone.
mkdir -p "$prefix/run" "$prefix/home"
(
  cd "$prefix/run"
  SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy LIBGL_ALWAYS_SOFTWARE=1 \
    HOME="$prefix/home" XDG_DATA_HOME="$prefix/xdg" "$prefix/games/silkguard" 2> "$prefix/err" &
  pid=$!
  sleep 4
  kill -TERM $pid
  wait $pid
) || { echo "the installed game did not end cleanly:"; cat "$prefix/err"; fail=1; }
[ -f "$prefix/xdg/silkguard/settings.dat" ] || { echo "no settings.dat in the data folder"; fail=1; }
[ -z "$(ls -A "$prefix/run")" ] || { echo "files left in the starting folder"; fail=1; }

[ $fail -eq 0 ] && echo "install tree complete"
exit $fail
