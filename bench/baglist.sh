#!/usr/bin/env bash
# baglist against its floor: one write(2) per line of lines already in memory.
#
#	bench/baglist.sh [build directory] [pairs]
#
# Both write `baglist 6` with 24 one-letter items (475,020 lines) into a pipe
# read by wc -c; the figures are each producer's own cpu time (user + system,
# from wait4), median of the pairs, run alternately. Then the write(2) calls
# per line, and the peak memory against what the result itself takes. With
# BENCH_CPU=N both ends of each pipe run on cpu N alone (taskset), which
# steadies the figures on a busy or virtual machine.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
pairs=${2:-7}

cmake -S . -B "$build" >/dev/null
cmake --build "$build" -j 2 --target baglist cpu_of write_floor >/dev/null
baglist=$build/baglist/baglist
cpu_of=$build/bench/cpu_of
k=6
items=(a b c d e f g h i j k l m n o p q r s t u v w x)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
listing=$scratch/listing
"$baglist" "$k" "${items[@]}" >"$listing"
lines=$(wc -l <"$listing" | tr -d ' ')
size=$(wc -c <"$listing" | tr -d ' ')
pin=()
if [ -n "${BENCH_CPU:-}" ]; then
	pin=(taskset -c "$BENCH_CPU")
fi

. bench/common.sh

for ((i = 0; i < pairs; i++)); do
	run_into_pipe baglist "$baglist" "$k" "${items[@]}"
	run_into_pipe floor "$build/bench/write_floor" "$listing"
done
if ! same_bytes "$size" baglist floor; then
	echo "bench/baglist.sh: baglist and the floor did not both write $size bytes" >&2
	exit 1
fi
ours=$(median <"$scratch/baglist.cpu")
floor=$(median <"$scratch/floor.cpu")
rss=$(median <"$scratch/baglist.rss")

writes=unknown
if command -v strace >/dev/null; then
	strace -f -c -e trace=write -o "$scratch/strace" "$baglist" "$k" "${items[@]}" >/dev/null
	writes=$(awk '$NF == "write" { print $4 }' "$scratch/strace")
fi

# What the result itself takes: the outer array, and per multiset one block
# of k strings with malloc's header and 16-byte rounding.
result_kib=$(awk -v n="$lines" -v k="$k" 'BEGIN {
	block = int((k * 32 + 8 + 15) / 16) * 16
	printf "%d", (n * 24 + n * block) / 1024 }')

printf 'workload        baglist %s with %d items: %d lines, %d bytes\n' "$k" "${#items[@]}" "$lines" "$size"
printf 'cpu, baglist    %.3f s (median of %d pairs%s)\n' "$ours" "$pairs" "${BENCH_CPU:+, on cpu $BENCH_CPU}"
printf 'cpu, floor      %.3f s (one write(2) per line)\n' "$floor"
printf 'ratio           %.2f (target at most 1.25)\n' "$(awk -v a="$ours" -v b="$floor" 'BEGIN { print a / b }')"
printf 'write(2) calls  %s for %d lines\n' "$writes" "$lines"
printf 'peak memory     %d KiB; the result itself takes %d KiB\n' "$rss" "$result_kib"
