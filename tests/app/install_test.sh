#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks the result as a desktop would see
# it: the program, its data folder, a valid desktop entry and AppStream metadata, the
# icons; then starts the installed program, which must find its data in the prefix.
#   install_test.sh <build folder> <application id>
set -euo pipefail
build=$1
id=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null

[ -x "$prefix/bin/chesszel" ] || fail "no program in bin/"
[ -x "$prefix/bin/chesszel-engine" ] || fail "no chesszel-engine in bin/"
printf 'uci\nquit\n' | timeout 10 "$prefix/bin/chesszel-engine" | grep -qx uciok ||
  fail "chesszel-engine does not answer uci"
for f in chess.hlp PjdSom1.wav Captura.wav Bell.wav Cheque.wav mate.wav Empate.wav Passport.mid; do
  [ -s "$prefix/share/chesszel/$f" ] || fail "data file $f missing from share/chesszel/"
done
desktop-file-validate "$prefix/share/applications/$id.desktop" || fail "desktop entry"
grep -qx "Icon=$id" "$prefix/share/applications/$id.desktop" || fail "desktop entry names another icon"
appstreamcli validate --no-net --no-color "$prefix/share/metainfo/$id.metainfo.xml" >/dev/null ||
  fail "AppStream metadata: $(appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml")"
icons="$prefix/share/icons/hicolor"
grep -q "<svg" "$icons/scalable/apps/$id.svg" || fail "scalable icon"
for size in 16 22 24 32 48 64 128 256; do
  png="$icons/${size}x${size}/apps/$id.png"
  [ -s "$png" ] || fail "icon ${size}x${size} missing"
  # PNG header: width and height are big-endian words at bytes 16 and 20.
  dims=$(od -An -tu1 -j16 -N8 "$png" | awk '{print $3*256+$4 "x" $7*256+$8}')
  [ "$dims" = "${size}x${size}" ] || fail "icon ${size}x${size} is $dims"
done

# The installed program reports the data folder it found and exits.
export QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy
export XDG_CONFIG_HOME="$prefix/config" XDG_DATA_HOME="$prefix/data"
found=$(timeout 20 "$prefix/bin/chesszel" --self-test-data) || fail "chesszel --self-test-data"
found=$(printf '%s\n' "$found" | tail -n 1)
[ "$(realpath -m "$found")" = "$(realpath -m "$prefix/share/chesszel")" ] ||
  fail "the installed program found its data in '$found', not in $prefix/share/chesszel/"
[ "${found: -1}" = "/" ] || fail "data folder '$found' lacks its trailing separator"
echo "installed and found its data in $found"
