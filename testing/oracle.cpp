// oracle.cpp: the listing worked out by brute force.

#include "oracle.hpp"

#include <algorithm>

namespace testing_support {

std::vector<std::vector<std::size_t>>
brute_force_positions(int k, std::size_t n)
{
	if (k <= 0)
		return {{}};
	if (n == 0)
		return {};
	std::vector<std::vector<std::size_t>> kept;
	std::vector<std::size_t> tuple(static_cast<std::size_t>(k), 0);
	for (;;) {
		if (std::is_sorted(tuple.begin(), tuple.end()))
			kept.push_back(tuple);
		// Count on in base n, the last slot fastest.
		std::size_t s = tuple.size();
		while (s > 0 && tuple[s - 1] == n - 1)
			tuple[--s] = 0;
		if (s == 0)
			return kept;
		tuple[s - 1]++;
	}
}

std::vector<std::vector<std::uint64_t>>
saturating_pascal(std::size_t rows)
{
	constexpr std::uint64_t most = UINT64_MAX;
	std::vector<std::vector<std::uint64_t>> triangle(rows);

	for (std::size_t row = 0; row < rows; row++) {
		triangle[row].assign(row + 1, 1);
		for (std::size_t column = 1; column < row; column++) {
			const std::uint64_t a = triangle[row - 1][column - 1];
			const std::uint64_t b = triangle[row - 1][column];
			triangle[row][column] = a > most - b ? most : a + b;
		}
	}
	return triangle;
}

std::string
brute_force_lines(int k, const std::vector<std::string> &items)
{
	std::string lines;
	for (const std::vector<std::size_t> &tuple :
	    brute_force_positions(k, items.size())) {
		for (std::size_t position : tuple)
			lines += items[position] + " ";
		lines += "\n";
	}
	return lines;
}

std::vector<std::string>
with_items(const std::string &k, int n)
{
	std::vector<std::string> words = {k};
	for (int i = 0; i < n; i++)
		words.push_back(std::string(1, static_cast<char>('a' + i % 26)) +
		    (i >= 26 ? std::to_string(i) : ""));
	return words;
}

} // namespace testing_support
