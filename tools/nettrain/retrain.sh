#!/bin/sh
# Writes engine/strong/net/zel-768x128.net again from nothing, as it was made, in four rounds:
#
# 1. Self-play games of the classic search at 4000 nodes a move from ten random opening plies
#    (seeds 201 and 202; 8254 and 8276 games, 1222012 positions), fitted to the search's
#    scores: the first net, the one commit 4d15a1b holds.
# 2. Games of that first net's search, made by commit 4d15a1b's zel_selfplay (--eval net,
#    seeds 203 and 204; 14292 and 12352 games, 1967088 positions), and the net fitted again
#    to the positions of both rounds, 16 epochs: the second net, the one commit 60dd6f8 holds.
# 3. Games of the second net's search, made by commit 60dd6f8's zel_selfplay (seeds 205 and
#    206; 9932 and 9926 games, 1503888 positions), and the net fitted to all six files: the
#    third net, the one commit 4dfc491 holds.
# 4. Games of the third net's search, made by commit 4dfc491's zel_selfplay (seeds 207 and
#    208; 17272 and 16387 games, 2542187 positions), and the third net fitted further to
#    those alone (--init, 6 epochs at a rate of 0.001, one thread).
#
# About six hours of two cores. Needs a git checkout: the later rounds build the
# commits that hold the nets they play with.
# Usage: tools/nettrain/retrain.sh BUILD_DIR [WORK_DIR]
set -eu
build=$(cd "$1" && pwd)
work=${2:-$(mktemp -d)}
src=$(cd "$(dirname "$0")/../.." && pwd)
fit="$build/tools/nettrain/zel_nettrain"
cd "$work"

# checkout NAME COMMIT NET_ARGS...: fits a net into a checkout of the commit that holds it
# and says when the two differ.
checkout() {
    name=$1 commit=$2
    shift 2
    git -C "$src" worktree add --detach "$work/$name" "$commit"
    "$fit" --threads 2 "$@" --out "$work/$name/engine/strong/net/zel-768x128.net" $files
    git -C "$work/$name" diff --quiet -- engine/strong/net ||
        echo "retrain.sh: the $name net differs from the one commit $commit holds" >&2
}
# play NAME SEED GAMES SEED GAMES: the games of that checkout's search with its net, on both
# cores; the checkout is removed afterwards.
play() {
    name=$1
    cmake -S "$work/$name" -B "$work/$name-build" -DCMAKE_BUILD_TYPE=Release -DZEL_GUI=OFF > /dev/null
    cmake --build "$work/$name-build" -j2 --target zel_selfplay > /dev/null
    selfplay="$work/$name-build/tools/evaltune/zel_selfplay"
    "$selfplay" --games "$3" --nodes 4000 --seed "$2" --random-plies 10 --eval net > "n$2.txt" &
    "$selfplay" --games "$5" --nodes 4000 --seed "$4" --random-plies 10 --eval net > "n$4.txt"
    wait
    git -C "$src" worktree remove --force "$work/$name"
    files="$files n$2.txt n$4.txt"
}

# Round 1: the classic search's games, and the first net fitted to them.
"$build/tools/evaltune/zel_selfplay" --games 8254 --nodes 4000 --seed 201 --random-plies 10 > g201.txt &
"$build/tools/evaltune/zel_selfplay" --games 8276 --nodes 4000 --seed 202 --random-plies 10 > g202.txt
wait
files="g201.txt g202.txt"
checkout first 4d15a1b
# Round 2: the first net's own games, and the second net fitted to both rounds'.
play first 203 14292 204 12352
checkout second 60dd6f8 --epochs 16
# Round 3: the second net's own games, and the third net fitted to all of them.
play second 205 9932 206 9926
checkout third 4dfc491 --epochs 16
cp "$work/third/engine/strong/net/zel-768x128.net" third.net
# Round 4: the third net's own games, and the third net fitted further to them alone.
files=""
play third 207 17272 208 16387
"$fit" --threads 1 --init third.net --epochs 6 --lr 0.001 \
    --out "$src/engine/strong/net/zel-768x128.net" $files
