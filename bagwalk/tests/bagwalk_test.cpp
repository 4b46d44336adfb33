// bagwalk run as users run it: exact stdout, stderr and exit status.

#include "oracle.hpp"
#include "run_program.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstddef>
#include <string>
#include <vector>

namespace {

using testing_support::brute_force_lines;
using testing_support::output;
using testing_support::run_options;
using testing_support::run_program;
using testing_support::run_result;
using testing_support::with_items;
using args = std::vector<std::string>;

const std::string bagwalk = BAGWALK_PATH;
const std::string baglist = BAGLIST_PATH;
const std::string usage = "usage: ./bagwalk k item_1 ... item_n\n";

run_result
run(const args &arguments, const run_options &options = {})
{
	return run_program(bagwalk, arguments, options);
}

// repeated is copies of text, each followed by a space.
std::string
repeated(const std::string &text, std::size_t copies)
{
	std::string line;
	for (std::size_t i = 0; i < copies; i++)
		line += text + " ";
	return line;
}

TEST(Bagwalk, WritesTheListing)
{
	const std::string long_item(100000, 'x');
	const std::string longer_than_a_block(5000, 'y');
	const struct {
		args arguments;
		std::string out;
	} cases[] = {
		{{"2", "a", "b", "c"}, "a a \na b \na c \nb b \nb c \nc c \n"},
		{{"3", "a", "b"}, "a a a \na a b \na b b \nb b b \n"},
		{{"1", "a", "a"}, "a \na \n"},
		{{"2", "a", "a"}, "a a \na a \na a \n"},
		{{"3", "x"}, "x x x \n"},
		{{"0", "a"}, "\n"},
		{{"-1", "a"}, "\n"},
		{{"-2147483648", "a", "b"}, "\n"},
		{{"two", "a", "b"}, "\n"},
		{{"2x", "a", "b"}, "a a \na b \nb b \n"},
		{{" \t+1", "-n", "--help", "-"}, "-n \n--help \n- \n"},
		{{"1", "%s%n", "%%", "%d\\n"}, "%s%n \n%% \n%d\\n \n"},
		{{"1", "two words", "line\nbreak", "\xc3\xa9\xff"},
		    "two words \nline\nbreak \n\xc3\xa9\xff \n"},
		{{"1", ""}, " \n"},
		{{"2", "", "b"}, "  \n b \nb b \n"},
		{{"2", long_item, "z"}, long_item + " " + long_item + " \n" +
		    long_item + " z \nz z \n"},
		{{"1000", "ab"}, repeated("ab", 1000) + "\n"},
		{{"1000", longer_than_a_block}, repeated(longer_than_a_block, 1000) +
		    "\n"},
	};
	for (const auto &c : cases) {
		SCOPED_TRACE(c.arguments[0].substr(0, 20) + " with " +
		    std::to_string(c.arguments.size() - 1) + " items");
		const run_result r = run(c.arguments);
		EXPECT_EQ(r.out, c.out);
		EXPECT_EQ(r.err, "");
		EXPECT_TRUE(r.exited);
		EXPECT_EQ(r.status, 0);
	}
}

TEST(Bagwalk, ShowsUsageForTooFewArguments)
{
	run_options renamed;
	renamed.argv0 = "/somewhere/else/walker";
	for (const args &arguments : {args{}, args{"2"}, args{"x"}}) {
		for (const run_options &options : {run_options{}, renamed}) {
			SCOPED_TRACE(std::to_string(arguments.size()) + " arguments as " +
			    options.argv0.value_or(bagwalk));
			const run_result r = run(arguments, options);
			EXPECT_EQ(r.out, usage);
			EXPECT_EQ(r.err, "");
			EXPECT_TRUE(r.exited);
			EXPECT_EQ(r.status, 0);
		}
	}
}

TEST(Bagwalk, MatchesBruteForce)
{
	const struct {
		int k;
		args items;
	} cases[] = {
		{3, {"a", "bb", "a", ""}},
		{4, {"x", "", "y"}},
		{2, {"a", "bb", "a", "", "c d", "-x", "%s"}},
		{5, {"p", "q"}},
		{1, {"only"}},
	};
	for (const auto &c : cases) {
		SCOPED_TRACE("k = " + std::to_string(c.k) + " with " +
		    std::to_string(c.items.size()) + " items");
		args arguments = {std::to_string(c.k)};
		arguments.insert(arguments.end(), c.items.begin(), c.items.end());
		const run_result r = run(arguments);
		EXPECT_EQ(r.out, brute_force_lines(c.k, c.items));
		EXPECT_EQ(r.status, 0);
	}
}

// bagwalk and baglist are two ways to the same listing.
TEST(Bagwalk, WritesWhatBaglistWrites)
{
	const args pool = {"a", "bb", "a", "", "c d", "-x", "%s"};
	for (std::size_t n = 1; n <= pool.size(); n++)
		for (int k = -1; k <= 6; k++) {
			SCOPED_TRACE("n = " + std::to_string(n) + ", k = " +
			    std::to_string(k));
			args arguments = {std::to_string(k)};
			arguments.insert(arguments.end(), pool.begin(), pool.begin() + n);
			const run_result ours = run(arguments);
			const run_result theirs = run_program(baglist, arguments);
			ASSERT_EQ(theirs.status, 0);
			EXPECT_EQ(ours.out, theirs.out);
			EXPECT_EQ(ours.err, "");
			EXPECT_EQ(ours.status, 0);
		}
	// 278,256 lines, 3 MB: many times what bagwalk gathers before a write.
	const args arguments = with_items("5", 30);
	const run_result ours = run(arguments);
	const run_result theirs = run_program(baglist, arguments);
	ASSERT_EQ(theirs.status, 0);
	EXPECT_EQ(ours.out.size(), theirs.out.size());
	EXPECT_TRUE(ours.out == theirs.out);
	EXPECT_EQ(ours.status, 0);
}

// The kinds of stdout that cannot be written, for a listing that fits in
// one buffer and for one that does not.
TEST(Bagwalk, ReportsWriteErrors)
{
	const struct {
		const char *name;
		output to;
		std::string err;
	} cases[] = {
		{"/dev/full", output::dev_full,
		    "bagwalk: stdout: No space left on device\n"},
		{"closed stdout", output::closed,
		    "bagwalk: stdout: Bad file descriptor\n"},
	};
	for (const auto &c : cases)
		for (const args &arguments : {args{"2", "a", "b", "c"},
			 with_items("5", 30)}) {
			SCOPED_TRACE(std::string(c.name) + ", k = " + arguments[0]);
			run_options options;
			options.stdout_to = c.to;
			const run_result r = run(arguments, options);
			EXPECT_EQ(r.err, c.err);
			EXPECT_TRUE(r.exited);
			EXPECT_EQ(r.status, 1);
		}
}

TEST(Bagwalk, StopsWhenTheReaderGoesAway)
{
	// 68,923,264,410 lines: bagwalk must stop, not enumerate on.
	const args endless = with_items("20", 20);
	const std::string first_100_bytes = repeated("a", 20) + "\n" +
	    repeated("a", 19) + "b \n" + repeated("a", 9);
	run_options options;
	options.read_at_most = 100;
	options.timeout_seconds = 20;

	const run_result quiet = run(endless, options);
	EXPECT_FALSE(quiet.timed_out);
	EXPECT_EQ(quiet.out, first_100_bytes);
	EXPECT_EQ(quiet.err, "");
	EXPECT_FALSE(quiet.exited);
	EXPECT_EQ(quiet.signal, SIGPIPE);

	options.ignore_sigpipe = true;
	const run_result told = run(endless, options);
	EXPECT_FALSE(told.timed_out);
	EXPECT_EQ(told.out, first_100_bytes);
	EXPECT_EQ(told.err, "bagwalk: stdout: Broken pipe\n");
	EXPECT_TRUE(told.exited);
	EXPECT_EQ(told.status, 1);
}

TEST(Bagwalk, SaysSoWhenItsArraysCannotBeHad)
{
#ifdef UNDER_ASAN
	GTEST_SKIP() << "an address-space limit and AddressSanitizer do not mix";
#endif
	// k = INT_MAX takes some 16 GiB in slots alone. Past 32 bits k
	// saturates there; were it to wrap round it would be 1 or 2.
	for (const args &arguments : {args{"2147483647", "x"},
		 args{"4294967297", "x"}, args{"4294967298", "a", "b"},
		 args{"99999999999999999999", "a"}}) {
		SCOPED_TRACE(arguments[0]);
		run_options options;
		options.address_space_limit = 256u << 20;
		options.timeout_seconds = 20;
		const run_result r = run(arguments, options);
		EXPECT_FALSE(r.timed_out);
		EXPECT_EQ(r.out, "");
		EXPECT_EQ(r.err, "bagwalk: out of memory\n");
		EXPECT_TRUE(r.exited);
		EXPECT_EQ(r.status, 1);
	}
}

TEST(Bagwalk, NeedsNoMoreMemoryForMoreLines)
{
#ifdef UNDER_ASAN
	GTEST_SKIP() << "an address-space limit and AddressSanitizer do not mix";
#endif
	// 4,421,275 lines, 53 MB, in an address space of 64 MiB.
	run_options options;
	options.address_space_limit = 64u << 20;
	const run_result r = run(with_items("4", 100), options);
	EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 4421275);
	EXPECT_EQ(r.out.substr(0, 18), "a a a a \na a a b \n");
	EXPECT_EQ(r.out.substr(r.out.size() - 17), "v99 v99 v99 v99 \n");
	EXPECT_EQ(r.err, "");
	EXPECT_TRUE(r.exited);
	EXPECT_EQ(r.status, 0);
}

} // namespace
