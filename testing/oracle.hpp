// oracle.hpp: the listing worked out by brute force, for tests to hold the
// enumerator and the programs against.

#ifndef TESTING_ORACLE_HPP
#define TESTING_ORACLE_HPP

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

// brute_force_positions tries every k-tuple of positions among n items, in
// lexicographic order, and keeps those that do not decrease from slot to
// slot. For k <= 0 it is the one empty tuple; for n = 0 and k >= 1, none.
std::vector<std::vector<std::size_t>> brute_force_positions(int k,
    std::size_t n);

// saturating_pascal is Pascal's triangle, rows 0 .. rows - 1, row r holding
// columns 0 .. r: each entry a sum of two above, and a sum beyond 64 bits
// stands at UINT64_MAX, so every entry is min(C(r, column), UINT64_MAX).
std::vector<std::vector<std::uint64_t>> saturating_pascal(std::size_t rows);

// brute_force_lines is the output those tuples make: one multiset line each.
std::string brute_force_lines(int k, const std::vector<std::string> &items);

// with_items is k and then n items a, b, c, ..., a26, b27, ... as arguments.
std::vector<std::string> with_items(const std::string &k, int n);

} // namespace testing_support

#endif // TESTING_ORACLE_HPP
