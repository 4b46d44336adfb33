#!/usr/bin/env bash
# bagwalk against cat: the cpu it takes to write a listing into a pipe.
#
#	bench/bagwalk.sh [build directory] [pairs]
#
# For each workload, bagwalk writes its listing into a pipe read by wc -c, and
# cat writes a file holding the same bytes, from the page cache, into the same
# kind of pipe. The figure is each producer's own cpu time (user + system,
# from wait4), run alternately, median of the pairs; cat is the floor, since
# copying the bytes into the pipe is all a streaming lister must do. Then the
# peak memory of a listing of millions of lines.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
pairs=${2:-7}

cmake -S . -B "$build" >/dev/null
cmake --build "$build" -j 2 --target bagwalk cpu_of >/dev/null
bagwalk=$build/bagwalk/bagwalk
cpu_of=$build/bench/cpu_of
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

pin=()
. bench/common.sh

# compare title k items...: bagwalk k items... against cat of its listing.
compare() {
	local title=$1
	shift
	local listing=$scratch/listing
	rm -f "$scratch"/*.cpu "$scratch"/*.rss "$scratch"/*.bytes
	"$bagwalk" "$@" >"$listing"
	cat "$listing" >/dev/null # into the page cache
	for ((i = 0; i < pairs; i++)); do
		run_into_pipe bagwalk "$bagwalk" "$@"
		run_into_pipe cat cat "$listing"
	done
	local size ours floor
	size=$(wc -c <"$listing" | tr -d ' ')
	if ! same_bytes "$size" bagwalk cat; then
		echo "bench/bagwalk.sh: $title: bagwalk and cat wrote different byte counts" >&2
		exit 1
	fi
	ours=$(median <"$scratch/bagwalk.cpu")
	floor=$(median <"$scratch/cat.cpu")
	printf '%s: %d lines, %d bytes\n' "$title" "$(wc -l <"$listing")" "$size"
	printf '  cpu, bagwalk  %.4f s\n' "$ours"
	printf '  cpu, cat      %.4f s\n' "$floor"
	awk -v a="$ours" -v b="$floor" 'BEGIN { printf "  ratio         %.2f (median of %d pairs)\n", a / b, '"$pairs"' }'
}

letters=({a..z} {A..N})
compare "bagwalk 6 with 40 one-letter items" 6 "${letters[@]}"
compare "bagwalk 100 a b c d" 100 a b c d

items=()
for ((i = 1; i <= 300; i++)); do items+=("i$i"); done
"$cpu_of" "$bagwalk" 3 "${items[@]}" 2>"$scratch/report" | wc -l | tr -d ' ' >"$scratch/lines"
printf 'bagwalk 3 with 300 items: %d lines, peak RSS %d KiB\n' \
    "$(cat "$scratch/lines")" "$(field maxrss "$scratch/report")"
