#!/bin/sh
# Writes engine/strong/StrongTunedWeights.h again from nothing, as it was made, in two rounds.
# The self-play games are the classic search's, deterministic for a given seed.
#  1. Games at 12000 nodes a move; the first two seeds' positions scored again by a 3000-node
#     search, the third's fitted beside them, the fourth's kept aside to choose the step at
#     which the fit generalises best; fitted to the search's scores alone (safe checks, a
#     later term, kept at nothing).
#  2. The tuner built again with that table, which it starts from; games at 5000 nodes a move
#     (seeds 101 and 102, 550781 positions), the last 40000 positions kept aside; fitted to
#     the blend of the games' results and the search's scores.
# About three hours of one core. Usage: tools/evaltune/retune.sh BUILD_DIR [WORK_DIR]
set -eu
build=$(cd "$1" && pwd)
work=${2:-$(mktemp -d)}
src=$(cd "$(dirname "$0")/../.." && pwd)
play="$build/tools/evaltune/zel_selfplay"
tune="$build/tools/evaltune/zel_tune"
out="$src/engine/strong/StrongTunedWeights.h"
cd "$work"
"$play" --games 310 --nodes 12000 --seed 1 --random-plies 10 > s1.txt
"$play" --games 322 --nodes 12000 --seed 2 --random-plies 10 > s2.txt
"$play" --games 199 --nodes 12000 --seed 3 --random-plies 10 > s3.txt
"$play" --games 197 --nodes 12000 --seed 4 --random-plies 10 > s4.txt
cat s1.txt s2.txt | cut -d'|' -f1,2 | sed 's/ $//' | "$play" --label --nodes 3000 > s12.txt
"$tune" --epochs 1500 --rate 3e4 --pull 0 --lambda 0 --freeze SafeCheck --check s4.txt --out "$out" \
    s12.txt s3.txt
cmake --build "$build" --target zel_tune
"$play" --games 3709 --nodes 5000 --seed 101 --random-plies 10 > g101.txt
"$play" --games 3679 --nodes 5000 --seed 102 --random-plies 10 > g102.txt
head -n 232012 g102.txt > g102-train.txt
tail -n 40000 g102.txt > g102-check.txt
"$tune" --start tuned --lambda 0.5 --epochs 1500 --rate 3e4 --pull 0 --check g102-check.txt \
    --out "$out" g101.txt g102-train.txt
