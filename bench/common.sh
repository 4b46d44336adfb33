# common.sh: what the benchmark scripts share. Sourced, with cpu_of (the
# helper's path), scratch (a folder of our own) and pin (an array, a command
# to run both ends of a pipe under, or empty) set.

# field name file: the value after each word name in file.
field() { awk -v name="$1" '{ for (i = 1; i < NF; i++) if ($i == name) print $(i + 1) }' "$2"; }

# median: the middle of the numbers on standard input.
median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# run_into_pipe name command...: one run of command into a pipe read by
# wc -c; appends its cpu time, its peak memory and the bytes wc counted to
# $scratch/name.cpu, .rss and .bytes.
run_into_pipe() {
	local name=$1
	shift
	"${pin[@]}" "$cpu_of" "$@" 2>"$scratch/report" | "${pin[@]}" wc -c | tr -d ' ' >>"$scratch/$name.bytes"
	field cpu "$scratch/report" >>"$scratch/$name.cpu"
	field maxrss "$scratch/report" >>"$scratch/$name.rss"
}

# same_bytes size name...: whether every run of each name wrote size bytes.
same_bytes() {
	local size=$1
	shift
	local files=("${@/#/$scratch/}")
	[ "$(cat "${files[@]/%/.bytes}" | sort -u)" = "$size" ]
}
