// The enumerator held against brute force and an independent count.

#include "multiset_enumerator.hpp"
#include "oracle.hpp"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

using strings = std::vector<std::string>;

// brute_force is the listing worked out by trying every tuple of positions.
template <typename T>
std::vector<std::vector<T>>
brute_force(int k, const std::vector<T> &items)
{
	std::vector<std::vector<T>> found;
	for (const auto &tuple :
	    testing_support::brute_force_positions(k, items.size())) {
		std::vector<T> multiset;
		for (std::size_t position : tuple)
			multiset.push_back(items[position]);
		found.push_back(multiset);
	}
	return found;
}

struct oracle_case {
	int k;
	strings items;
};

const oracle_case oracle_cases[] = {
	{2, {"a", "b", "c"}},
	{3, {"a", "b"}},
	{3, {"x"}},
	{1, {"a", "b", "c"}},
	{1, {"a", "a"}},
	{2, {"a", "a"}},
	{4, {"p", "", "p", "q", ""}},
	{5, {"1", "2", "3", "4", "5", "6"}},
	{3, {"-n", "%s", "two words", "\n", "\xc3\xa9"}},
	{7, {"a", "b", "c"}},
	{0, {"a", "b"}},
	{-1, {"a"}},
	{INT_MIN, {"a"}},
};

TEST(EnumerateMultisets, MatchesBruteForce)
{
	for (const oracle_case &c : oracle_cases) {
		SCOPED_TRACE("k = " + std::to_string(c.k) + ", n = " +
		    std::to_string(c.items.size()));
		EXPECT_EQ(bags::enumerate_multisets(c.k, c.items),
		    brute_force(c.k, c.items));
	}
}

TEST(EnumerateMultisets, GivesTheWorkedExamples)
{
	EXPECT_EQ(bags::enumerate_multisets(2, strings{"a", "b", "c"}),
	    (std::vector<strings>{{"a", "a"}, {"a", "b"}, {"a", "c"},
		{"b", "b"}, {"b", "c"}, {"c", "c"}}));
	EXPECT_EQ(bags::enumerate_multisets(3, strings{"a", "b"}),
	    (std::vector<strings>{{"a", "a", "a"}, {"a", "a", "b"},
		{"a", "b", "b"}, {"b", "b", "b"}}));
}

TEST(EnumerateMultisets, CountIsTheMultisetCoefficientWithoutSlack)
{
	for (int n = 1; n <= 8; n++) {
		std::vector<int> items;
		for (int i = 0; i < n; i++)
			items.push_back(i);
		for (int k = 0; k <= 7; k++) {
			const auto result = bags::enumerate_multisets(k, items);
			EXPECT_EQ(result.size(), bags::multiset_coefficient(n, k));
			EXPECT_EQ(result.capacity(), result.size());
			for (const auto &multiset : result)
				ASSERT_EQ(multiset.capacity(), std::size_t(k));
		}
	}
}

TEST(EnumerateMultisets, EdgesOfKAndOfTheList)
{
	const std::vector<std::vector<int>> one_empty = {{}};
	for (int k : {0, -1, -3, INT_MIN}) {
		EXPECT_EQ(bags::enumerate_multisets(k, std::vector<int>{4, 5}), one_empty);
		EXPECT_EQ(bags::enumerate_multisets(k, std::vector<int>{}), one_empty);
	}
	for (int k : {1, 2, INT_MAX})
		EXPECT_TRUE(bags::enumerate_multisets(k, std::vector<int>{}).empty());
}

TEST(EnumerateMultisets, EqualValuesAreDifferentItems)
{
	EXPECT_EQ(bags::enumerate_multisets(1, std::vector<int>{7, 7}),
	    (std::vector<std::vector<int>>{{7}, {7}}));
	EXPECT_EQ(bags::enumerate_multisets(2, std::vector<int>{7, 7}),
	    (std::vector<std::vector<int>>{{7, 7}, {7, 7}, {7, 7}}));
}

// A type with no default constructor and no comparison of its own.
struct token {
	explicit token(char c) : c(c) {}
	char c;
};

TEST(EnumerateMultisets, TakesATypeWithNoDefaultConstructor)
{
	const std::vector<token> items = {token('x'), token('y')};
	std::string seen;
	for (const auto &multiset : bags::enumerate_multisets(2, items)) {
		for (const token &t : multiset)
			seen += t.c;
		seen += '|';
	}
	EXPECT_EQ(seen, "xx|xy|yy|");
}

// Types that cannot be copied are turned away by the constraint.
template <typename T>
concept enumerable = requires(const std::vector<T> &items) {
	bags::enumerate_multisets(1, items);
};
static_assert(enumerable<std::string> && enumerable<token>);
static_assert(!enumerable<std::unique_ptr<int>>);

TEST(EnumerateMultisets, LeavesTheItemListAsItWas)
{
	const strings before = {"b", "a", "b", ""};
	strings items = before;
	const std::string *storage = items.data();
	(void)bags::enumerate_multisets(3, items);
	EXPECT_EQ(items, before);
	EXPECT_EQ(items.data(), storage);
}

// An item that counts live copies and throws on a chosen copy.
struct fragile {
	static inline long live = 0;
	static inline long copies = 0;
	static inline long throw_on_copy = -1;

	explicit fragile(int v) : value(v) { live++; }
	fragile(const fragile &other) : value(other.value)
	{
		if (++copies == throw_on_copy)
			throw std::runtime_error("copy failed");
		live++;
	}
	~fragile() { live--; }
	fragile &operator=(const fragile &) = default;
	int value;
};

TEST(EnumerateMultisets, ReleasesEverythingWhenACopyThrows)
{
	std::vector<fragile> six;
	six.reserve(6);
	for (int i = 1; i <= 6; i++)
		six.emplace_back(i);

	// 6 items, k = 3: 56 multisets holding 168 copies.
	fragile::copies = 0;
	EXPECT_EQ(bags::enumerate_multisets(3, six).size(), 56u);
	EXPECT_EQ(fragile::copies, 168);

	for (long nth : {1L, 2L, 3L, 4L, 100L, 168L}) {
		SCOPED_TRACE("throw on copy " + std::to_string(nth));
		std::vector<std::vector<fragile>> result(1);
		result[0].emplace_back(0);
		const long live = fragile::live;
		fragile::copies = 0;
		fragile::throw_on_copy = nth;
		EXPECT_THROW(result = bags::enumerate_multisets(3, six),
		    std::runtime_error);
		fragile::throw_on_copy = -1;
		EXPECT_EQ(fragile::live, live);
		ASSERT_EQ(result.size(), 1u);
		EXPECT_EQ(result[0][0].value, 0);
	}
}

TEST(EnumerateMultisets, RefusesACountBeyondAVector)
{
	const std::vector<int> items(1000, 0);
	EXPECT_THROW((void)bags::enumerate_multisets(100, items), std::length_error);
}

// Pascal's triangle with saturating addition: an independent count.
TEST(MultisetCoefficient, MatchesPascalsTriangle)
{
	constexpr int rows = 130;
	const auto c = testing_support::saturating_pascal(rows);
	for (int n = 1; n < rows; n++)
		for (int k = 1; n + k - 1 < rows; k++)
			ASSERT_EQ(bags::multiset_coefficient(n, k), c[n + k - 1][k])
			    << "n = " << n << ", k = " << k;
}

TEST(MultisetCoefficient, Edges)
{
	struct {
		std::uint64_t n;
		std::int64_t k;
		std::uint64_t count;
	} const cases[] = {
		{0, 0, 1}, {0, 1, 0}, {0, INT_MAX, 0}, {5, -3, 1}, {5, INT_MIN, 1},
		{1, INT_MAX, 1}, {2, INT_MAX, 2147483648u},
		{24, 6, 475020}, {30, 10, 635745396}, {40, 6, 8145060},
		{20, 20, 68923264410u}, {300, 3, 4545100},
		{INT_MAX, INT_MAX, UINT64_MAX}, {UINT64_MAX, 2, UINT64_MAX},
		{UINT64_MAX, 1, UINT64_MAX}, {3, INT64_MAX, UINT64_MAX},
	};
	for (const auto &c : cases)
		EXPECT_EQ(bags::multiset_coefficient(c.n, c.k), c.count)
		    << "n = " << c.n << ", k = " << c.k;
}

TEST(ForEachMultiset, VisitsWhatBruteForceFindsByReference)
{
	for (const oracle_case &c : oracle_cases) {
		SCOPED_TRACE("k = " + std::to_string(c.k));
		std::vector<strings> seen;
		const bool finished = bags::for_each_multiset(c.k, c.items,
		    [&](bags::multiset_view<std::string> multiset) {
			    strings copy;
			    for (const std::string &item : multiset) {
				    // The view refers to the list's own elements.
				    EXPECT_GE(&item, c.items.data());
				    EXPECT_LT(&item, c.items.data() + c.items.size());
				    copy.push_back(item);
			    }
			    seen.push_back(copy);
		    });
		EXPECT_TRUE(finished);
		EXPECT_EQ(seen, brute_force(c.k, c.items));
	}
}

TEST(ForEachMultiset, StopsWhenVisitSaysSo)
{
	const strings items = {"a", "b", "c"};
	for (int wanted : {1, 3, 6}) {
		int visits = 0;
		const bool finished = bags::for_each_multiset(2, items,
		    [&](bags::multiset_view<std::string>) { return ++visits < wanted; });
		EXPECT_EQ(visits, wanted);
		EXPECT_FALSE(finished);
	}
	int visits = 0;
	EXPECT_TRUE(bags::for_each_multiset(2, items,
	    [&](bags::multiset_view<std::string>) { return ++visits < 100; }));
	EXPECT_EQ(visits, 6);
}

} // namespace
