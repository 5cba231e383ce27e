#!/bin/sh
# Writes engine/strong/net/zel-768x128.net again from nothing, as it was made, in three rounds:
#
# 1. Self-play games of the classic search at 4000 nodes a move from ten random opening plies
#    (seeds 201 and 202; 8254 and 8276 games, 1222012 positions), fitted to the search's
#    scores: the first net, the one commit 4d15a1b holds.
# 2. Games of that first net's search, made by commit 4d15a1b's zel_selfplay (--eval net,
#    seeds 203 and 204; 14292 and 12352 games, 1967088 positions), and the net fitted again
#    to the positions of both rounds, 16 epochs: the second net, the one commit 60dd6f8 holds.
# 3. Games of the second net's search, made by commit 60dd6f8's zel_selfplay (seeds 205 and
#    206; 9932 and 9926 games, 1503888 positions), and the net fitted to all six files.
#
# About four and a half hours of two cores. Needs a git checkout: the later rounds build the
# commits that hold the nets they play with.
# Usage: tools/nettrain/retrain.sh BUILD_DIR [WORK_DIR]
set -eu
build=$(cd "$1" && pwd)
work=${2:-$(mktemp -d)}
src=$(cd "$(dirname "$0")/../.." && pwd)
play="$build/tools/evaltune/zel_selfplay"
fit="$build/tools/nettrain/zel_nettrain"
cd "$work"
# Round 1: the classic search's games, and the first net fitted to them inside a checkout of
# the commit that holds it, whose zel_selfplay then plays with the net just made.
"$play" --games 8254 --nodes 4000 --seed 201 --random-plies 10 > g201.txt &
"$play" --games 8276 --nodes 4000 --seed 202 --random-plies 10 > g202.txt
wait
git -C "$src" worktree add --detach "$work/first" 4d15a1b
"$fit" --threads 2 --out "$work/first/engine/strong/net/zel-768x128.net" g201.txt g202.txt
git -C "$work/first" diff --quiet -- engine/strong/net ||
    echo "retrain.sh: the first net differs from the one commit 4d15a1b holds" >&2
# Round 2: the first net's own games, and the second net fitted inside a checkout of the
# commit that holds it.
cmake -S "$work/first" -B "$work/first-build" -DCMAKE_BUILD_TYPE=Release -DZEL_GUI=OFF > /dev/null
cmake --build "$work/first-build" -j2 --target zel_selfplay > /dev/null
first="$work/first-build/tools/evaltune/zel_selfplay"
"$first" --games 14292 --nodes 4000 --seed 203 --random-plies 10 --eval net > n203.txt &
"$first" --games 12352 --nodes 4000 --seed 204 --random-plies 10 --eval net > n204.txt
wait
git -C "$src" worktree remove --force "$work/first"
git -C "$src" worktree add --detach "$work/second" 60dd6f8
"$fit" --threads 2 --epochs 16 --out "$work/second/engine/strong/net/zel-768x128.net" \
    g201.txt g202.txt n203.txt n204.txt
git -C "$work/second" diff --quiet -- engine/strong/net ||
    echo "retrain.sh: the second net differs from the one commit 60dd6f8 holds" >&2
# Round 3: the second net's own games, and the net fitted to all of them.
cmake -S "$work/second" -B "$work/second-build" -DCMAKE_BUILD_TYPE=Release -DZEL_GUI=OFF > /dev/null
cmake --build "$work/second-build" -j2 --target zel_selfplay > /dev/null
second="$work/second-build/tools/evaltune/zel_selfplay"
"$second" --games 9932 --nodes 4000 --seed 205 --random-plies 10 --eval net > n205.txt &
"$second" --games 9926 --nodes 4000 --seed 206 --random-plies 10 --eval net > n206.txt
wait
git -C "$src" worktree remove --force "$work/second"
"$fit" --threads 2 --epochs 16 --out "$src/engine/strong/net/zel-768x128.net" \
    g201.txt g202.txt n203.txt n204.txt n205.txt n206.txt
