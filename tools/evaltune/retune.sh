#!/bin/sh
# Writes engine/strong/StrongTunedWeights.h again from nothing, as it was made: self-play games
# of the strong search at 12000 nodes a move (deterministic for a given seed), the first two
# seeds' positions scored again by a 3000-node search, the third's fitted beside them and the
# fourth's kept aside to choose the step at which the fit generalises best. About an hour of
# one core. Usage: tools/evaltune/retune.sh BUILD_DIR [WORK_DIR]
set -eu
build=$(cd "$1" && pwd)
work=${2:-$(mktemp -d)}
src=$(cd "$(dirname "$0")/../.." && pwd)
play="$build/tools/evaltune/zel_selfplay"
cd "$work"
"$play" --games 310 --nodes 12000 --seed 1 --random-plies 10 > s1.txt
"$play" --games 322 --nodes 12000 --seed 2 --random-plies 10 > s2.txt
"$play" --games 199 --nodes 12000 --seed 3 --random-plies 10 > s3.txt
"$play" --games 197 --nodes 12000 --seed 4 --random-plies 10 > s4.txt
cat s1.txt s2.txt | cut -d'|' -f1,2 | sed 's/ $//' | "$play" --label --nodes 3000 > s12.txt
"$build/tools/evaltune/zel_tune" --epochs 1500 --rate 3e4 --pull 0 --lambda 0 --check s4.txt \
    --out "$src/engine/strong/StrongTunedWeights.h" s12.txt s3.txt
