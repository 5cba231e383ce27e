#!/bin/sh
# zel_nettrain --init: a net read back and fitted at a rate of nothing is written byte for
# byte as it was read, and a file that is not a net is refused without writing anything.
# Usage: nettrain_init_test.sh ZEL_NETTRAIN NET
set -eu
fit=$1 net=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cat > "$dir/positions.txt" <<'POSITIONS'
rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - 0 1 | 0.5 | 35
r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 2 3 | 1.0 | 40
6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1 | 1.0 | 520
6k1/5ppp/8/8/8/8/5PPP/6K1 b - - 0 1 | 0.5 | 0
POSITIONS
"$fit" --threads 1 --init "$net" --epochs 1 --lr 0 --valid 0.25 --out "$dir/same.net" "$dir/positions.txt"
cmp "$net" "$dir/same.net"
head -c 100 "$net" > "$dir/short.net"
if "$fit" --init "$dir/short.net" --epochs 1 --out "$dir/none.net" "$dir/positions.txt"; then
    echo "a net cut short was taken" >&2
    exit 1
fi
test ! -e "$dir/none.net"
