#!/bin/sh
# Runs two builds of zel_strong_speed in turn, one round each at a time, so that both meet the
# same load; prints each round's ratio of B's speed to A's and their median, and says whether
# both found the same moves (the same search).
#
#   bench/strong-speed-compare.sh A/zel_strong_speed B/zel_strong_speed [nodes] [rounds] [threads]
set -eu
a=$1 b=$2 nodes=${3:-300000} rounds=${4:-5} threads=${5:-}
ratios=""
for i in $(seq "$rounds"); do
    out_a=$("$a" "$nodes" 1 $threads)
    out_b=$("$b" "$nodes" 1 $threads)
    speed_a=$(echo "$out_a" | sed -n 's/^median \([0-9]*\) .*/\1/p')
    speed_b=$(echo "$out_b" | sed -n 's/^median \([0-9]*\) .*/\1/p')
    ratio=$(awk -v a="$speed_a" -v b="$speed_b" 'BEGIN { printf "%.3f", b / a }')
    echo "round $i: A $speed_a, B $speed_b nodes a second, B/A $ratio"
    ratios="$ratios $ratio"
    moves_a=$(echo "$out_a" | grep '^moves')
    moves_b=$(echo "$out_b" | grep '^moves')
done
echo "$ratios" | tr ' ' '\n' | grep . | sort -n | awk '{ r[NR] = $1 } END { printf "median B/A %s\n", r[int((NR + 1) / 2)] }'
if [ "$moves_a" = "$moves_b" ]; then echo "same moves"; else echo "the moves differ:"; echo "A $moves_a"; echo "B $moves_b"; fi
