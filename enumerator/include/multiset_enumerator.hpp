// multiset_enumerator.hpp: every multiset of k items drawn from a list.
//
// The enumerator works on positions in the item list, never on values: it
// copies items but never compares them, so two equal values at different
// positions are two different items, and any type that can be copied will do.

#ifndef MULTISET_ENUMERATOR_HPP
#define MULTISET_ENUMERATOR_HPP

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <numeric>
#include <iterator>
#include <stdexcept>
#include <type_traits>
#include <vector>

namespace bags {

// multiset_coefficient(n, k) is C(n+k-1, k), the number of multisets of k
// items drawn from n. It is 1 for k <= 0 (the empty multiset alone) and 0 for
// n = 0 with k >= 1. A count beyond 64 bits saturates at UINT64_MAX; it never
// wraps. The loop runs at most min(k, n-1) times and stops at saturation.
constexpr std::uint64_t
multiset_coefficient(std::uint64_t n, std::int64_t k) noexcept
{
	constexpr std::uint64_t most = std::numeric_limits<std::uint64_t>::max();

	if (k <= 0)
		return 1;
	if (n == 0)
		return 0;
	// C(top, m) with m the smaller of k and n-1; top fits, as n < 2^64
	// and k < 2^63, unless n is absurd: then the count is too.
	const std::uint64_t kk = static_cast<std::uint64_t>(k);
	if (n - 1 > most - kk)
		return most;
	const std::uint64_t top = n - 1 + kk;
	const std::uint64_t m = kk < n - 1 ? kk : n - 1;
	std::uint64_t count = 1;
	for (std::uint64_t i = 1; i <= m; i++) {
		// count is C(top-m+i-1, i-1); times (top-m+i), over i, is exact.
		// Divide before multiplying so that only a true overflow shows.
		const std::uint64_t g = std::gcd(count, i);
		const std::uint64_t factor = (top - m + i) / (i / g);
		count /= g;
		if (count > most / factor)
			return most;
		count *= factor;
	}
	return count;
}

// A view of one multiset: the items that its slots hold, in slot order,
// referred to and not copied. It is valid while the item list lives and the
// enumeration has not moved on.
template <typename T>
class multiset_view {
public:
	class iterator {
	public:
		using iterator_category = std::forward_iterator_tag;
		using value_type = T;
		using difference_type = std::ptrdiff_t;
		using reference = const T &;

		iterator() = default;
		explicit iterator(const T *const *at) : at_(at) {}
		const T &operator*() const { return **at_; }
		iterator &operator++() { ++at_; return *this; }
		iterator operator++(int) { iterator was = *this; ++at_; return was; }
		bool operator==(const iterator &) const = default;

	private:
		const T *const *at_ = nullptr;
	};

	explicit multiset_view(const std::vector<const T *> &positions)
	    : positions_(&positions) {}
	iterator begin() const { return iterator(positions_->data()); }
	iterator end() const
	{
		return iterator(positions_->data() + positions_->size());
	}
	std::size_t size() const { return positions_->size(); }
	bool empty() const { return positions_->empty(); }
	const T &operator[](std::size_t slot) const { return *(*positions_)[slot]; }

private:
	const std::vector<const T *> *positions_;
};

namespace detail {

// The slots of the multiset under construction. Each slot holds a reference
// to the item it stands at and one to its limit, the last item; a slot is at
// its end when the two are the same element. Identity, never value, decides.
template <typename T>
class slots {
public:
	// Every slot at the first item. Requires a non-empty list when k >= 1;
	// k <= 0 gives no slots.
	slots(std::int32_t k, const std::vector<T> &items)
	{
		const std::size_t count = k > 0 ? static_cast<std::size_t>(k) : 0;

		if (count == 0)
			return;
		positions_.assign(count, items.data());
		limits_.assign(count, items.data() + (items.size() - 1));
	}

	// The successor rule: advance the rightmost slot that is not at its
	// end and set every slot to its right to the item it now holds.
	// Returns false, changing nothing, when every slot is at its end.
	bool advance() noexcept
	{
		const std::int32_t k = static_cast<std::int32_t>(positions_.size());
		std::int32_t j = k - 1;

		while (j >= 0 && positions_[j] == limits_[j])
			j--;
		if (j < 0)
			return false;
		positions_[j]++;
		for (std::int32_t s = j + 1; s < k; s++)
			positions_[s] = positions_[j];
		return true;
	}

	const std::vector<const T *> &positions() const { return positions_; }

private:
	std::vector<const T *> positions_;
	std::vector<const T *> limits_;
};

} // namespace detail

// for_each_multiset calls visit once per multiset of k items drawn from
// items, in enumeration order (positions non-decreasing from slot to slot,
// multisets in lexicographic order of positions), with a multiset_view<T>
// that refers to the items. It stops early when visit returns false; a visit
// that returns void never stops it. For k <= 0 visit sees one empty
// multiset; for an empty list and k >= 1 it is never called. Returns whether
// the enumeration ran to its end. Throws what visit throws, and
// std::bad_alloc when the k slots cannot be had. items is not changed.
template <typename T, typename Visit>
	requires std::invocable<Visit &, multiset_view<T>>
bool
for_each_multiset(std::int32_t k, const std::vector<T> &items, Visit visit)
{
	if (k >= 1 && items.empty())
		return true;
	detail::slots<T> slots(k, items);
	const multiset_view<T> current(slots.positions());
	do {
		if constexpr (std::is_void_v<std::invoke_result_t<Visit &,
		    multiset_view<T>>>)
			visit(current);
		else if (!visit(current))
			return false;
	} while (slots.advance());
	return true;
}

// enumerate_multisets returns every multiset of k items drawn from items,
// each as a vector of copies of its items, in enumeration order: for k >= 1
// and n items C(n+k-1, k) of them, the first k copies of the first item and
// the last k copies of the last; for k <= 0 one empty multiset; for an empty
// list and k >= 1 none. items is not changed. The result is reserved exactly
// and each multiset is one allocation of exactly k elements.
//
// Throws std::length_error at once when the count is beyond what a vector
// can hold, and passes on std::bad_alloc and whatever a copy of T throws;
// then nothing partial is returned and everything taken is released.
template <std::copy_constructible T>
std::vector<std::vector<T>>
enumerate_multisets(std::int32_t k, const std::vector<T> &items)
{
	std::vector<std::vector<T>> result;
	const std::uint64_t count = multiset_coefficient(items.size(), k);

	if (count > result.max_size())
		throw std::length_error("enumerate_multisets: too many multisets");
	result.reserve(static_cast<std::size_t>(count));
	for_each_multiset(k, items, [&result](multiset_view<T> current) {
		std::vector<T> multiset;
		multiset.reserve(current.size());
		for (const T &item : current)
			multiset.push_back(item);
		result.push_back(std::move(multiset));
	});
	return result;
}

} // namespace bags

#endif // MULTISET_ENUMERATOR_HPP
