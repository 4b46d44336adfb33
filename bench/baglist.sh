#!/usr/bin/env bash
# baglist against its floor: one write(2) per line of lines already in memory.
#
#	bench/baglist.sh [build directory] [pairs]
#
# Both write `baglist 6` with 24 one-letter items (475,020 lines) into a pipe;
# the figures are each producer's own cpu time (user + system, from wait4),
# median of the pairs, run alternately. Also the write(2) calls per line and
# the peak memory against what the result itself takes.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
pairs=${2:-7}

cmake -S . -B "$build" >/dev/null
cmake --build "$build" -j 2 --target baglist pipe_cpu write_floor >/dev/null
baglist=$build/baglist/baglist
k=6
items=(a b c d e f g h i j k l m n o p q r s t u v w x)
listing=$(mktemp)
trap 'rm -f "$listing" "$listing".*' EXIT
"$baglist" "$k" "${items[@]}" >"$listing"
lines=$(wc -l <"$listing")

field() { awk -v name="$1" '{ for (i = 1; i < NF; i++) if ($i == name) print $(i + 1) }'; }
median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

for ((i = 0; i < pairs; i++)); do
	"$build/bench/pipe_cpu" "$baglist" "$k" "${items[@]}" >>"$listing.baglist"
	"$build/bench/pipe_cpu" "$build/bench/write_floor" "$listing" >>"$listing.floor"
done
ours=$(field cpu <"$listing.baglist" | median)
floor=$(field cpu <"$listing.floor" | median)
rss=$(field maxrss <"$listing.baglist" | median)

writes=unknown
if command -v strace >/dev/null; then
	strace -f -c -e trace=write -o "$listing.strace" "$baglist" "$k" "${items[@]}" >/dev/null
	writes=$(awk '$NF == "write" { print $4 }' "$listing.strace")
fi

# What the result itself takes: the outer array, and per multiset one block
# of k strings with malloc's 16-byte rounding and header.
result_kib=$(awk -v n="$lines" -v k="$k" 'BEGIN {
	block = int((k * 32 + 8 + 15) / 16) * 16
	printf "%d", (n * 24 + n * block) / 1024 }')

printf 'workload        baglist %s with %d items: %d lines, %d bytes\n' "$k" "${#items[@]}" "$lines" "$(wc -c <"$listing")"
printf 'cpu, baglist    %.3f s (median of %d)\n' "$ours" "$pairs"
printf 'cpu, floor      %.3f s (one write(2) per line)\n' "$floor"
printf 'ratio           %.2f (target at most 1.25)\n' "$(awk -v a="$ours" -v b="$floor" 'BEGIN { print a / b }')"
printf 'write(2) calls  %s for %d lines\n' "$writes" "$lines"
printf 'peak memory     %d KiB; the result itself takes %d KiB\n' "$rss" "$result_kib"
