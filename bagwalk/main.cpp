// bagwalk: list every multiset of k items drawn from the command line,
// writing each line as soon as its multiset is formed, in constant memory.

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "read_k.hpp"

// Lines are gathered into blocks of this size before they go to stdout:
// large enough to make the calls to stdio few, small enough to stay in the
// processor's cache until the system has copied the block out of it.
constexpr std::size_t block_size = 256 * 1024;

// The buffer of stdout itself, a fraction of a block: stdio writes most of
// a block straight from where it is, copying at most this much of it.
constexpr std::size_t stdout_buffer_size = 64 * 1024;

// Fast copies move this many bytes at a time and so may overrun their end
// by less than this; the buffers they write and read have the room.
constexpr std::size_t wide = 16;

// An item: where its text stands among the arguments, and its length,
// measured once. The text itself is never copied.
struct item {
	const char *text;
	std::size_t length;
};

// The multiset under construction, and the text of its line.
struct walk {
	std::int32_t k;       // slots, or none when k < 1
	std::int32_t n;       // items
	item *items;          // items[1..n]: the arguments after k
	std::int32_t *pos;    // pos[1..k]: the item number each slot holds
	std::int32_t *lim;    // lim[1..k]: the last item a slot can hold, n
	// The line without its last slot: the texts of slots 1..k-1, each
	// followed by a space.
	char *prefix;
	std::size_t prefix_length;
	std::size_t longest_line; // bytes in the longest multiset line
};

// Lines on their way to stdout.
struct block {
	char *base;
	std::size_t used;
};

// stdout_failed reports the failure of stdout that errno names.
static int
stdout_failed()
{
	const int error = errno != 0 ? errno : EIO;

	std::fprintf(stderr, "bagwalk: stdout: %s\n", std::strerror(error));
	return 1;
}

// out_of_memory reports that the memory bagwalk needs cannot be had.
static int
out_of_memory()
{
	std::fputs("bagwalk: out of memory\n", stderr);
	return 1;
}

// heap_array takes count zeroed entries of size bytes from the heap, or
// nothing when they cannot be had; calloc sees to count * size overflowing.
static void *
heap_array(std::size_t count, std::size_t size)
{
	return std::calloc(count, size);
}

// slots_of is the number of slots of a multiset of size k: none below 1.
static std::size_t
slots_of(std::int32_t k)
{
	return k > 0 ? static_cast<std::size_t>(k) : 0;
}

// longest_line is the length of a line of k copies of the longest item,
// or SIZE_MAX when that does not fit in a size_t with room to spare.
static std::size_t
longest_line(const walk &w)
{
	std::size_t longest_item = 0;

	for (std::int32_t i = 1; i <= w.n; i++)
		longest_item = std::max(longest_item, w.items[i].length);
	const std::size_t per_slot = longest_item + 1;
	const std::size_t slots = slots_of(w.k);
	if (slots != 0 && per_slot > (SIZE_MAX - 1 - 2 * wide) / slots)
		return SIZE_MAX;
	return slots * per_slot + 1;
}

// take_memory takes everything bagwalk will need from the heap, once, before
// anything is written: the arrays of the walk, its line, and the two
// buffers. Returns false when any of them cannot be had.
static bool
take_memory(walk &w, block &b, char *argv[])
{
	const std::size_t slots = slots_of(w.k);

	w.items = static_cast<item *>(
	    heap_array(static_cast<std::size_t>(w.n) + 1, sizeof *w.items));
	w.pos = static_cast<std::int32_t *>(heap_array(slots + 1, sizeof *w.pos));
	w.lim = static_cast<std::int32_t *>(heap_array(slots + 1, sizeof *w.lim));
	if (w.items == nullptr || w.pos == nullptr || w.lim == nullptr)
		return false;
	for (std::int32_t i = 1; i <= w.n; i++)
		w.items[i] = {argv[i + 1], std::strlen(argv[i + 1])};
	w.longest_line = longest_line(w);
	if (w.longest_line == SIZE_MAX)
		return false;
	w.prefix = static_cast<char *>(heap_array(w.longest_line + wide, 1));
	b.base = static_cast<char *>(heap_array(block_size, 1));
	b.used = 0;
	char *const stdout_buffer =
	    static_cast<char *>(heap_array(stdout_buffer_size, 1));
	if (w.prefix == nullptr || b.base == nullptr || stdout_buffer == nullptr)
		return false;
	// Without a buffer of this size stdout would still work, only slower.
	(void)std::setvbuf(stdout, stdout_buffer, _IOFBF, stdout_buffer_size);
	return true;
}

// send_block hands the block to stdout. Returns false, errno set, when
// stdout has failed.
static bool
send_block(block &b)
{
	const std::size_t length = b.used;

	b.used = 0;
	errno = 0;
	return std::fwrite(b.base, 1, length, stdout) == length;
}

// append adds bytes to the block, sending it each time it fills.
static bool
append(block &b, const char *bytes, std::size_t length)
{
	while (length > 0) {
		const std::size_t take = std::min(length, block_size - b.used);
		std::memcpy(b.base + b.used, bytes, take);
		b.used += take;
		bytes += take;
		length -= take;
		if (b.used == block_size && !send_block(b))
			return false;
	}
	return true;
}

// put_line_piecewise adds a line to the block piece by piece, sending the
// block as it fills: for lines near the end of a block, or too long for one.
static bool
put_line_piecewise(const walk &w, block &b, const item &last)
{
	return append(b, w.prefix, w.prefix_length) &&
	    append(b, last.text, last.length) && append(b, " \n", 2);
}

// put_run adds the lines in which only the last slot moves: the successor
// rule's step for j = k, repeated until the last slot stands at its limit.
// It makes most of the lines, so it has a loop of its own, which copies
// without counting while the block has room for any line.
static bool
put_run(walk &w, block &b)
{
	if (w.k < 1)
		return append(b, "\n", 1);
	const std::size_t prefix_length = w.prefix_length;
	const char *const prefix = w.prefix;
	const item *const items = w.items;
	const std::int32_t limit = w.lim[w.k];
	const std::size_t room = w.longest_line + wide;
	char *const base = b.base;
	std::size_t used = b.used;
	std::int32_t p = w.pos[w.k];

	for (;; p++) {
		if (block_size - used < room) {
			b.used = used;
			if (!put_line_piecewise(w, b, items[p]))
				return false;
			used = b.used;
		} else {
			// Held apart, lest the stores below be thought to change them.
			const char *const text = items[p].text;
			const std::size_t length = items[p].length;
			char *const out = base + used;
			std::memcpy(out, prefix, wide);
			for (std::size_t done = wide; done < prefix_length; done += wide)
				std::memcpy(out + done, prefix + done, wide);
			char *const tail = out + prefix_length;
			for (std::size_t i = 0; text[i] != '\0'; i++)
				tail[i] = text[i];
			tail[length] = ' ';
			tail[length + 1] = '\n';
			used += prefix_length + length + 2;
		}
		if (p == limit)
			break;
	}
	b.used = used;
	w.pos[w.k] = p;
	return true;
}

// repeat_short writes copies of a text of fewer than wide bytes, each
// followed by a space: it lays out as many whole copies as fit in wide
// bytes once, then stores that pattern wide bytes at a time, each store
// running on into where the next begins.
static void
repeat_short(char *out, const item &it, std::size_t copies)
{
	const std::size_t width = it.length + 1;
	const std::size_t step = wide / width * width;
	const std::size_t total = copies * width;
	char pattern[wide];
	std::size_t phase = 0;

	for (std::size_t i = 0; i < wide; i++) {
		pattern[i] = phase < it.length ? it.text[phase] : ' ';
		if (++phase == width)
			phase = 0;
	}
	for (std::size_t done = 0; done < total; done += step)
		std::memcpy(out + done, pattern, wide);
}

// retext writes the texts of slots from..k-1 into the prefix, beginning at
// byte at: all of them hold the item that slot from now holds.
static void
retext(walk &w, std::int32_t from, std::size_t at)
{
	const item &it = w.items[w.pos[from]];
	const std::size_t copies = static_cast<std::size_t>(w.k - from);
	char *out = w.prefix + at;

	w.prefix_length = at + copies * (it.length + 1);
	// A few copies are quicker to write out than a pattern is to lay out.
	if (it.length < wide && copies * (it.length + 1) > wide) {
		repeat_short(out, it, copies);
		return;
	}
	for (std::size_t c = 0; c < copies; c++) {
		for (const char *text = it.text; *text != '\0'; text++)
			*out++ = *text;
		*out++ = ' ';
	}
}

// list_multisets writes every multiset line in order, each multiset formed
// from the one before by the successor rule. Returns false, errno set, when
// stdout fails.
static bool
list_multisets(walk &w, block &b)
{
	for (std::int32_t s = 0; s < w.k; s++) {
		w.pos[s + 1] = 1;
		w.lim[s + 1] = w.n;
	}
	if (w.k >= 1)
		retext(w, 1, 0);
	for (;;) {
		if (!put_run(w, b))
			return false;
		std::int32_t j = w.k;
		while (j >= 1 && w.pos[j] == w.lim[j])
			j--;
		if (j < 1)
			break;
		// After a run slot k stands at its limit, so j < k. Slot j begins
		// where its own text and those of slots j+1..k-1, all of which
		// hold item n, end.
		const std::size_t begins = w.prefix_length -
		    static_cast<std::size_t>(w.k - 1 - j) * (w.items[w.n].length + 1) -
		    (w.items[w.pos[j]].length + 1);
		w.pos[j]++;
		// Each slot to the right takes the item of the slot on its left,
		// which is to say all of them take the item of slot j.
		const std::int32_t taken = w.pos[j];
		for (std::int32_t s = j; s < w.k; s++)
			w.pos[s + 1] = taken;
		retext(w, j, begins);
	}
	return send_block(b) && std::fflush(stdout) == 0;
}

int
main(int argc, char *argv[])
{
	walk w;
	block b;

	if (argc < 3) {
		std::fputs("usage: ./bagwalk k item_1 ... item_n\n", stdout);
		return 0;
	}
	w.k = bagwalk::read_k(argv[1]);
	w.n = argc - 2;
	if (!take_memory(w, b, argv))
		return out_of_memory();
	if (!list_multisets(w, b))
		return stdout_failed();
	return 0;
}
