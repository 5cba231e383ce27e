#!/bin/sh
# Writes engine/strong/net/zel-768x128.net again from nothing, as it was made: self-play games
# of the classic search at 4000 nodes a move from ten random opening plies (seeds 201 and
# 202; 8254 and 8276 games, 1222012 positions), fitted to the search's scores. About an hour
# of two cores.
# Usage: tools/nettrain/retrain.sh BUILD_DIR [WORK_DIR]
set -eu
build=$(cd "$1" && pwd)
work=${2:-$(mktemp -d)}
src=$(cd "$(dirname "$0")/../.." && pwd)
play="$build/tools/evaltune/zel_selfplay"
cd "$work"
"$play" --games 8254 --nodes 4000 --seed 201 --random-plies 10 > g201.txt &
"$play" --games 8276 --nodes 4000 --seed 202 --random-plies 10 > g202.txt
wait
"$build/tools/nettrain/zel_nettrain" --threads 2 --out "$src/engine/strong/net/zel-768x128.net" \
    g201.txt g202.txt
