// enumerator_fuzzer: the multiset enumerator held against brute force and
// against the multiset coefficient computed another way, for k and an item
// list made from the fuzzer's bytes.
//
// Input layout, every field optional (missing bytes read as 0):
//   byte 0        k selector (see pick_k)
//   byte 1        where the early-stop visitor says stop
//   bytes 2..3    n and k for a count held against Pascal's triangle
//   bytes 4..21   two 64-bit values, each with a shift byte, for counts
//                 held against identities that hold at any size
//   the rest      items: a byte with the high bit set repeats an earlier
//                 item; otherwise its low three bits are a length and that
//                 many bytes, of any value, follow

#include "multiset_enumerator.hpp"
#include "oracle.hpp"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <vector>

namespace {

using positions = std::vector<std::size_t>;
using strings = std::vector<std::string>;

constexpr std::uint64_t most = std::numeric_limits<std::uint64_t>::max();

// At most this many items, so that every input runs in well under a
// millisecond or so.
constexpr std::size_t most_items = 8;

// Brute force looks at n^k tuples; k is lowered until that is at most this.
constexpr std::uint64_t most_tuples = std::uint64_t{1} << 15;

// Pascal's triangle has rows 0 .. pascal_rows - 1.
constexpr std::size_t pascal_rows = 140;

// check stops the run, so that libFuzzer keeps the input, when a claim fails.
void
check(bool claim)
{
	if (!claim)
		__builtin_trap();
}

// bytes hands out the input one field at a time, 0 once it runs out.
class bytes {
public:
	bytes(const std::uint8_t *data, std::size_t size)
	    : data_(data), size_(size) {}

	// next is the next byte, or 0 past the end.
	std::uint8_t next()
	{
		return at_ < size_ ? data_[at_++] : 0;
	}

	// next_u64 is the next eight bytes, most significant first.
	std::uint64_t next_u64()
	{
		std::uint64_t value = 0;
		for (int i = 0; i < 8; i++)
			value = value << 8 | next();
		return value;
	}

	// left tells whether any byte is still unread.
	bool left() const { return at_ < size_; }

private:
	const std::uint8_t *data_;
	std::size_t size_;
	std::size_t at_ = 0;
};

// An element with no comparison and no default constructor: it compiles
// only because the enumerator never compares or default-builds an item, and
// it records the position it was made for.
struct mark {
	explicit mark(std::size_t position) : at(position) {}
	std::size_t at;
};

// pick_k turns the selector byte into k: mostly -3..8, sometimes far below
// zero, and sometimes INT32_MAX (kept only for an empty list, see fit_k).
std::int32_t
pick_k(std::uint8_t selector)
{
	constexpr std::int32_t least = std::numeric_limits<std::int32_t>::min();
	static constexpr std::array<std::int32_t, 16> table = {
		-3, -2, -1, 0, 1, 2, 3, 4, 5, 6, 7, 8,
		least, least + 1, -1000000,
		std::numeric_limits<std::int32_t>::max()};

	return table[selector % table.size()];
}

// tuples is n^k, the number of k-tuples of n positions, or some number
// above most_tuples once it passes that.
std::uint64_t
tuples(std::size_t n, std::int32_t k)
{
	std::uint64_t count = 1;
	if (n == 0)
		return k > 0 ? 0 : 1;
	for (std::int32_t i = 0; i < k && count <= most_tuples; i++)
		count *= n;
	return count;
}

// fit_k lowers k until brute force over n items stays cheap. An empty list
// costs nothing at any k, so there it stays.
std::int32_t
fit_k(std::int32_t k, std::size_t n)
{
	if (n == 0)
		return k;
	k = std::min(k, std::int32_t{8});
	while (k > 0 && tuples(n, k) > most_tuples)
		k--;
	return k;
}

// read_items builds the item list from the rest of the input.
strings
read_items(bytes &in)
{
	strings items;

	while (in.left() && items.size() < most_items) {
		const std::uint8_t head = in.next();
		if ((head & 0x80) != 0 && !items.empty()) {
			items.push_back(items[(head & 0x7f) % items.size()]);
			continue;
		}
		std::string text;
		for (int length = head & 0x07; length > 0 && in.left(); length--)
			text.push_back(static_cast<char>(in.next()));
		items.push_back(text);
	}
	return items;
}

// pascal is Pascal's triangle, saturating, made once.
const std::vector<std::vector<std::uint64_t>> &
pascal()
{
	static const auto triangle = testing_support::saturating_pascal(pascal_rows);
	return triangle;
}

// pascal_count is C(n+k-1, k) read off Pascal's triangle: 1 for k <= 0, and
// 0 for n = 0 as C(k-1, k) is. n + k - 1 must be below pascal_rows.
std::uint64_t
pascal_count(std::size_t n, std::int32_t k)
{
	if (k <= 0)
		return 1;
	if (n == 0)
		return 0;
	return pascal()[n + static_cast<std::size_t>(k) - 1]
	    [static_cast<std::size_t>(k)];
}

// check_table_count holds the count for small n and k against the triangle.
void
check_table_count(std::uint8_t n_byte, std::uint8_t k_byte)
{
	const std::size_t n = n_byte % 70;
	const std::int32_t k = k_byte % 72 - 2;

	check(bags::multiset_coefficient(n, k) == pascal_count(n, k));
}

// half_product is n(n+1)/2, the count for k = 2, saturating.
std::uint64_t
half_product(std::uint64_t n)
{
	if (n == most)
		return most;
	std::uint64_t a = n, b = n + 1;
	if (a % 2 == 0)
		a /= 2;
	else
		b /= 2;
	return a > most / b ? most : a * b;
}

// check_huge_count holds the count at any size against what is known of
// C(n+k-1, k) without computing it: the small cases, its symmetry
// C(n+k-1, k) = C(n+k-1, n-1), and that it grows with n and with k.
void
check_huge_count(std::uint64_t n, std::int64_t k)
{
	const std::uint64_t count = bags::multiset_coefficient(n, k);
	constexpr std::uint64_t top = std::numeric_limits<std::int64_t>::max();

	if (k <= 0)
		return check(count == 1);
	if (n == 0)
		return check(count == 0);
	if (n == 1)
		check(count == 1);
	if (n == 2)
		check(count == static_cast<std::uint64_t>(k) + 1);
	if (k == 1)
		check(count == n);
	if (k == 2)
		check(count == half_product(n));
	if (n - 1 <= top)
		check(count == bags::multiset_coefficient(
		    static_cast<std::uint64_t>(k) + 1,
		    static_cast<std::int64_t>(n - 1)));
	if (n < most)
		check(count <= bags::multiset_coefficient(n + 1, k));
	if (static_cast<std::uint64_t>(k) < top)
		check(count <= bags::multiset_coefficient(n, k + 1));
}

// wide_value is a 64-bit value shifted right by a fuzzed amount, so that
// small values are as easy to reach as large ones.
std::uint64_t
wide_value(bytes &in)
{
	const std::uint64_t raw = in.next_u64();
	return raw >> (in.next() % 64);
}

// check_eager holds enumerate_multisets on the items against the oracle.
void
check_eager(std::int32_t k, const strings &items,
    const std::vector<positions> &oracle)
{
	const std::vector<strings> found = bags::enumerate_multisets(k, items);

	check(found.size() == oracle.size());
	for (std::size_t i = 0; i < found.size(); i++) {
		check(found[i].size() == oracle[i].size());
		for (std::size_t s = 0; s < found[i].size(); s++)
			check(found[i][s] == items[oracle[i][s]]);
	}
}

// check_eager_marks runs enumerate_multisets on marks, whose copies tell
// which position each came from, so that equal texts cannot hide a wrong
// position.
void
check_eager_marks(std::int32_t k, std::size_t n,
    const std::vector<positions> &oracle)
{
	std::vector<mark> marks;
	for (std::size_t position = 0; position < n; position++)
		marks.emplace_back(position);

	const std::vector<std::vector<mark>> found =
	    bags::enumerate_multisets(k, marks);
	check(found.size() == oracle.size());
	for (std::size_t i = 0; i < found.size(); i++) {
		check(found[i].size() == oracle[i].size());
		for (std::size_t s = 0; s < found[i].size(); s++)
			check(found[i][s].at == oracle[i][s]);
	}
}

// view_positions is where each slot of a view stands in items, read from
// the addresses it refers to, both through operator[] and through its
// iterators, which must agree.
positions
view_positions(bags::multiset_view<std::string> view, const strings &items)
{
	const std::less<const std::string *> below;
	positions at;
	for (std::size_t s = 0; s < view.size(); s++) {
		const std::string *item = &view[s];
		check(!below(item, items.data()) &&
		    below(item, items.data() + items.size()));
		at.push_back(static_cast<std::size_t>(item - items.data()));
	}

	std::size_t s = 0;
	for (const std::string &item : view) {
		check(s < at.size() && &item == &view[s]);
		s++;
	}
	check(s == at.size() && view.empty() == at.empty());
	return at;
}

// check_lazy holds for_each_multiset, with a visitor that never stops it,
// against the oracle: every view refers to the items themselves.
void
check_lazy(std::int32_t k, const strings &items,
    const std::vector<positions> &oracle)
{
	std::size_t calls = 0;
	const bool ended = bags::for_each_multiset(k, items,
	    [&](bags::multiset_view<std::string> view) {
		    check(calls < oracle.size());
		    check(view_positions(view, items) == oracle[calls]);
		    calls++;
	    });

	check(ended && calls == oracle.size());
}

// check_early_stop runs for_each_multiset with a visitor that says stop on
// its stop-th call (never, for stop 0): the visits must be the oracle's
// first ones, and the result must say whether the visitor stopped it.
void
check_early_stop(std::int32_t k, const strings &items,
    const std::vector<positions> &oracle, std::uint8_t stop_byte)
{
	const std::size_t stop = stop_byte % (oracle.size() + 1);
	std::size_t calls = 0;
	const bool ended = bags::for_each_multiset(k, items,
	    [&](bags::multiset_view<std::string> view) {
		    check(calls < oracle.size());
		    check(view_positions(view, items) == oracle[calls]);
		    calls++;
		    return calls != stop;
	    });

	if (stop == 0)
		check(ended && calls == oracle.size());
	else
		check(!ended && calls == stop);
}

} // namespace

// LLVMFuzzerTestOneInput runs every check on one input.
extern "C" int
LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
	bytes in(data, size);
	const std::int32_t wanted_k = pick_k(in.next());
	const std::uint8_t stop_byte = in.next();
	const std::uint8_t table_n = in.next();
	const std::uint8_t table_k = in.next();
	const std::uint64_t huge_n = wide_value(in);
	const std::int64_t huge_k = static_cast<std::int64_t>(wide_value(in));
	const strings items = read_items(in);
	const strings before = items;
	const std::int32_t k = fit_k(wanted_k, items.size());

	check_table_count(table_n, table_k);
	check_huge_count(huge_n, huge_k);

	const std::vector<positions> oracle =
	    testing_support::brute_force_positions(k, items.size());
	check(oracle.size() == pascal_count(items.size(), k));
	check(bags::multiset_coefficient(items.size(), k) == oracle.size());
	check_eager(k, items, oracle);
	check_eager_marks(k, items.size(), oracle);
	check_lazy(k, items, oracle);
	check_early_stop(k, items, oracle, stop_byte);
	check(items == before);
	return 0;
}
