// baglist: list every multiset of k items drawn from the command line,
// building the whole listing in memory before printing any of it.

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <limits>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include <unistd.h>

#include "arguments.hpp"
#include "multiset_enumerator.hpp"

using listing = std::vector<std::vector<std::string>>;

constexpr std::uint64_t most = std::numeric_limits<std::uint64_t>::max();

// usage writes the two-line usage message on stderr, flushing each line.
static int
usage(const char *name)
{
	std::cerr << "usage: " << std::endl;
	std::cerr << name << " <k> <item1> <item2> ... <itemN>  ~ n quorlex k"
		  << std::endl;
	return 1;
}

// times multiplies, saturating at UINT64_MAX.
static std::uint64_t
times(std::uint64_t a, std::uint64_t b)
{
	return b != 0 && a > most / b ? most : a * b;
}

// physical_memory is the machine's memory in bytes; unknown counts as endless.
static std::uint64_t
physical_memory()
{
	const long pages = sysconf(_SC_PHYS_PAGES);
	const long page_size = sysconf(_SC_PAGESIZE);

	if (pages <= 0 || page_size <= 0)
		return most;
	return times(static_cast<std::uint64_t>(pages),
	    static_cast<std::uint64_t>(page_size));
}

// too_large tells whether a listing of count multisets of k texts can never
// fit: even with every text inside its string, it needs one vector and k
// strings per multiset. Better to refuse at once than to thrash the machine
// or wait for the kernel's out-of-memory killer.
static bool
too_large(std::uint64_t count, std::int32_t k)
{
	const std::uint64_t slots = k > 0 ? static_cast<std::uint64_t>(k) : 0;
	const std::uint64_t per_multiset = times(slots, sizeof(std::string)) +
	    sizeof(std::vector<std::string>);

	return times(count, per_multiset) > physical_memory();
}

// print_listing writes one multiset line per multiset and flushes each.
// Returns false, with errno set, at the first write that fails.
static bool
print_listing(const listing &result)
{
	std::string line;

	for (const std::vector<std::string> &multiset : result) {
		line.clear();
		for (const std::string &item : multiset) {
			line += item;
			line += ' ';
		}
		line += '\n';
		errno = 0;
		if (!std::cout.write(line.data(), line.size()).flush()) {
			if (errno == 0)
				errno = EIO;
			return false;
		}
	}
	return true;
}

// list_multisets is baglist once its arguments are known to be enough.
static int
list_multisets(int argc, char *argv[])
{
	const std::int32_t k = read_k(argv[1]);
	const std::uint64_t count =
	    bags::multiset_coefficient(static_cast<std::uint64_t>(argc - 2), k);

	if (too_large(count, k)) {
		std::fprintf(stderr, "baglist: %llu multiset%s of %ld items "
		    "cannot fit in memory; bagwalk streams them instead\n",
		    static_cast<unsigned long long>(count), count == 1 ? "" : "s",
		    static_cast<long>(k));
		return 1;
	}
	const std::vector<std::string> items(argv + 2, argv + argc);
	const listing result = bags::enumerate_multisets(k, items);
	if (!print_listing(result)) {
		std::fprintf(stderr, "baglist: stdout: %s\n", std::strerror(errno));
		return 1;
	}
	return 0;
}

int
main(int argc, char *argv[])
{
	// Our own buffer for cout, so that each flushed line is one write(2).
	std::ios::sync_with_stdio(false);
	if (argc < 3)
		return usage(invocation_name(argc, argv));
	try {
		return list_multisets(argc, argv);
	} catch (const std::bad_alloc &) {
		std::fputs("baglist: out of memory\n", stderr);
	} catch (const std::length_error &) {
		std::fputs("baglist: the listing is too large for memory\n", stderr);
	}
	return 1;
}
